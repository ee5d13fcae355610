// The user's xscreensaver file as a dot-file manager keeps it: a link into
// another folder, which stays a link while the entry comes and goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/desktop/desktop.h"
#include "platform/desktop/xscreensaver_file.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DesktopRegistration, ALinkedXScreenSaverFileIsWrittenThroughAndStaysALink) {
    testsupport::ScopedHome home;
    const fs::path kept = home.path() / "dotfiles" / "xscreensaver";
    fs::create_directories(kept.parent_path());
    const std::string users = "mode: random\nprograms: \\\n  maze -root \\n\\\n  attraction -root \\n\\\n\n";
    std::ofstream(kept) << users;
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = home.path() / ".xscreensaver";
    fs::create_symlink(kept, link);

    const char* note = "Software\\LumoraTest\\XScreenSaver";
    ASSERT_TRUE(platform::AddScreenSaverProgram(
        platform::xscreensaver::ProgramEntry("Lumora", "/usr/bin/lumora", "-root"), note));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(Contents(kept).find("/usr/bin/lumora -root"), std::string::npos);
    EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(kept.string() + ".lumora-new"));

    platform::RemoveScreenSaverProgram(note);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(kept), users);
}

}  // namespace
