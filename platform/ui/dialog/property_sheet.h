#pragma once
// A property sheet or wizard: pages made from templates when first shown,
// the page notifications of Windows' sheets, and the sheet's buttons.
#include <vector>

#include <QIcon>
#include <QString>

#include "platform/ui/dialog/ui_window.h"

class QListWidget;
class QPushButton;
class QStackedWidget;

namespace platform::dialog {

class TopLevelWidget;

class PropertySheetWindow final : public UiWindow {
public:
    // Null when a page has no template or the start page cannot be made.
    static PropertySheetWindow* Create(LPCPROPSHEETHEADERA header);

    explicit PropertySheetWindow(LPCPROPSHEETHEADERA header);

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Runs the sheet modally until OK, Cancel or Finish closes it; returns
    // PropertySheetA's result.
    INT_PTR runModal();

private:
    struct Page {
        PROPSHEETPAGEA description;  // what WM_INITDIALOG's lParam points at
        DLGTEMPLATEA childTemplate;  // the template as a child dialog at 0,0
        QString title;
        QIcon icon;
        QWidget* holder = nullptr;
        HWND window = nullptr;
    };

    bool addPages(LPCPROPSHEETHEADERA header);
    void buildFace(LPCPROPSHEETHEADERA header);
    QPushButton* addButton(const QString& text, WPARAM press);

    LRESULT notifyPage(int index, UINT code, LPARAM lParam = 0);
    bool ensurePage(int index);
    // Leaves the current page (PSN_KILLACTIVE) and shows `index`
    // (PSN_SETACTIVE); false when the current page refuses or the new one
    // cannot be made.
    bool selectPage(int index, bool focusPage);
    void selectNeighbour(int step);
    // Takes the focus away from a page's control, so its edit reports
    // losing the focus before the sheet moves on.
    void commitFocus();
    bool applyAll(bool ok);
    void press(WPARAM button);
    void helpKey();
    void setWizardButtons(LPARAM flags);
    void close(INT_PTR result);
    void updateHelpButton();

    DWORD flags_;
    std::vector<Page> pages_;
    int current_ = -1;
    bool closed_ = false;
    bool applied_ = false;
    INT_PTR result_ = 0;

    TopLevelWidget* face_ = nullptr;
    QListWidget* list_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finish_ = nullptr;
};

}  // namespace platform::dialog
