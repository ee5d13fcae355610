// Real QMessageBox windows on the offscreen platform, answered by clicking
// or closing them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QAbstractButton>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/qt_session.h"
#include "platform/win32.h"
#include "qt_driver.h"

namespace {

struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
};

Shown inspect(QMessageBox* box) {
    Shown shown;
    shown.title = box->windowTitle();
    shown.text = box->text();
    shown.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) shown.buttons << box->standardButton(button);
    std::sort(shown.buttons.begin(), shown.buttons.end());
    shown.defaultButton = box->standardButton(box->defaultButton());
    if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) shown.format = label->textFormat();
    return shown;
}

class QtMessageBox : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::ensureGuiApplication()); }
};

TEST_F(QtMessageBox, ClickedButtonIsTheAnswer) {
    const char* text = "This will overwrite your existing settings for \"<b>Night</b>\"\n\nDo you wish to proceed?";
    struct Case {
        UINT type;
        QMessageBox::StandardButton click;
        int answer;
    } cases[] = {
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::Yes, IDYES},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::No, IDNO},
        {MB_RETRYCANCEL | MB_ICONQUESTION, QMessageBox::Retry, IDRETRY},
    };
    for (const Case& c : cases) {
        Shown shown;
        ScopedDriver<QMessageBox> driver([&](QMessageBox* box) {
            shown = inspect(box);
            box->button(c.click)->click();
        });
        int answer = MessageBoxA(nullptr, text, "Settings by this name already exist!", c.type);
        ASSERT_TRUE(driver.acted());
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(shown.title, "Settings by this name already exist!");
        EXPECT_EQ(shown.text, QString(text));
        EXPECT_EQ(shown.format, Qt::PlainText) << "names in the text are not markup";
        EXPECT_EQ(shown.icon, QMessageBox::Question);
    }
}

TEST_F(QtMessageBox, ButtonSetsIconsDefaultsAndClosing) {
    using B = QMessageBox;
    struct Case {
        UINT type;
        QList<B::StandardButton> buttons;
        B::Icon icon;
        B::StandardButton defaultButton;
        int closeAnswer;
    } cases[] = {
        {MB_OK | MB_ICONINFORMATION, {B::Ok}, B::Information, B::Ok, IDOK},
        {MB_OKCANCEL | MB_ICONSTOP, {B::Ok, B::Cancel}, B::Critical, B::Ok, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON2, {B::Yes, B::No}, B::NoIcon, B::No, IDNO},
        {MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3, {B::Yes, B::No, B::Cancel}, B::Warning, B::Cancel, IDCANCEL},
        {MB_RETRYCANCEL | MB_TOPMOST | MB_SETFOREGROUND, {B::Retry, B::Cancel}, B::NoIcon, B::Retry, IDCANCEL},
    };
    for (const Case& c : cases) {
        Shown shown;
        ScopedDriver<QMessageBox> driver([&](QMessageBox* box) {
            shown = inspect(box);
            box->close();
        });
        int answer = MessageBoxA(nullptr, "text", "caption", c.type);
        ASSERT_TRUE(driver.acted()) << std::hex << c.type;
        EXPECT_EQ(answer, c.closeAnswer) << std::hex << c.type;
        QList<B::StandardButton> expected = c.buttons;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown.buttons, expected) << std::hex << c.type;
        EXPECT_EQ(shown.icon, c.icon) << std::hex << c.type;
        EXPECT_EQ(shown.defaultButton, c.defaultButton) << std::hex << c.type;
    }
}

TEST_F(QtMessageBox, AskedFromAnotherThreadIsShownOnTheGuiThread) {
    QThread* shownOn = nullptr;
    ScopedDriver<QMessageBox> driver([&](QMessageBox* box) {
        shownOn = box->thread();
        box->button(QMessageBox::Yes)->click();
    });
    QEventLoop loop;
    std::atomic<int> answer{0};
    std::thread asker([&] {
        answer = MessageBoxA(nullptr, "Proceed?", "Worker", MB_YESNO);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    asker.join();
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(shownOn, qApp->thread());
}

}  // namespace
