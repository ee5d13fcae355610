#pragma once
// Win32 views of a file's status: attributes, times and find records.
#include <string>
#include <sys/stat.h>

#include "platform/kernel/kernel.h"

namespace platform::kernel {

DWORD AttributesOf(const struct stat& info);
void FillFindData(const struct stat& info, const std::string& name, WIN32_FIND_DATAA& data);

// Case-insensitive '*' and '?' matching of one name against a mask.
bool MaskMatches(const std::string& mask, const std::string& name);

}  // namespace platform::kernel
