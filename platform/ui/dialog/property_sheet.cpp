#include "platform/ui/dialog/property_sheet.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"
#include "platform/ui/dialog/dialog_units.h"
#include "platform/ui/dialog/dialog_window.h"
#include "platform/ui/dialog/icon.h"
#include "platform/ui/dialog/modal_loop.h"
#include "platform/ui/dialog/text.h"
#include "platform/ui/dialog/top_level_widget.h"
#include "platform/ui/qt_session.h"

namespace platform::dialog {

namespace {

constexpr int ListIconSize = 16;

WPARAM ScreenBitsPerPixel() {
    HDC screen = GetDC(nullptr);
    int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 8;
    if (screen) ReleaseDC(nullptr, screen);
    return static_cast<WPARAM>(bits);
}

LPCDLGTEMPLATEA PageTemplate(const PROPSHEETPAGEA& page) {
    return page.dwFlags & PSP_DLGINDIRECT ? page.pResource : FindDialogTemplate(page.pszTemplate);
}

QIcon IconOf(DWORD flags, DWORD useHandle, DWORD useId, HICON handle, LPCSTR id) {
    if (flags & useHandle && handle) return handle->icon;
    if (flags & useId)
        if (HICON loaded = LoadIconA(nullptr, id)) return loaded->icon;
    return QIcon();
}

}  // namespace

PropertySheetWindow::PropertySheetWindow(LPCPROPSHEETHEADERA header)
    : UiWindow(header->hwndParent, 0, WS_POPUP | WS_CAPTION, 0, QRect(0, 0, 1, 1)), flags_(header->dwFlags) {}

PropertySheetWindow* PropertySheetWindow::Create(LPCPROPSHEETHEADERA header) {
    TakeScreenSize();
    auto* sheet = static_cast<PropertySheetWindow*>(Install(std::make_unique<PropertySheetWindow>(header)));
    HWND handle = sheet->handle();
    if (!sheet->addPages(header)) {
        DestroyWindow(handle);
        return nullptr;
    }
    sheet->buildFace(header);
    int start = static_cast<int>(std::min<UINT>(header->nStartPage, static_cast<UINT>(sheet->pages_.size() - 1)));
    if (!sheet->selectPage(start, true)) {
        DestroyWindow(handle);
        return nullptr;
    }
    return sheet;
}

bool PropertySheetWindow::addPages(LPCPROPSHEETHEADERA header) {
    pages_.reserve(header->nPages);
    for (UINT i = 0; i < header->nPages; ++i) {
        Page page;
        page.description = header->ppsp[i];
        LPCDLGTEMPLATEA found = PageTemplate(page.description);
        if (!found) return false;
        page.childTemplate = *found;
        page.childTemplate.style = (found->style | WS_CHILD) & ~(WS_POPUP | WS_CAPTION | WS_VISIBLE);
        page.childTemplate.x = 0;
        page.childTemplate.y = 0;
        page.title = ToQt(page.description.dwFlags & PSP_USETITLE ? page.description.pszTitle : found->caption);
        page.icon = IconOf(page.description.dwFlags, PSP_USEHICON, PSP_USEICONID, page.description.hIcon,
                           page.description.pszIcon);
        pages_.push_back(page);
    }
    return !pages_.empty();
}

QPushButton* PropertySheetWindow::addButton(const QString& text, WPARAM button) {
    auto* push = new QPushButton(text, face_);
    push->setAutoDefault(false);
    WidgetBridge* link = bridge();
    QObject::connect(push, &QPushButton::clicked, link, [link, button] {
        if (auto* sheet = static_cast<PropertySheetWindow*>(link->owner)) sheet->press(button);
    });
    return push;
}

void PropertySheetWindow::buildFace(LPCPROPSHEETHEADERA header) {
    face_ = new TopLevelWidget(ParentWidget(header->hwndParent));
    HWND self = handle();
    face_->onCancel = [self] { SendMessageA(self, WM_CLOSE, 0, 0); };
    face_->onActivate = [self](bool active) { SendMessageA(self, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0); };
    QString caption = ToQt(header->pszCaption);
    face_->setWindowTitle(caption);
    QIcon icon = IconOf(flags_, PSH_USEHICON, PSH_USEICONID, header->hIcon, header->pszIcon);
    if (!icon.isNull()) face_->setWindowIcon(icon);
    attachWidget(face_);

    // Every page gets the room of the largest.
    QSize pageSize(1, 1);
    for (Page& page : pages_) {
        DialogUnits units(DialogUnits::TemplateFont(page.childTemplate));
        pageSize = pageSize.expandedTo(units.toPixels(0, 0, page.childTemplate.cx, page.childTemplate.cy).size());
    }
    stack_ = new QStackedWidget(face_);
    stack_->setFixedSize(pageSize);
    for (Page& page : pages_) {
        page.holder = new QWidget(stack_);
        stack_->addWidget(page.holder);
    }

    auto* body = new QHBoxLayout;
    bool wizard = flags_ & PSH_WIZARD;
    if (!wizard) {
        list_ = new QListWidget(face_);
        list_->setIconSize(QSize(ListIconSize, ListIconSize));
        int widest = 0;
        for (const Page& page : pages_) {
            list_->addItem(new QListWidgetItem(page.icon, page.title));
            widest = std::max(widest, list_->fontMetrics().horizontalAdvance(page.title));
        }
        list_->setFixedWidth(widest + ListIconSize + 4 * list_->fontMetrics().averageCharWidth() +
                             list_->frameWidth() * 2);
        list_->setFixedHeight(pageSize.height());
        WidgetBridge* link = bridge();
        QObject::connect(list_, &QListWidget::currentRowChanged, link, [link](int row) {
            auto* sheet = static_cast<PropertySheetWindow*>(link->owner);
            if (!sheet || row == sheet->current_ || row < 0) return;
            if (!sheet->selectPage(row, false)) {
                QSignalBlocker quiet(sheet->list_);
                sheet->list_->setCurrentRow(sheet->current_);
            }
        });
        body->addWidget(list_);
    }
    body->addWidget(stack_);

    auto* buttons = new QHBoxLayout;
    bool anyHelp = flags_ & PSH_HASHELP;
    for (const Page& page : pages_) anyHelp = anyHelp || (page.description.dwFlags & PSP_HASHELP);
    help_ = addButton(QStringLiteral("Help"), PSBTN_HELP);
    help_->setVisible(anyHelp);
    buttons->addWidget(help_);
    buttons->addStretch(1);
    if (wizard) {
        back_ = addButton(QStringLiteral("< &Back"), PSBTN_BACK);
        next_ = addButton(QStringLiteral("&Next >"), PSBTN_NEXT);
        finish_ = addButton(QStringLiteral("Finish"), PSBTN_FINISH);
        finish_->hide();
        next_->setDefault(true);
        buttons->addWidget(back_);
        buttons->addWidget(next_);
        buttons->addWidget(finish_);
        cancel_ = addButton(QStringLiteral("Cancel"), PSBTN_CANCEL);
        buttons->addWidget(cancel_);
    } else {
        ok_ = addButton(QStringLiteral("OK"), PSBTN_OK);
        ok_->setDefault(true);
        cancel_ = addButton(QStringLiteral("Cancel"), PSBTN_CANCEL);
        apply_ = addButton(QStringLiteral("&Apply"), PSBTN_APPLYNOW);
        apply_->setEnabled(false);
        apply_->setVisible(!(flags_ & PSH_NOAPPLYNOW));
        buttons->addWidget(ok_);
        buttons->addWidget(cancel_);
        buttons->addWidget(apply_);
    }

    // Windows tells every top-level window of a new screen mode; a sheet
    // passes it on to its pages.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        WidgetBridge* link = bridge();
        QObject::connect(screen, &QScreen::geometryChanged, link, [link](const QRect& area) {
            if (auto* sheet = static_cast<PropertySheetWindow*>(link->owner))
                SendMessageA(sheet->handle(), WM_DISPLAYCHANGE, ScreenBitsPerPixel(),
                             MAKELPARAM(area.width(), area.height()));
        });
    }

