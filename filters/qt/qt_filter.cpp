// "QTIMP32.FLT": the import filter over Qt's image readers.
#include "filters/common/filter_import.h"
#include "filters/qt/qt_decode.h"

LUMORA_IMPORT_FILTER(filter::DecodeWithQt)
