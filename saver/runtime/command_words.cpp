#include "saver/runtime/command_words.h"

#include <cstring>
#include <string>

namespace {

// Copies the word when it fits; FALSE (and an empty buffer) when it does not.
BOOL CopyWord(const std::string& word, char (&buffer)[CommandWordBytes]) {
    std::memset(buffer, 0, sizeof buffer);
    if (word.size() >= sizeof buffer) return FALSE;
    std::memcpy(buffer, word.data(), word.size());
    return TRUE;
}

}  // namespace

void SplitCommandLine(CommandWords* words) {
    std::array<std::string, 3> given = platform::CommandLineWords();
    CopyWord(given[0], words->program);
    CopyWord(given[1], words->option);
    words->argumentTooLong = !CopyWord(given[2], words->argument);
}
