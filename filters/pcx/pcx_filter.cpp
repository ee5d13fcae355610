// "PCXIMP32.FLT": the PC Paintbrush import filter.
#include "filters/common/filter_import.h"
#include "filters/pcx/pcx_decode.h"

LUMORA_IMPORT_FILTER(filter::DecodePcx)
