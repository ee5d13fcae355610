#include "platform/ui/scripted.h"

#include <algorithm>
#include <filesystem>

#include "platform/ui/backend.h"
#include "platform/ui/ui.h"

namespace platform {

class ScriptedUi::Backend final : public UiBackend {
public:
    explicit Backend(ScriptedUi& ui) : ui_(ui) {}

    int messageBox(const MessageBoxRequest& request) override {
        std::lock_guard lock(ui_.mutex_);
        ui_.boxes_.push_back(request);
        std::string what = "message box \"" + request.caption + "\": \"" + request.text + "\"";
        if (ui_.boxAnswers_.empty()) throw UnscriptedQuestion("no scripted answer for the " + what);
        int answer = ui_.boxAnswers_.front();
        ui_.boxAnswers_.erase(ui_.boxAnswers_.begin());
        std::vector<int> offered = messageBoxAnswers(request.type);
        if (std::find(offered.begin(), offered.end(), answer) == offered.end())
            throw UnscriptedQuestion("scripted answer " + std::to_string(answer) +
                                     " is not a button of the " + what);
        return answer;
    }

    FileDialogAnswer fileDialog(const FileDialogRequest& request) override {
        std::lock_guard lock(ui_.mutex_);
        ui_.dialogs_.push_back(request);
        std::string what = std::string(request.save ? "save" : "open") + " dialog \"" +
                           request.title + "\" for \"" + request.initialFile + "\"";
        if (ui_.dialogAnswers_.empty()) throw UnscriptedQuestion("no scripted answer for the " + what);
        FileDialogAnswer answer = ui_.dialogAnswers_.front();
        ui_.dialogAnswers_.erase(ui_.dialogAnswers_.begin());
        if (answer.paths.size() > 1 && !(request.flags & OFN_ALLOWMULTISELECT))
            throw UnscriptedQuestion("several files scripted for the single-selection " + what);
        if (answer.confirmed && answer.filterIndex == 0 && !request.filters.empty())
            answer.filterIndex = request.filterIndex == 0 ? 1 : request.filterIndex;
        return answer;
    }

    void beep(UINT type) override {
        std::lock_guard lock(ui_.mutex_);
        ui_.beeps_.push_back(type);
    }

    bool openDocument(const std::string& path) override {
        std::lock_guard lock(ui_.mutex_);
        ui_.documents_.push_back(path);
        return true;
    }

private:
    ScriptedUi& ui_;
};

ScriptedUi::ScriptedUi() : backend_(std::make_unique<Backend>(*this)) { setUiOverride(backend_.get()); }

ScriptedUi::~ScriptedUi() { setUiOverride(nullptr); }

void ScriptedUi::answerNextMessageBox(int answer) {
    std::lock_guard lock(mutex_);
    boxAnswers_.push_back(answer);
}

void ScriptedUi::pickFiles(std::vector<std::string> paths, DWORD filterIndex) {
    if (paths.empty()) throw std::invalid_argument("pickFiles needs at least one path");
    FileDialogAnswer answer;
    answer.confirmed = true;
    answer.filterIndex = filterIndex;
    for (const std::string& path : paths) {
        std::filesystem::path absolute = std::filesystem::absolute(path).lexically_normal();
        if (!answer.paths.empty() &&
            absolute.parent_path() != std::filesystem::path(answer.paths.front()).parent_path())
            throw std::invalid_argument("files picked together must share one directory");
        answer.paths.push_back(absolute.string());
    }
    std::lock_guard lock(mutex_);
    dialogAnswers_.push_back(std::move(answer));
}

void ScriptedUi::cancelNextDialog() {
    std::lock_guard lock(mutex_);
    dialogAnswers_.push_back(FileDialogAnswer{});
}

std::vector<MessageBoxRequest> ScriptedUi::messageBoxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<FileDialogRequest> ScriptedUi::fileDialogs() const {
    std::lock_guard lock(mutex_);
    return dialogs_;
}

std::vector<UINT> ScriptedUi::beeps() const {
    std::lock_guard lock(mutex_);
    return beeps_;
}

std::vector<std::string> ScriptedUi::openedDocuments() const {
    std::lock_guard lock(mutex_);
    return documents_;
}

std::size_t ScriptedUi::unusedMessageBoxAnswers() const {
    std::lock_guard lock(mutex_);
    return boxAnswers_.size();
}

std::size_t ScriptedUi::unusedDialogAnswers() const {
    std::lock_guard lock(mutex_);
    return dialogAnswers_.size();
}

}  // namespace platform
