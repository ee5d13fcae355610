// The Win32 side of the file dialogs, answered by the scripted UI: what the
// caller's OPENFILENAMEA turns into, and what the choice turns into.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ui/scripted.h"
#include "platform/win32.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Keeps the process's current directory as it was.
class ScriptedFileDialog : public testing::Test {
protected:
    void TearDown() override { fs::current_path(cwd_); }

    void touch(const std::string& name) { std::ofstream(dir_.path() / name) << "x"; }
    std::string path(const std::string& name) const { return (dir_.path() / name).string(); }

    OPENFILENAMEA dialogFor(char* buffer, DWORD size, DWORD flags) {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "Palettes\0*.PAL; *.pal\0All files (*.*)\0*.*\0";
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = size;
        ofn.Flags = flags;
        return ofn;
    }

    testsupport::TempDir dir_;
    fs::path cwd_ = fs::current_path();
    platform::ScriptedUi ui_;
};

TEST_F(ScriptedFileDialog, RequestCarriesEverythingTheCallerAsked) {
    char buffer[MAX_PATH] = "Scratch.PAL";
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER | OFN_OVERWRITEPROMPT);
    ofn.nFilterIndex = 2;
    ofn.lpstrInitialDir = "/some/where";
    ofn.lpstrTitle = "Save Bitmap";
    ofn.lpstrDefExt = "PAL";
    ui_.cancelNextDialog();

    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    auto dialogs = ui_.fileDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    const platform::FileDialogRequest& r = dialogs[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.filters, (std::vector<platform::FileFilter>{{"Palettes", "*.PAL; *.pal"}, {"All files (*.*)", "*.*"}}));
    EXPECT_EQ(r.filterIndex, 2u);
    EXPECT_EQ(r.initialFile, "Scratch.PAL");
    EXPECT_EQ(r.initialDirectory, "/some/where");
    EXPECT_EQ(r.title, "Save Bitmap");
    EXPECT_EQ(r.flags, OFN_EXPLORER | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(r.defaultExtension, "PAL");
    EXPECT_EQ(r.maxFile, MAX_PATH);
    EXPECT_STREQ(buffer, "Scratch.PAL");  // cancel leaves the buffer alone
}

TEST_F(ScriptedFileDialog, InitialNameIsReadOnlyWithinTheBuffer) {
    char buffer[8];
    std::memset(buffer, 'A', sizeof buffer);  // no terminating zero
    OPENFILENAMEA ofn = dialogFor(buffer, sizeof buffer, OFN_EXPLORER);
    ui_.cancelNextDialog();
    GetOpenFileNameA(&ofn);
    EXPECT_EQ(ui_.fileDialogs().at(0).initialFile, "AAAAAAAA");
}

TEST_F(ScriptedFileDialog, SingleChoiceIsTheFullPathWithOffsetsAndChangesDirectory) {
    touch("Night Sky.pal");
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT);
    ui_.pickFiles({path("Night Sky.pal")}, 2);

    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    std::string chosen = path("Night Sky.pal");
    EXPECT_STREQ(buffer, chosen.c_str());
    EXPECT_STREQ(buffer + ofn.nFileOffset, "Night Sky.pal");
    EXPECT_STREQ(buffer + ofn.nFileExtension, "pal");
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_EQ(fs::current_path(), dir_.path());
}

TEST_F(ScriptedFileDialog, SeveralFilesAreTheDirectoryThenEachName) {
    touch("a.LUM");
    touch("bb.LUM");
    char buffer[MAX_PATH];
    std::memset(buffer, '#', sizeof buffer);
    buffer[0] = 0;
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER | OFN_ALLOWMULTISELECT);
    ui_.pickFiles({path("a.LUM"), path("bb.LUM")});

    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    std::string expected = dir_.str() + std::string("\0a.LUM\0bb.LUM\0\0", 15);
    EXPECT_EQ(std::string(buffer, expected.size()), expected);
    EXPECT_EQ(buffer[expected.size()], '#');
    EXPECT_EQ(ofn.nFileOffset, dir_.str().size() + 1);
    EXPECT_EQ(ofn.nFileExtension, 0);
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_EQ(fs::current_path(), dir_.path());
}

TEST_F(ScriptedFileDialog, ChoiceThatDoesNotFitFailsAndWritesNothing) {
    touch("a.LUM");
    touch("b.LUM");
    std::string single = path("a.LUM");
    for (bool several : {false, true}) {
        // Exactly one byte short: the single path needs its zero, the list
        // its final empty name.
        std::size_t needed = several ? dir_.str().size() + 1 + 6 + 6 + 1 : single.size() + 1;
        std::string buffer(needed + 16, '#');
        OPENFILENAMEA ofn = dialogFor(buffer.data(), static_cast<DWORD>(needed - 1), OFN_EXPLORER | OFN_ALLOWMULTISELECT);
        if (several)
            ui_.pickFiles({path("a.LUM"), path("b.LUM")});
        else
            ui_.pickFiles({single});
        buffer[0] = 0;

        EXPECT_FALSE(GetOpenFileNameA(&ofn)) << several;
        EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
        EXPECT_EQ(buffer.substr(1), std::string(needed + 15, '#')) << several;
        EXPECT_EQ(fs::current_path(), cwd_);

        ofn.nMaxFile = static_cast<DWORD>(needed);
        ui_.cancelNextDialog();
        EXPECT_FALSE(GetOpenFileNameA(&ofn));
        EXPECT_EQ(CommDlgExtendedError(), 0u) << "cancel clears the last error";
    }
}

TEST_F(ScriptedFileDialog, DefaultExtensionGoesOnlyOnNamesWithoutOne) {
    touch("README");
    struct Case {
        bool save;
        const char* picked;
        const char* result;
    } cases[] = {
        {true, "Scratch", "Scratch.PAL"},
        {true, "Scratch.pal", "Scratch.pal"},
        {true, "v1.2/Scratch", "v1.2/Scratch.PAL"},
        {false, "README", "README"},        // exists as typed
        {false, "Missing", "Missing.PAL"},  // the typed name does not exist
    };
    for (const Case& c : cases) {
        char buffer[MAX_PATH] = "";
        OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER);
        ofn.lpstrDefExt = "PAL";
        ui_.pickFiles({path(c.picked)});
        ASSERT_TRUE(c.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn));
        EXPECT_EQ(std::string(buffer), path(c.result)) << c.picked;
        EXPECT_EQ(std::string(buffer + ofn.nFileOffset), fs::path(c.result).filename().string());
        std::string extension = fs::path(c.result).extension().string();
        EXPECT_EQ(std::string(buffer + ofn.nFileExtension), extension.empty() ? "" : extension.substr(1));
    }
}

TEST_F(ScriptedFileDialog, MalformedRequestsFailBeforeAnyDialog) {
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER);
    ofn.lStructSize = 12;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    ofn.lStructSize = sizeof ofn;
    ofn.nMaxFile = 0;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
    EXPECT_TRUE(ui_.fileDialogs().empty());
}

TEST_F(ScriptedFileDialog, FilterListEndsAtItsEmptyString) {
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER);
    ofn.lpstrFilter = "One\0*.1\0Dangling description\0";
    ui_.cancelNextDialog();
    GetOpenFileNameA(&ofn);
    EXPECT_EQ(ui_.fileDialogs().at(0).filters, (std::vector<platform::FileFilter>{{"One", "*.1"}}));
}

}  // namespace
