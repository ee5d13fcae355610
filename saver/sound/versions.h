#pragma once
// Version records in the registry: the saver's own, and the spectrum
// analyser's, which tells whether a compatible analyser is installed.
#include "platform/win32.h"

constexpr WORD SaverMajorVersion = 3;
constexpr WORD SaverMinorVersion = 6;
constexpr WORD SaverBuildNumber = 465;

// The only analyser version the saver works with: 3.2.
constexpr WORD AnalyserMajorVersion = 3;
constexpr WORD AnalyserMinorVersion = 2;
constexpr DWORD CompatibleAnalyserVersion = AnalyserMajorVersion * 65536 + AnalyserMinorVersion;

constexpr char SaverVersionKey[] = "Software\\Lumora";
constexpr char AnalyserVersionKey[] = "Software\\Tonalyx";
constexpr char CurrentVersionValue[] = "Current Version";
constexpr char BuildValue[] = "Build";

// A 32-bit value under HKEY_CURRENT_USER.  Reading creates the key when it is
// missing and gives 0 when the value is missing or is not a 32-bit value.
DWORD ReadUserDword(LPCSTR keyPath, LPCSTR valueName);
// TRUE when the value was written.
BOOL WriteUserDword(LPCSTR keyPath, LPCSTR valueName, DWORD value);

// The analyser's packed version (major * 65536 + minor), 0 when it is not
// installed; its build number (low 16 bits of "Build") goes to `build` when
// that is not null.
DWORD ReadAnalyserVersion(DWORD* build);

// Records the saver's version: "Current Version" = major * 65536 + minor and
// "Build" = build under "Software\Lumora".
void WriteSaverVersion(WORD major, WORD minor, WORD build);