    auto* layout = new QVBoxLayout(face_);
    layout->addLayout(body);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Windows' keys for the pages, which wrap round at the ends.
    if (!wizard) {
        auto shortcut = [&](const QKeySequence& keys, int step) {
            auto* key = new QShortcut(keys, face_);
            WidgetBridge* link = bridge();
            QObject::connect(key, &QShortcut::activated, link, [link, step] {
                if (auto* sheet = static_cast<PropertySheetWindow*>(link->owner)) sheet->selectNeighbour(step);
            });
        };
        shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
        shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
        shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
        shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
    }
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), face_);
    WidgetBridge* link = bridge();
    QObject::connect(helpKey, &QShortcut::activated, link, [link] {
        if (auto* sheet = static_cast<PropertySheetWindow*>(link->owner)) sheet->helpKey();
    });
    face_->adjustSize();
    setGeometry(QRect(QPoint(0, 0), face_->sizeHint()));
}

LRESULT PropertySheetWindow::notifyPage(int index, UINT code, LPARAM lParam) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return 0;
    HWND page = pages_[static_cast<std::size_t>(index)].window;
    auto* dialog = dynamic_cast<DialogWindow*>(UiWindow::fromHandle(page));
    if (!dialog) return 0;
    // A page that answers without setting a result answers 0.
    dialog->messageResult = 0;
    PSHNOTIFY notice{};
    notice.hdr.hwndFrom = handle();
    notice.hdr.idFrom = 0;
    notice.hdr.code = code;
    notice.lParam = lParam;
    return SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
}

