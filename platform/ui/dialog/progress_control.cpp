// PROGRESS_CLASSA: a bar from its minimum (default 0) to its maximum
// (default 100), stepping by 10 unless told otherwise.
#include <algorithm>

#include <QProgressBar>

#include "platform/ui/dialog/controls.h"

namespace platform::dialog {

namespace {

class ProgressControl final : public UiWindow {
public:
    explicit ProgressControl(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        bar_ = new QProgressBar(ParentWidget(params.parent));
        bar_->setTextVisible(false);
        bar_->setRange(0, 100);
        bar_->setValue(0);
        attachWidget(bar_);
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        int old = bar_->value();
        switch (message) {
        case PBM_SETRANGE: {
            int oldRange = MAKELONG(static_cast<WORD>(bar_->minimum()), static_cast<WORD>(bar_->maximum()));
            setRange(LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam)));
            return oldRange;
        }
        case PBM_SETRANGE32: {
            int oldRange = MAKELONG(static_cast<WORD>(bar_->minimum()), static_cast<WORD>(bar_->maximum()));
            setRange(static_cast<int>(static_cast<LONG>(wParam)), static_cast<int>(static_cast<LONG>(lParam)));
            return oldRange;
        }
        case PBM_SETPOS: setPosition(static_cast<LONG>(wParam)); return old;
        case PBM_DELTAPOS: setPosition(static_cast<long long>(old) + static_cast<LONG>(wParam)); return old;
        case PBM_SETSTEP: {
            int oldStep = step_;
            step_ = static_cast<int>(static_cast<LONG>(wParam));
            return oldStep;
        }
        case PBM_STEPIT: {
            // Past the maximum the bar starts again from the minimum.
            long long next = static_cast<long long>(old) + step_;
            if (next > bar_->maximum()) next = bar_->minimum();
            setPosition(next);
            return old;
        }
        case PBM_GETPOS: return old;
        default: return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return {}; }
    void setText(const std::string&) override {}

private:
    void setRange(int low, int high) { bar_->setRange(low, std::max(low, high)); }
    void setPosition(long long position) {
        bar_->setValue(static_cast<int>(std::clamp<long long>(position, bar_->minimum(), bar_->maximum())));
    }

    QProgressBar* bar_;
    int step_ = 10;
};

}  // namespace

std::unique_ptr<UiWindow> CreateProgressControl(const ControlParams& params) { return std::make_unique<ProgressControl>(params); }

}  // namespace platform::dialog
