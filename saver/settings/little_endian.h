#pragma once
// Fixed-layout numbers of registry values and settings files: signed or
// unsigned 32-bit, least significant byte first, whatever the host order.
#include "platform/win32.h"

inline void StoreLittleEndian(BYTE* out, DWORD value) {
    out[0] = static_cast<BYTE>(value);
    out[1] = static_cast<BYTE>(value >> 8);
    out[2] = static_cast<BYTE>(value >> 16);
    out[3] = static_cast<BYTE>(value >> 24);
}

inline DWORD LoadLittleEndian(const BYTE* in) {
    return static_cast<DWORD>(in[0]) | (static_cast<DWORD>(in[1]) << 8) | (static_cast<DWORD>(in[2]) << 16) |
           (static_cast<DWORD>(in[3]) << 24);
}