bool PropertySheetWindow::ensurePage(int index) {
    Page& page = pages_[static_cast<std::size_t>(index)];
    if (UiWindow::fromHandle(page.window)) return true;
    DialogWindow* dialog = DialogWindow::Create(&page.childTemplate, handle(), page.holder, page.description.pfnDlgProc,
                                                reinterpret_cast<LPARAM>(&page.description));
    if (!dialog) return false;
    page.window = dialog->handle();
    return true;
}

bool PropertySheetWindow::selectPage(int index, bool focusPage) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return false;
    if (index == current_) return true;
    if (current_ >= 0) {
        commitFocus();
        if (notifyPage(current_, PSN_KILLACTIVE) != 0) return false;
    }
    if (!ensurePage(index)) return false;
    int previous = current_;
    current_ = index;
    notifyPage(index, PSN_SETACTIVE);
    Page& page = pages_[static_cast<std::size_t>(index)];
    if (UiWindow* shown = UiWindow::fromHandle(page.window)) shown->setVisible(true);
    stack_->setCurrentWidget(page.holder);
    if (previous >= 0)
        if (UiWindow* hidden = UiWindow::fromHandle(pages_[static_cast<std::size_t>(previous)].window))
            hidden->setVisible(false);
    if (list_) {
        QSignalBlocker quiet(list_);
        list_->setCurrentRow(index);
    }
    updateHelpButton();
    if (focusPage)
        if (auto* dialog = dynamic_cast<DialogWindow*>(UiWindow::fromHandle(page.window))) dialog->focusFirstTabStop();
    return true;
}

void PropertySheetWindow::selectNeighbour(int step) {
    int count = static_cast<int>(pages_.size());
    selectPage(((current_ + step) % count + count) % count, true);
}

void PropertySheetWindow::commitFocus() {
    QWidget* focus = QApplication::focusWidget();
    if (focus && stack_ && stack_->isAncestorOf(focus)) focus->clearFocus();
}

bool PropertySheetWindow::applyAll(bool ok) {
    commitFocus();
    if (notifyPage(current_, PSN_KILLACTIVE) != 0) return false;
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
        if (!UiWindow::fromHandle(pages_[static_cast<std::size_t>(i)].window)) continue;
        LRESULT answer = notifyPage(i, PSN_APPLY, ok ? TRUE : FALSE);
        if (answer == PSNRET_INVALID_NOCHANGEPAGE) return false;
        if (answer == PSNRET_INVALID) {
            selectPage(i, true);
            return false;
        }
    }
    applied_ = true;
    if (apply_) apply_->setEnabled(false);
    return true;
}

void PropertySheetWindow::press(WPARAM button) {
    if (closed_) return;
    switch (button) {
    case PSBTN_OK:
        if (applyAll(true)) close(1);
        break;
    case PSBTN_APPLYNOW:
        if (apply_ && apply_->isEnabled()) applyAll(false);
        break;
    case PSBTN_CANCEL:
        if (!cancel_->isEnabled() || notifyPage(current_, PSN_QUERYCANCEL) != 0) break;
        for (int i = 0; i < static_cast<int>(pages_.size()); ++i)
            if (UiWindow::fromHandle(pages_[static_cast<std::size_t>(i)].window)) notifyPage(i, PSN_RESET);
        close(applied_ ? 1 : 0);
        break;
    case PSBTN_HELP:
        if (help_->isEnabled()) notifyPage(current_, PSN_HELP);
        break;
    case PSBTN_BACK:
    case PSBTN_NEXT:
        if (!(flags_ & PSH_WIZARD)) break;
        if (QPushButton* pressed = button == PSBTN_BACK ? back_ : next_; !pressed->isEnabled() || !pressed->isVisible()) break;
        commitFocus();
        if (notifyPage(current_, button == PSBTN_BACK ? PSN_WIZBACK : PSN_WIZNEXT) == -1) break;
        selectPage(current_ + (button == PSBTN_BACK ? -1 : 1), true);
        break;
    case PSBTN_FINISH:
        if (!finish_ || !finish_->isEnabled() || !finish_->isVisible()) break;
        commitFocus();
        if (notifyPage(current_, PSN_WIZFINISH) != 0) break;
        applied_ = true;
        close(1);
        break;
    default:
        break;
    }
}

