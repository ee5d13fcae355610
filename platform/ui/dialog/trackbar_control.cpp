// TRACKBAR_CLASSA: a slider.  Every move the user makes reaches the parent as
// WM_HSCROLL (WM_VSCROLL for TBS_VERT) with its code and the trackbar's
// handle, the position already taken, so TBM_GETPOS answers the new one;
// TB_THUMBTRACK while the thumb is dragged, then TB_THUMBPOSITION, and
// TB_ENDTRACK after every move.
#include <QSlider>

#include "platform/ui/dialog/controls.h"

namespace platform::dialog {

namespace {

WORD CodeFor(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return TB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return TB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return TB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return TB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return TB_TOP;
    case QAbstractSlider::SliderToMaximum: return TB_BOTTOM;
    default: return TB_THUMBTRACK;
    }
}

class TrackbarControl final : public UiWindow {
public:
    explicit TrackbarControl(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        vertical_ = params.style & TBS_VERT;
        slider_ = new QSlider(vertical_ ? Qt::Vertical : Qt::Horizontal, ParentWidget(params.parent));
        // The minimum is at the top of a vertical trackbar, and Up moves
        // towards it.
        slider_->setInvertedAppearance(vertical_);
        slider_->setInvertedControls(vertical_);
        slider_->setRange(0, 100);
        slider_->setSingleStep(1);
        slider_->setPageStep(20);
        if (params.style & TBS_AUTOTICKS && !(params.style & TBS_NOTICKS)) {
            QSlider::TickPosition ticks = params.style & TBS_BOTH ? QSlider::TicksBothSides
                                          : params.style & TBS_TOP ? QSlider::TicksAbove
                                                                 : QSlider::TicksBelow;
            slider_->setTickPosition(ticks);
            slider_->setTickInterval(1);
        }
        attachWidget(slider_);
        WidgetBridge* link = bridge();
        QObject::connect(slider_, &QAbstractSlider::actionTriggered, link, [link](int action) {
            if (auto* self = static_cast<TrackbarControl*>(link->owner)) self->moved(action);
        });
        QObject::connect(slider_, &QAbstractSlider::sliderReleased, link, [link] {
            if (auto* self = static_cast<TrackbarControl*>(link->owner)) self->released();
        });
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case TBM_GETPOS: return slider_->value();
        case TBM_GETRANGEMIN: return slider_->minimum();
        case TBM_GETRANGEMAX: return slider_->maximum();
        case TBM_SETPOS: slider_->setValue(static_cast<int>(static_cast<LONG>(lParam))); return 0;
        case TBM_SETRANGE:
            setRange(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam))),
                     static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam))));
            return 0;
        case TBM_SETRANGEMIN: setRange(static_cast<int>(static_cast<LONG>(lParam)), slider_->maximum()); return 0;
        case TBM_SETRANGEMAX: setRange(slider_->minimum(), static_cast<int>(static_cast<LONG>(lParam))); return 0;
        case TBM_SETTICFREQ: slider_->setTickInterval(std::max(1, static_cast<int>(static_cast<LONG>(wParam)))); return 0;
        case TBM_SETPAGESIZE: {
            int old = slider_->pageStep();
            slider_->setPageStep(std::max(1, static_cast<int>(static_cast<LONG>(lParam))));
            pageSizeSet_ = true;
            return old;
        }
        case TBM_SETLINESIZE: {
            int old = slider_->singleStep();
            slider_->setSingleStep(std::max(1, static_cast<int>(static_cast<LONG>(lParam))));
            return old;
        }
        default: return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return {}; }
    void setText(const std::string&) override {}

private:
    // Windows' page is a fifth of the range until the parent sets one.
    void setRange(int low, int high) {
        slider_->setRange(low, std::max(low, high));
        if (!pageSizeSet_) slider_->setPageStep(std::max(1, (slider_->maximum() - slider_->minimum()) / 5));
    }

    void moved(int action) {
        // Qt takes the new position only after this signal: take it now, so
        // the parent reads it.
        slider_->setValue(slider_->sliderPosition());
        WORD code = CodeFor(action);
        notify(code);
        if (code != TB_THUMBTRACK) notify(TB_ENDTRACK);
    }

    void released() {
        notify(TB_THUMBPOSITION);
        notify(TB_ENDTRACK);
    }

    void notify(WORD code) {
        WORD position = code == TB_THUMBTRACK || code == TB_THUMBPOSITION ? static_cast<WORD>(slider_->value()) : 0;
        sendToParent(vertical_ ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
                     reinterpret_cast<LPARAM>(handle()));
    }

    QSlider* slider_;
    bool vertical_ = false;
    bool pageSizeSet_ = false;
};

}  // namespace

std::unique_ptr<UiWindow> CreateTrackbarControl(const ControlParams& params) { return std::make_unique<TrackbarControl>(params); }

}  // namespace platform::dialog
