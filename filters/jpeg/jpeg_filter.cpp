// "JPEGIM32.FLT": the JPEG import filter.
#include "filters/common/filter_import.h"
#include "filters/jpeg/jpeg_decode.h"

LUMORA_IMPORT_FILTER(filter::DecodeJpeg)
