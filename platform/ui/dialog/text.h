#pragma once
// The program's multi-byte text and Qt's strings, and the Win32 way of
// handing text back in a caller's buffer.
#include <algorithm>
#include <cstring>
#include <string>

#include <QString>

#include "platform/types.h"

namespace platform::dialog {

inline QString ToQt(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }
inline QString ToQt(LPCSTR text) { return text ? QString::fromLocal8Bit(text) : QString(); }
inline std::string FromQt(const QString& text) { return text.toLocal8Bit().toStdString(); }

// Copies at most maxCount - 1 characters and a terminating zero; returns the
// characters copied (0 for a missing or empty buffer).
inline int CopyText(const std::string& text, LPSTR buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    int length = static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxCount - 1)));
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

}  // namespace platform::dialog
