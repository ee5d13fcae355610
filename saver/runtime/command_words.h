#pragma once
// The program's command line as the saver sees it: three words (program,
// switch, argument), each held in a buffer of 260 bytes.
#include "platform/win32.h"

constexpr DWORD CommandWordBytes = MAX_PATH;

struct CommandWords {
    char program[CommandWordBytes];
    char option[CommandWordBytes];
    char argument[CommandWordBytes];
    // A word that did not fit its buffer is left empty and flagged here: a
    // truncated settings-file path would name another file.
    BOOL argumentTooLong;
};

void SplitCommandLine(CommandWords* words);
