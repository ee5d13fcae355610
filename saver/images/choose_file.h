#pragma once
// The plain open and save dialog for one file mask ("*.PAL", "*.LUM").
#include "platform/win32.h"

// Where the file dialogs open: the directory of the last file the user
// confirmed, the Windows directory before that.  Shared by every file dialog
// of the program.
extern char RememberedDirectory[MAX_PATH];

// fileBuffer holds MAX_PATH characters: the proposed name on entry, the
// choice on return (for an open dialog with several files: the directory,
// then each name, all zero-terminated, then an empty name).  Returns 1 when
// the user confirmed, 0 when cancelled.
BOOL ChooseFile(char* fileBuffer, const char* mask, BOOL save);
