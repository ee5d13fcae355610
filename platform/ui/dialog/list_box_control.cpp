// "LISTBOX": a single-selection list.  With LBS_NOTIFY the user's selection
// reaches the parent as LBN_SELCHANGE and a double click as LBN_DBLCLK;
// LB_SETCURSEL notifies no one.  It asks its parent for colours
// (WM_CTLCOLORLISTBOX) before each paint.
#include <QEvent>
#include <QListWidget>

#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/string_list.h"
#include "platform/ui/dialog/text.h"

namespace platform::dialog {

namespace {

class ListBoxControl final : public UiWindow {
public:
    explicit ListBoxControl(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        list_ = new QListWidget(ParentWidget(params.parent));
        list_->setFont(params.font);
        list_->setSelectionMode(QAbstractItemView::SingleSelection);
        sorted_ = params.style & LBS_SORT;
        attachWidget(list_);
        list_->viewport()->installEventFilter(bridge());
        if (!(params.style & LBS_NOTIFY)) return;
        WidgetBridge* link = bridge();
        QObject::connect(list_, &QListWidget::currentRowChanged, link, [link] {
            if (auto* self = static_cast<ListBoxControl*>(link->owner); self && !self->quiet_)
                self->notifyParent(LBN_SELCHANGE);
        });
        QObject::connect(list_, &QListWidget::itemDoubleClicked, link, [link] {
            if (link->owner) link->owner->notifyParent(LBN_DBLCLK);
        });
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        auto index = static_cast<int>(static_cast<LONG>(wParam));
        Quiet quiet(this);
        switch (message) {
        case LB_ADDSTRING: {
            QString text = ToQt(reinterpret_cast<LPCSTR>(lParam));
            int position = sorted_ ? SortedPosition(items(), text) : list_->count();
            list_->insertItem(position, text);
            return position;
        }
        case LB_INSERTSTRING:
            if (index < -1 || index > list_->count()) return LB_ERR;
            if (index == -1) index = list_->count();
            list_->insertItem(index, ToQt(reinterpret_cast<LPCSTR>(lParam)));
            return index;
        case LB_DELETESTRING:
            if (!valid(index)) return LB_ERR;
            delete list_->takeItem(index);
            return list_->count();
        case LB_RESETCONTENT:
            list_->clear();
            return 0;
        case LB_GETCOUNT:
            return list_->count();
        case LB_GETCURSEL:
            return list_->currentRow() < 0 || !list_->currentItem()->isSelected() ? LB_ERR : list_->currentRow();
        case LB_SETCURSEL:
            if (!valid(index)) {
                list_->setCurrentRow(-1);
                return LB_ERR;
            }
            list_->setCurrentRow(index);
            list_->scrollToItem(list_->item(index));
            return index;
        case LB_GETTEXT: {
            if (!valid(index) || !lParam) return LB_ERR;
            std::string text = FromQt(list_->item(index)->text());
            return CopyText(text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(text.size() + 1));
        }
        case LB_GETTEXTLEN:
            return valid(index) ? static_cast<LRESULT>(FromQt(list_->item(index)->text()).size()) : LB_ERR;
        case LB_FINDSTRINGEXACT:
            return FindItem(items(), index, ToQt(reinterpret_cast<LPCSTR>(lParam)), true);
        case LB_SETITEMDATA:
            if (!valid(index)) return LB_ERR;
            list_->item(index)->setData(Qt::UserRole, static_cast<qlonglong>(lParam));
            return TRUE;
        case LB_GETITEMDATA:
            return valid(index) ? static_cast<LRESULT>(list_->item(index)->data(Qt::UserRole).toLongLong()) : LB_ERR;
        default:
            return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return {}; }
    void setText(const std::string&) override {}

    bool widgetEvent(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == list_->viewport()) askColours(WM_CTLCOLORLISTBOX, list_);
        return false;
    }

private:
    // Changes the parent makes are not the user's: they notify no one.
    struct Quiet {
        explicit Quiet(ListBoxControl* box) : box(box) { ++box->quiet_; }
        ~Quiet() { --box->quiet_; }
        ListBoxControl* box;
    };

    bool valid(int index) const { return index >= 0 && index < list_->count(); }
    QStringList items() const {
        QStringList list;
        for (int i = 0; i < list_->count(); ++i) list << list_->item(i)->text();
        return list;
    }

    QListWidget* list_;
    bool sorted_ = false;
    int quiet_ = 0;
};

}  // namespace

std::unique_ptr<UiWindow> CreateListBoxControl(const ControlParams& params) { return std::make_unique<ListBoxControl>(params); }

}  // namespace platform::dialog
