// The bitmap dialog as the Bitmap module's page uses it, answered by the
// scripted UI.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ui/scripted.h"
#include "platform/win32.h"
#include "saver/images/choose_bitmap_file.h"
#include "saver/images/choose_file.h"
#include "support/temp_dir.h"

namespace {

class ChooseBitmapFileTest : public testing::Test {
protected:
    void SetUp() override { RememberedDirectory[0] = 0; }
    void TearDown() override {
        std::filesystem::current_path(cwd_);
        RememberedDirectory[0] = 0;
    }
    testsupport::TempDir dir_;
    std::filesystem::path cwd_ = std::filesystem::current_path();
    platform::ScriptedUi ui_;
};

TEST_F(ChooseBitmapFileTest, ListsEveryImportableTypeAndOpensInAGivenDirectory) {
    const std::string chosen = dir_.str() + "/Sea.png";
    ui_.pickFiles({chosen});
    char buffer[BitmapFileBufferSize] = "";
    ASSERT_EQ(ChooseBitmapFile(buffer, dir_.str().c_str(), FALSE), 1);
    EXPECT_STREQ(buffer, chosen.c_str());
    EXPECT_STREQ(RememberedDirectory, dir_.str().c_str());

    ui_.cancelNextDialog();
    EXPECT_EQ(ChooseBitmapFile(buffer, "/nowhere/Old.bmp", TRUE), 0);

    auto dialogs = ui_.fileDialogs();
    ASSERT_EQ(dialogs.size(), 2u);
    const platform::FileDialogRequest& open = dialogs[0];
    ASSERT_GE(open.filters.size(), 4u);
    EXPECT_EQ(open.filters[0].description, "Graphics files");
    for (const char* pattern : {"*.bmp;", "*.jpg;", "*.pcx;", "*.png;"})
        EXPECT_NE(open.filters[0].patterns.find(pattern), std::string::npos) << pattern;
    EXPECT_EQ(open.filters[1].patterns, "*.BMP;*.DIB;*.RLE");
    EXPECT_EQ(open.filters[2].description, "Animations (*.1)");
    EXPECT_EQ(open.filters.back().description, "All files (*.*)");
    EXPECT_EQ(open.initialDirectory, dir_.str());
    EXPECT_EQ(open.initialFile, "") << "a directory proposes no name";
    EXPECT_EQ(open.title, "Open Bitmap");
    EXPECT_EQ(open.maxFile, BitmapFileBufferSize);
    EXPECT_EQ(open.flags,
              OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_SHOWHELP);

    const platform::FileDialogRequest& save = dialogs[1];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.title, "Save Bitmap");
    EXPECT_EQ(save.initialFile, "/nowhere/Old.bmp");
    EXPECT_EQ(save.flags, OFN_EXPLORER | OFN_SHOWHELP | OFN_OVERWRITEPROMPT);
}

}  // namespace
