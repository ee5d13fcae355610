#pragma once
// Registry names: case-insensitive (ASCII folding to upper case, the order
// Windows sorts keys in) and case-preserving.
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform::registry {

std::string Fold(std::string_view name);

// Splits a "\"-separated key path into its names.  Empty components (a
// trailing or doubled separator) are skipped; a leading separator or a name
// longer than 255 characters is ERROR_INVALID_PARAMETER.  A null path is empty.
LONG SplitKeyPath(const char* path, std::vector<std::string>& names);

// Value names: null is the default value ""; longer than 16383 characters is
// ERROR_INVALID_PARAMETER.
LONG CheckValueName(const char* name, std::string& out);

}  // namespace platform::registry
