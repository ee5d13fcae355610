#pragma once
// Little-endian numbers of file and interface records, whatever the host
// order.  Callers check the bounds first.
#include "platform/types.h"

namespace platform {

inline WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
inline DWORD ReadDword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}
inline void WriteWord(BYTE* p, WORD v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}
inline void WriteDword(BYTE* p, DWORD v) {
    WriteWord(p, static_cast<WORD>(v));
    WriteWord(p + 2, static_cast<WORD>(v >> 16));
}

}  // namespace platform
