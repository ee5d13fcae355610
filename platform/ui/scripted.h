#pragma once
// A user interface that answers from a script, for tests: while a ScriptedUi
// exists, MessageBoxA, GetOpenFileNameA, GetSaveFileNameA, MessageBeep and
// the browser that WinHelpA opens touch no Qt at all.  Every request is recorded so a test can assert what
// the user would have seen.
//
//     platform::ScriptedUi ui;
//     ui.answerNextMessageBox(IDNO);
//     ui.pickFiles({"/tmp/dir/Night Sky.LUM"});
//     ... code under test ...
//     EXPECT_EQ(ui.messageBoxes().at(0).caption, "...");
//
// Answers are used in the order they were given, message boxes and dialogs
// each from their own queue.  A message box or dialog with no answer left,
// an answer the box does not offer, or several files for a dialog without
// OFN_ALLOWMULTISELECT throws UnscriptedQuestion from the call that asked
// (after recording it), so the test fails with the question in the message.
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/requests.h"

namespace platform {

class UnscriptedQuestion : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class ScriptedUi {
public:
    // Installs this script; only one may be installed at a time
    // (std::logic_error otherwise).
    ScriptedUi();
    ~ScriptedUi();
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    void answerNextMessageBox(int answer);
    // Confirms the next file dialog with these paths (relative ones are
    // taken from the current directory).  Several paths must share one
    // directory.  filterIndex 0 keeps the dialog's filter index.
    void pickFiles(std::vector<std::string> paths, DWORD filterIndex = 0);
    void cancelNextDialog();

    std::vector<MessageBoxRequest> messageBoxes() const;
    std::vector<FileDialogRequest> fileDialogs() const;
    std::vector<UINT> beeps() const;
    // The pages shown in the browser, as paths.
    std::vector<std::string> openedDocuments() const;
    // Answers given but not asked for yet.
    std::size_t unusedMessageBoxAnswers() const;
    std::size_t unusedDialogAnswers() const;

private:
    class Backend;
    friend class Backend;

    mutable std::mutex mutex_;
    std::vector<int> boxAnswers_;
    std::vector<FileDialogAnswer> dialogAnswers_;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<FileDialogRequest> dialogs_;
    std::vector<UINT> beeps_;
    std::vector<std::string> documents_;
    std::unique_ptr<Backend> backend_;
};

}  // namespace platform
