#include "tools/lumora-reg/value_text.h"

#include <cctype>
#include <cstdio>
#include <strings.h>

#include "platform/registry/registry.h"

namespace lumorareg {
namespace {

// Hex lines are wrapped like regedit's: at most about 80 columns, continued
// with a backslash and an indent of two blanks.
constexpr std::size_t kWrapColumn = 76;

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// A string that reads back byte for byte from "text": one terminating zero at
// the end, no other zero, nothing that would break the line.
bool IsPlainString(const std::string& data) {
    if (data.empty() || data.back() != '\0') return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(data[i]);
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

void AppendHex(std::string& line, const std::string& data) {
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
        line += byte;
        if (i + 1 == data.size()) break;
        line += ',';
        if (line.size() - lineStart > kWrapColumn) {
            line += "\\\n  ";
            lineStart = line.size() - 2;
        }
    }
}

void SkipBlanks(const std::string& text, std::size_t& pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

// Reads "..." at pos with \\ and \" escapes; pos ends after the closing quote.
bool ReadQuoted(const std::string& text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') return false;
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) c = text[++pos];
        out += c;
    }
    return false;
}

bool ReadHexNumber(const std::string& text, DWORD& value) {
    if (text.empty() || text.size() > 8) return false;
    value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        value = value * 16 + static_cast<DWORD>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                                                           : std::tolower(c) - 'a' + 10);
    }
    return true;
}

bool ReadHexList(const std::string& text, std::string& data, std::string& error) {
    data.clear();
    std::size_t pos = 0;
    while (true) {
        SkipBlanks(text, pos);
        if (pos >= text.size()) return true;
        std::size_t end = text.find(',', pos);
        std::string item = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.pop_back();
        DWORD byte = 0;
        if (item.size() > 2 || !ReadHexNumber(item, byte)) {
            error = "bad hex byte \"" + item + "\"";
            return false;
        }
        data += static_cast<char>(byte);
        if (end == std::string::npos) return true;
        pos = end + 1;
    }
}

}  // namespace

bool FormatValue(const std::string& name, DWORD type, const std::string& data, std::string& line) {
    if (name.find_first_of("\r\n") != std::string::npos) return false;
    line = name.empty() ? "@=" : Quote(name) + "=";
    if (type == REG_SZ && IsPlainString(data)) {
        line += Quote(data.substr(0, data.size() - 1));
    } else if (type == REG_DWORD && data.size() == 4) {
        char text[16];
        DWORD value = static_cast<DWORD>(static_cast<unsigned char>(data[0])) |
                      static_cast<DWORD>(static_cast<unsigned char>(data[1])) << 8 |
                      static_cast<DWORD>(static_cast<unsigned char>(data[2])) << 16 |
                      static_cast<DWORD>(static_cast<unsigned char>(data[3])) << 24;
        std::snprintf(text, sizeof text, "dword:%08x", value);
        line += text;
    } else {
        char prefix[24];
        if (type == REG_BINARY)
            std::snprintf(prefix, sizeof prefix, "hex:");
        else
            std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
        line += prefix;
        AppendHex(line, data);
    }
    return true;
}

bool ParseValue(const std::string& line, ParsedValue& value, std::string& error) {
    std::size_t pos = 0;
    value = ParsedValue();
    if (!line.empty() && line[0] == '@') {
        ++pos;
    } else if (!ReadQuoted(line, pos, value.name)) {
        error = "expected a quoted value name or @";
        return false;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') {
        error = "expected = after the value name";
        return false;
    }
    ++pos;
    SkipBlanks(line, pos);
    std::string rest = line.substr(pos);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();

    if (rest == "-") {
        value.remove = true;
        return true;
    }
    if (!rest.empty() && rest[0] == '"') {
        std::size_t at = 0;
        if (!ReadQuoted(rest, at, value.data) || at != rest.size()) {
            error = "bad string: expected \"text\" with \\\\ and \\\" escapes";
            return false;
        }
        value.type = REG_SZ;
        value.data += '\0';
        return true;
    }
    if (strncasecmp(rest.c_str(), "dword:", 6) == 0) {
        DWORD number = 0;
        if (!ReadHexNumber(rest.substr(6), number)) {
            error = "bad dword: expected up to eight hex digits";
            return false;
        }
        value.type = REG_DWORD;
        for (int i = 0; i < 4; ++i) value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    if (strncasecmp(rest.c_str(), "hex:", 4) == 0) {
        value.type = REG_BINARY;
        return ReadHexList(rest.substr(4), value.data, error);
    }
    if (strncasecmp(rest.c_str(), "hex(", 4) == 0) {
        std::size_t close = rest.find("):", 4);
        if (close == std::string::npos || !ReadHexNumber(rest.substr(4, close - 4), value.type)) {
            error = "bad hex(type): expected a hex type number";
            return false;
        }
        return ReadHexList(rest.substr(close + 2), value.data, error);
    }
    error = "unknown value format \"" + rest + "\"";
    return false;
}

}  // namespace lumorareg
