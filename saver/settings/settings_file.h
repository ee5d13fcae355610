#pragma once
// Settings files (".LUM"): a saved display's registry subtree dumped value by
// value, so that importing recreates it exactly.
//
// Layout, every number unsigned 32-bit little-endian: the mark 00 42 00 42,
// then one record per value to the end of the file: key-path length, key
// path (relative to the display key, components joined by '\', zero-
// terminated; empty for the display key's own values), name length, value
// name (zero-terminated), type, data size, data.  Records follow a
// depth-first walk: a key's values in enumeration order, then each subkey.
#include <string>
#include <vector>

#include "platform/win32.h"

// Limits of a record on import, terminating zeros included.
constexpr DWORD MaxRecordPathBytes = 260;
constexpr DWORD MaxRecordDataBytes = 1024;

// Registers ".LUM" and its open command and icon with the shell under
// HKEY_CLASSES_ROOT; the icon is the given saver path (the running program's
// when null) with ",2".  Returns 1.
BOOL RegisterSettingsFileType(const char* saverPath);

// Dumps the key (a path under HKEY_CURRENT_USER) into the file, replacing
// it.  1 when the key could be opened and the whole file written; a key that
// cannot be opened leaves a file holding only the mark.
BOOL WriteSettingsFile(const char* keyPath, const char* fileName);

// Replaces the display with the file's records.  The whole file is read and
// checked first (the mark, every record complete, key path and value name
// within 260 bytes and zero-terminated, data within 1024 bytes): a file that
// fails changes nothing and gives 0, so a truncated or corrupt file never
// costs the display it would have replaced.  Then the old display is deleted
// and the records stored in one registry transaction.  0 also when the file
// is missing or a record's key could not be created (the others are stored).
BOOL ReadSettingsFile(const char* displayName, const char* fileName);

// The display name as a file name: every character but letters, digits and
// "$%'-_@ ~`!(){.}^#&+,;=[]" becomes '_'.
std::string ProposedFileName(const char* displayName);

// Asks for a file name (proposing the display's) and writes the display to
// it.  0 when cancelled, when the name can be no display's, or when the file
// could not be written.
BOOL ExportDisplay(const char* displayName);

// Imports the file as the display named by its base name (written to
// displayName), asking before it replaces an existing display, and adds the
// name to the display list when it is not there.  1 when imported.
BOOL ImportSettingsFile(std::vector<std::string>* displayList, const char* path, std::string* displayName);

// Lets the user pick one or several settings files and imports each.  0 when
// cancelled, else 1 (a single file: its import's result).
BOOL ImportSettings(std::vector<std::string>* displayList, std::string* displayName);
