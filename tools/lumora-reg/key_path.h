#pragma once
// Full key names as the tool takes and prints them: a root name
// (HKEY_CURRENT_USER or HKCU, HKEY_LOCAL_MACHINE or HKLM, HKEY_CLASSES_ROOT
// or HKCR) and a "\"-separated path below it.
#include <string>

#include "platform/registry/registry.h"

namespace lumorareg {

struct KeyPath {
    HKEY root = nullptr;
    std::string rootName;  // the long form
    std::string sub;       // without leading or trailing separators; empty for the root

    std::string Full() const { return sub.empty() ? rootName : rootName + "\\" + sub; }
    KeyPath Child(const std::string& name) const;
};

// False when the text does not start with a known root name.
bool ParseKeyPath(const std::string& text, KeyPath& key);

// A short English reason for a registry result, with its number.
std::string ErrorText(LONG code);

}  // namespace lumorareg