void PropertySheetWindow::helpKey() {
    if (help_->isVisible() && help_->isEnabled()) {
        press(PSBTN_HELP);
        return;
    }
    if (current_ < 0) return;
    HWND page = pages_[static_cast<std::size_t>(current_)].window;
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    HWND focus = GetFocus();
    info.iCtrlId = focus ? GetDlgCtrlID(focus) : 0;
    info.hItemHandle = focus ? focus : page;
    SendMessageA(page, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

void PropertySheetWindow::setWizardButtons(LPARAM flags) {
    if (!(flags_ & PSH_WIZARD)) return;
    back_->setEnabled(flags & PSWIZB_BACK);
    bool finish = flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH);
    next_->setVisible(!finish);
    next_->setEnabled(flags & PSWIZB_NEXT);
    finish_->setVisible(finish);
    finish_->setEnabled(flags & PSWIZB_FINISH);
    next_->setDefault(!finish);
    finish_->setDefault(finish);
}

void PropertySheetWindow::close(INT_PTR result) {
    closed_ = true;
    result_ = result;
    if (face_->isModal() && face_->isVisible())
        face_->finish();
    else
        face_->hide();
}

void PropertySheetWindow::updateHelpButton() {
    if (current_ < 0) return;
    help_->setEnabled(pages_[static_cast<std::size_t>(current_)].description.dwFlags & PSP_HASHELP);
}

INT_PTR PropertySheetWindow::runModal() {
    HWND self = handle();
    face_->setModal(true);
    RunModalLoop(face_);
    auto* sheet = static_cast<PropertySheetWindow*>(UiWindow::fromHandle(self));
    return sheet ? sheet->result_ : -1;
}

LRESULT PropertySheetWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case PSM_SETCURSEL:
        return selectPage(static_cast<int>(wParam), false) ? TRUE : FALSE;
    case PSM_CHANGED:
        if (apply_) apply_->setEnabled(true);
        return 0;
    case PSM_UNCHANGED:
        if (apply_) apply_->setEnabled(false);
        return 0;
    case PSM_CANCELTOCLOSE:
        if (ok_) ok_->setText(QStringLiteral("Close"));
        cancel_->setEnabled(false);
        return 0;
    case PSM_QUERYSIBLINGS:
        for (const Page& page : pages_)
            if (UiWindow::fromHandle(page.window))
                if (LRESULT answer = SendMessageA(page.window, PSM_QUERYSIBLINGS, wParam, lParam)) return answer;
        return 0;
    case PSM_APPLY:
        return applyAll(false) ? TRUE : FALSE;
    case PSM_SETTITLEA:
        face_->setWindowTitle(ToQt(reinterpret_cast<LPCSTR>(lParam)));
        return 0;
    case PSM_SETWIZBUTTONS:
        setWizardButtons(lParam);
        return 0;
    case PSM_PRESSBUTTON:
        press(wParam);
        return 0;
    case PSM_SETFINISHTEXTA:
        if (flags_ & PSH_WIZARD) {
            finish_->setText(ToQt(reinterpret_cast<LPCSTR>(lParam)));
            finish_->setVisible(true);
            finish_->setEnabled(true);
            next_->setVisible(false);
            back_->setVisible(false);
        }
        return 0;
    case PSM_GETCURRENTPAGEHWND:
        return closed_ || current_ < 0 ? 0 : reinterpret_cast<LRESULT>(pages_[static_cast<std::size_t>(current_)].window);
    case WM_ACTIVATE:
        // Pages learn of the sheet's activation: the one shown is told.
        if (!closed_ && current_ >= 0) SendMessageA(pages_[static_cast<std::size_t>(current_)].window, message, wParam, lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        for (const Page& page : pages_)
            if (page.window) SendMessageA(page.window, message, wParam, lParam);
        return 0;
    case WM_CLOSE:
        press(PSBTN_CANCEL);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) press(flags_ & PSH_WIZARD ? PSBTN_FINISH : PSBTN_OK);
        if (LOWORD(wParam) == IDCANCEL) press(PSBTN_CANCEL);
        return 0;
    default:
        return UiWindow::windowProc(message, wParam, lParam);
    }
}

}  // namespace platform::dialog

INT_PTR PropertySheetA(LPCPROPSHEETHEADERA header) {
    using platform::dialog::PropertySheetWindow;
    if (!header || !(header->dwFlags & PSH_PROPSHEETPAGE) || !header->ppsp || header->nPages == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    bool modeless = header->dwFlags & PSH_MODELESS;
    if (!platform::ensureGuiApplication()) return modeless ? 0 : -1;
    return platform::runOnGuiThread([&]() -> INT_PTR {
        PropertySheetWindow* sheet = PropertySheetWindow::Create(header);
        if (!sheet) return modeless ? 0 : -1;
        HWND handle = sheet->handle();
        if (modeless) {
            sheet->setVisible(true);
            return reinterpret_cast<INT_PTR>(handle);
        }
        INT_PTR result = sheet->runModal();
        if (IsWindow(handle)) DestroyWindow(handle);
        return result;
    });
}
