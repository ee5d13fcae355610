#pragma once
// Edits of xscreensaver's user file (~/.xscreensaver, X resource syntax) that
// touch no line of the user's but the "mode:" and "selected:" lines, which
// are given back when removing.  The "programs:" resource runs over lines
// joined by a trailing backslash; its entries end with the two characters
// "\n".
#include <string>

namespace platform::xscreensaver {

// What adding a program changed, kept so that removing it undoes exactly that.
struct ProgramEdit {
    std::string entry;           // the entry as added: "Name" command arguments
    std::string modeBefore;      // the "mode:" lines replaced, empty when there were none
    std::string selectedBefore;  // the same for "selected:"
    std::string selectedOurs;    // the "selected:" line written
    bool addedList = false;      // the "programs:" resource was missing and is ours
};

// Adds the entry at the end of the programs (before a last entry that has no
// "\n" of its own) and makes it the one shown: mode one, selected its index.
// False, with the text unchanged, when the list is a single line that could
// only be extended by rewriting it.
bool AddProgram(std::string& text, const std::string& entry, ProgramEdit& edit);

// Takes the entry out again and gives "mode:" and "selected:" back where they
// still hold the values written; a list that was ours goes when it is empty.
void RemoveProgram(std::string& text, const ProgramEdit& edit);

// An entry that runs `program` with `arguments`: the name in double quotes,
// then the program, quoted for the shell xscreensaver runs it with when it
// needs quotes, its backslashes doubled for the resource syntax.  Empty when
// the path holds a line break.
std::string ProgramEntry(const std::string& name, const std::string& program, const std::string& arguments);

}  // namespace platform::xscreensaver
