#pragma once
// Acts on the first visible top-level widget of type T as soon as a modal
// loop shows it, the way a user would, and gives up (closing whatever modal
// window is up) after a few seconds so a broken dialog cannot hang the test.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QTimer>
#include <QWidget>

template <class T>
class ScopedDriver {
public:
    explicit ScopedDriver(std::function<void(T*)> act) : timer_(std::make_unique<QTimer>()) {
        timer_->setInterval(10);
        QObject::connect(timer_.get(), &QTimer::timeout, [this, act = std::move(act)] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                T* target = qobject_cast<T*>(widget);
                if (target && target->isVisible()) {
                    timer_->stop();
                    acted_ = true;
                    act(target);
                    return;
                }
            }
            if (++polls_ > 500) {
                timer_->stop();
                ADD_FAILURE() << "the expected window never appeared";
                if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            }
        });
        timer_->start();
    }

    bool acted() const { return acted_; }

private:
    std::unique_ptr<QTimer> timer_;
    bool acted_ = false;
    int polls_ = 0;
};
