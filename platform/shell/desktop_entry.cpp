#include <fstream>
#include <string>
#include <sys/stat.h>

#include "platform/kernel/kernel.h"
#include "platform/shell/shell.h"

namespace {

// A line break in a value would start a new key.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

namespace platform {

std::string DesktopExecQuoted(const std::string& program) {
    // Plain when nothing in it needs quotes: simple launchers (xdg-open's
    // own) take the first word of the key as the program, quotes and all.
    if (program.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) {
        std::string plain;
        for (char c : program) plain += c == '%' ? std::string("%%") : std::string(1, c);
        return plain;
    }
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '\\') quoted += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$') quoted += std::string("\\\\") + c;
        else if (c == '%') quoted += "%%";
        else quoted += c;
    }
    return quoted + "\"";
}

BOOL WriteDesktopEntry(LPCSTR folder, LPCSTR file, LPCSTR name, LPCSTR program) {
    if (!folder || !file || !name || !program || !*folder || !*file || !*program) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = std::string(folder) + "/" + file + ".desktop";
    {
        std::ofstream entry(path, std::ios::trunc);
        entry << "[Desktop Entry]\n"
              << "Type=Application\n"
              << "Name=" << OneLine(name) << "\n"
              << "Exec=" << OneLine(DesktopExecQuoted(program)) << "\n"
              << "Terminal=false\n";
        if (!entry.flush()) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
    }
    chmod(path.c_str(), 0755);
    return TRUE;
}

}  // namespace platform
