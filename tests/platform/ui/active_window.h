#pragma once
// A Qt window standing for a program window with a handle, shown and made
// the active window on the offscreen platform.
#include <chrono>
#include <thread>

#include <QApplication>
#include <QWidget>

#include "platform/gdi/window.h"
#include "platform/ui/qt_windows.h"

class ActiveTestWindow {
public:
    ActiveTestWindow() : handle_(platform::CreateOffscreenWindow(8, 8, nullptr)) {
        platform::registerWindowWidget(handle_, &widget_);
        widget_.show();
        widget_.activateWindow();
        for (int i = 0; i < 500 && QApplication::activeWindow() != &widget_; ++i) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~ActiveTestWindow() {
        platform::forgetWindowWidget(handle_);
        platform::DestroyOffscreenWindow(handle_);
    }
    ActiveTestWindow(const ActiveTestWindow&) = delete;
    ActiveTestWindow& operator=(const ActiveTestWindow&) = delete;

    HWND handle() const { return handle_; }
    QWidget* widget() { return &widget_; }

private:
    QWidget widget_;
    HWND handle_;
};
