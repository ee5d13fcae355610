// "COMBOBOX": a drop-down list, or a drop-down with an edit field
// (CBS_DROPDOWN).  The template's height is the dropped-down height; the
// closed control is as tall as the font needs.  The user's choice of an item
// reaches the parent as CBN_SELCHANGE and typing as CBN_EDITCHANGE;
// CB_SETCURSEL and WM_SETTEXT notify no one.  Before painting, the box asks
// its parent for colours with WM_CTLCOLOREDIT and its dropped-down list with
// WM_CTLCOLORLISTBOX.
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/string_list.h"
#include "platform/ui/dialog/text.h"

namespace platform::dialog {

namespace {

class ComboBoxControl final : public UiWindow {
public:
    ComboBoxControl(const ControlParams& params, QComboBox* combo, const QRect& closed)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, closed), combo_(combo) {
        sorted_ = params.style & CBS_SORT;
        attachWidget(combo_);
        WidgetBridge* link = bridge();
        combo_->view()->viewport()->installEventFilter(link);
        QObject::connect(combo_, &QComboBox::activated, link, [link] {
            if (link->owner) link->owner->notifyParent(CBN_SELCHANGE);
        });
        if (QLineEdit* edit = combo_->lineEdit()) {
            QObject::connect(edit, &QLineEdit::textEdited, link, [link] {
                if (link->owner) link->owner->notifyParent(CBN_EDITCHANGE);
            });
        }
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        auto index = static_cast<int>(static_cast<LONG>(wParam));
        switch (message) {
        case CB_ADDSTRING: {
            QString text = ToQt(reinterpret_cast<LPCSTR>(lParam));
            int position = sorted_ ? SortedPosition(items(), text) : combo_->count();
            insert(position, text);
            return position;
        }
        case CB_INSERTSTRING:
            if (index < -1 || index > combo_->count()) return CB_ERR;
            if (index == -1) index = combo_->count();
            insert(index, ToQt(reinterpret_cast<LPCSTR>(lParam)));
            return index;
        case CB_DELETESTRING:
            if (!valid(index)) return CB_ERR;
            remove(index);
            return combo_->count();
        case CB_GETCOUNT:
            return combo_->count();
        case CB_GETCURSEL:
            return combo_->currentIndex() < 0 ? CB_ERR : combo_->currentIndex();
        case CB_SETCURSEL:
            if (!valid(index)) {
                combo_->setCurrentIndex(-1);
                if (combo_->isEditable()) combo_->setEditText(QString());
                return CB_ERR;
            }
            combo_->setCurrentIndex(index);
            showStart();
            return index;
        case CB_GETLBTEXT: {
            if (!valid(index) || !lParam) return CB_ERR;
            std::string text = FromQt(combo_->itemText(index));
            return CopyText(text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(text.size() + 1));
        }
        case CB_GETLBTEXTLEN:
            return valid(index) ? static_cast<LRESULT>(FromQt(combo_->itemText(index)).size()) : CB_ERR;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
        case CB_SELECTSTRING: {
            int found = FindItem(items(), index, ToQt(reinterpret_cast<LPCSTR>(lParam)), message == CB_FINDSTRINGEXACT);
            if (found < 0) return CB_ERR;
            if (message == CB_SELECTSTRING) {
                combo_->setCurrentIndex(found);
                showStart();
            }
            return found;
        }
        case CB_RESETCONTENT:
            combo_->clear();
            if (combo_->isEditable()) combo_->setEditText(QString());
            return 0;
        case CB_SETITEMDATA:
            if (!valid(index)) return CB_ERR;
            combo_->setItemData(index, static_cast<qlonglong>(lParam));
            return TRUE;
        case CB_GETITEMDATA:
            return valid(index) ? static_cast<LRESULT>(combo_->itemData(index).toLongLong()) : CB_ERR;
        case CB_LIMITTEXT:
            if (QLineEdit* edit = combo_->lineEdit()) edit->setMaxLength(wParam == 0 ? 32767 : static_cast<int>(std::min<WPARAM>(wParam, 32767)));
            return TRUE;
        case WM_SETTEXT:
            if (!combo_->isEditable()) {
                int found = FindItem(items(), -1, ToQt(reinterpret_cast<LPCSTR>(lParam)), true);
                if (found < 0) return CB_ERR;
                combo_->setCurrentIndex(found);
                return TRUE;
            }
            return UiWindow::windowProc(message, wParam, lParam);
        default:
            return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return FromQt(combo_->currentText()); }
    void setText(const std::string& text) override {
        if (combo_->isEditable()) combo_->setEditText(ToQt(text));
        showStart();
    }

    bool widgetEvent(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        if (watched == combo_) askColours(WM_CTLCOLOREDIT, combo_);
        if (watched == combo_->view()->viewport()) askColours(WM_CTLCOLORLISTBOX, combo_->view());
        return false;
    }

private:
    // A long text set into the edit field shows from its start, as on Windows.
    void showStart() {
        if (QLineEdit* edit = combo_->lineEdit()) edit->setCursorPosition(0);
    }

    // Qt selects the first item added to an empty box and another item when
    // the selected one goes; Win32 leaves the selection empty in both cases,
    // and the edit field as it was.
    void insert(int position, const QString& text) {
        bool none = combo_->currentIndex() < 0;
        QString edited = combo_->currentText();
        combo_->insertItem(position, text);
        if (none) clearSelection(edited);
    }
    void remove(int index) {
        bool selected = combo_->currentIndex() == index;
        QString edited = combo_->currentText();
        combo_->removeItem(index);
        if (selected) clearSelection(edited);
    }
    void clearSelection(const QString& edited) {
        combo_->setCurrentIndex(-1);
        if (combo_->isEditable()) combo_->setEditText(edited);
    }

    bool valid(int index) const { return index >= 0 && index < combo_->count(); }
    QStringList items() const {
        QStringList list;
        for (int i = 0; i < combo_->count(); ++i) list << combo_->itemText(i);
        return list;
    }

    QComboBox* combo_;
    bool sorted_ = false;
};

}  // namespace

std::unique_ptr<UiWindow> CreateComboBoxControl(const ControlParams& params) {
    auto* combo = new QComboBox(ParentWidget(params.parent));
    combo->setFont(params.font);
    DWORD kind = params.style & 0x3;
    if (kind == CBS_DROPDOWN || kind == CBS_SIMPLE) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    QRect closed = params.geometry;
    int closedHeight = std::min(params.geometry.height(), combo->sizeHint().height());
    closed.setHeight(closedHeight);
    int itemHeight = std::max(1, combo->fontMetrics().height() + 4);
    combo->setMaxVisibleItems(std::max(1, (params.geometry.height() - closedHeight) / itemHeight));
    return std::make_unique<ComboBoxControl>(params, combo, closed);
}

}  // namespace platform::dialog
