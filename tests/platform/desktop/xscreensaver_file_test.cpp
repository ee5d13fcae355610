// Edits of xscreensaver's user file: every line of the user's stays as it
// was, and the removal finds the entry however xscreensaver's settings laid
// the file out since.
#include <gtest/gtest.h>

#include <string>

#include "platform/desktop/xscreensaver_file.h"

namespace {

using namespace platform::xscreensaver;

const std::string Entry = "\"Lumora\" \"/x y/L.SCR\" -root";

TEST(XScreenSaverFile, TheEntryJoinsTheListAndComesOutAgainLeavingTheUsersLaterChoice) {
    const std::string users =
        "! programs: in a comment\n"
        "mode:   random\n"
        "programs: \\\n"
        "  a -root \\n\\\n"
        "  - GL: b -root \\n\\\n"
        "  c -root\n"
        "dpmsEnabled: False\n";
    std::string text = users;
    ProgramEdit edit;
    ASSERT_TRUE(AddProgram(text, Entry, edit));
    // Before the last entry, which has no "\n" to follow: the third.
    EXPECT_EQ(text,
              "! programs: in a comment\n"
              "mode:\t\tone\n"
              "programs: \\\n"
              "  a -root \\n\\\n"
              "  - GL: b -root \\n\\\n"
              "  " + Entry + "\t\\n\\\n"
              "  c -root\n"
              "dpmsEnabled: False\n"
              "selected:\t2\n");

    // The settings program rewrote the entry's line and the user chose the
    // first program since: that choice is the user's and stays.
    text.replace(text.find("  " + Entry), Entry.size() + 2, "\t\t\"Lumora\"  \"/x y/L.SCR\"\t-root  ");
    text.replace(text.find("selected:\t2"), 11, "selected: 0");
    RemoveProgram(text, edit);
    EXPECT_EQ(text, users + "selected: 0\n");

    // As xscreensaver's settings save it after a display was chosen: the
    // name dropped, arguments added, the line wrapped inside the quotes.
    text = users;
    ASSERT_TRUE(AddProgram(text, Entry, edit));
    text.replace(text.find("  " + Entry), Entry.size() + 2,
                 "\t\t\t\t\"/x y/L.SCR\" -root -saved-display '[D]     \\\n\t\t\t\t  Plasma'\t\t");
    RemoveProgram(text, edit);
    EXPECT_EQ(text, users);

    // Untouched since: everything comes back.
    text = users;
    ASSERT_TRUE(AddProgram(text, Entry, edit));
    RemoveProgram(text, edit);
    EXPECT_EQ(text, users);
}

TEST(XScreenSaverFile, AMissingListIsOursAloneAndAListOnOneLineIsNotRewritten) {
    std::string text;
    ProgramEdit edit;
    ASSERT_TRUE(AddProgram(text, Entry, edit));
    EXPECT_EQ(text, "programs:\t\\\n  " + Entry + "\t\\n\\\n\nmode:\t\tone\nselected:\t0\n");
    RemoveProgram(text, edit);
    EXPECT_EQ(text, "");

    const std::string oneLine = "timeout: 0:10:00\nprograms: a -root \\n b -root\nmode: one\n";
    text = oneLine;
    EXPECT_FALSE(AddProgram(text, Entry, edit));
    EXPECT_EQ(text, oneLine);

    // The path quoted for the shell where it needs quotes, then its
    // backslashes doubled for the resource; a line break cannot be written.
    EXPECT_EQ(ProgramEntry("Lumora", "/a b/\"q\"$x\\y", "-root"), "\"Lumora\" \"/a b/\\\\\"q\\\\\"\\\\$x\\\\\\\\y\" -root");
    EXPECT_EQ(ProgramEntry("Lumora", "/a\nb", "-root"), "");
    EXPECT_EQ(ProgramEntry("Lumora", "/usr/LUMORA.SCR", "-root"), "\"Lumora\" /usr/LUMORA.SCR -root");
}

}  // namespace
