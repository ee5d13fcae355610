#pragma once
// The extension of a file name: its last dot that is followed by no blank
// and no directory separator.
#include "platform/win32.h"

// Points at that dot, or at the terminating zero when there is none.
const char* FileExtension(const char* name);
char* FileExtension(char* name);
