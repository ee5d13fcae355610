// Message boxes and beeps through the scripted UI, and how the script
// reports questions that a test did not expect.
#include <gtest/gtest.h>

#include "platform/ui/scripted.h"
#include "platform/win32.h"

namespace {

TEST(ScriptedMessageBox, AnswersInOrderAndRecordsWhatWasShown) {
    platform::ScriptedUi ui;
    ui.answerNextMessageBox(IDNO);
    ui.answerNextMessageBox(IDOK);

    EXPECT_EQ(MessageBoxA(nullptr, "Remove?", "UnInstall", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);

    auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Remove?");
    EXPECT_EQ(boxes[0].caption, "UnInstall");
    EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(boxes[1].text, "");
    EXPECT_EQ(boxes[1].caption, "Error");
    EXPECT_EQ(ui.unusedMessageBoxAnswers(), 0u);
}

TEST(ScriptedMessageBox, UnexpectedQuestionsFailLoudly) {
    platform::ScriptedUi ui;
    EXPECT_THROW(MessageBoxA(nullptr, "Proceed?", "Question", MB_YESNO), platform::UnscriptedQuestion);
    ui.answerNextMessageBox(IDCANCEL);
    EXPECT_THROW(MessageBoxA(nullptr, "Proceed?", "Question", MB_YESNO), platform::UnscriptedQuestion);
    EXPECT_EQ(ui.messageBoxes().size(), 2u);

    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = MAX_PATH;
    EXPECT_THROW(GetOpenFileNameA(&ofn), platform::UnscriptedQuestion);
    ui.pickFiles({"/tmp/a", "/tmp/b"});
    EXPECT_THROW(GetOpenFileNameA(&ofn), platform::UnscriptedQuestion) << "two files without multiple selection";
    EXPECT_THROW(ui.pickFiles({"/tmp/a", "/var/b"}), std::invalid_argument);
}

TEST(ScriptedMessageBox, UnknownButtonSetIsRefusedWithoutAsking) {
    platform::ScriptedUi ui;
    SetLastError(0);
    EXPECT_EQ(MessageBoxA(nullptr, "x", "y", 0x2 /* abort, retry, ignore */), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST(ScriptedUi, RecordsBeepsAndOnlyOneScriptAtATime) {
    platform::ScriptedUi ui;
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
    EXPECT_EQ(ui.beeps(), (std::vector<UINT>{0, MB_ICONEXCLAMATION}));
    EXPECT_THROW(platform::ScriptedUi second, std::logic_error);
}

}  // namespace
