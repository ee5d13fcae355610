#pragma once
// One value in REGEDIT4 text: "name"="text", "name"=dword:0000002a,
// "name"=hex:01,02 (binary), "name"=hex(N):.. (any other type, N in hex),
// "name"=- (deletion); @ names the default value.
#include <string>

#include "platform/types.h"

namespace lumorareg {

// False when a name cannot be written on one line (a line break in it).
bool FormatValue(const std::string& name, DWORD type, const std::string& data, std::string& line);

struct ParsedValue {
    std::string name;
    bool remove = false;
    DWORD type = 0;
    std::string data;
};

// Parses a value line whose continuation lines are already joined.  On
// failure error says what is wrong.
bool ParseValue(const std::string& line, ParsedValue& value, std::string& error);

}  // namespace lumorareg
