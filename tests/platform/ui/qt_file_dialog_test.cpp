// Real QFileDialog windows on the offscreen platform, driven the way a user
// would: typing names and confirming.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>

#include "active_window.h"
#include "platform/ui/qt_session.h"
#include "platform/win32.h"
#include "qt_driver.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr char kFilter[] = "*.LUM\0 *.LUM\0All files (*.*)\0 *.*\0";

class QtFileDialog : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::ensureGuiApplication()); }
    void TearDown() override { fs::current_path(cwd_); }

    void touch(const std::string& name) { std::ofstream(dir_.path() / name) << "x"; }

    OPENFILENAMEA dialogFor(char* buffer, DWORD size, DWORD flags) {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = kFilter;
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = size;
        ofn.lpstrInitialDir = initialDir_.c_str();
        ofn.Flags = flags;
        return ofn;
    }

    static void type(QFileDialog* dialog, const QString& text) {
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
    }

    // The names the dialog lists for its directory once it has read it.
    static QStringList listedNames(QFileDialog* dialog, int expected) {
        auto* model = dialog->findChild<QFileSystemModel*>();
        QStringList names;
        if (!model) return names;
        for (int attempt = 0; attempt < 2000 && names.size() < expected; ++attempt) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            QModelIndex root = model->index(dialog->directory().absolutePath());
            names.clear();
            for (int row = 0; row < model->rowCount(root); ++row) names << model->index(row, 0, root).data().toString();
        }
        names.sort();
        return names;
    }

    testsupport::TempDir dir_;
    std::string initialDir_ = dir_.str();
    fs::path cwd_ = fs::current_path();
};

TEST_F(QtFileDialog, MultipleSelectionYieldsDirectoryThenNames) {
    touch("a.LUM");
    touch("b.lum");
    touch("c.PAL");
    QStringList filters;
    QString selectedFilter;
    QString directory;
    QStringList listed;
    QFileDialog::FileMode mode = QFileDialog::Directory;
    ScopedDriver<QFileDialog> driver([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        selectedFilter = dialog->selectedNameFilter();
        directory = dialog->directory().absolutePath();
        mode = dialog->fileMode();
        listed = listedNames(dialog, 2);
        type(dialog, "\"a.LUM\" \"b.lum\"");
        static_cast<QDialog*>(dialog)->accept();
    });
    char buffer[MAX_PATH];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "*.LUM");
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT);

    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(filters, (QStringList{"*.LUM (*.LUM)", "All files (*.*) (*)"}));
    EXPECT_EQ(selectedFilter, "*.LUM") << "the description, as shown";
    EXPECT_EQ(directory, QString::fromStdString(dir_.str()));
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(listed, (QStringList{"a.LUM", "b.lum"})) << "patterns match whatever the case";

    std::string expected = dir_.str() + std::string("\0a.LUM\0b.lum\0\0", 14);
    EXPECT_EQ(std::string(buffer, expected.size()), expected);
    EXPECT_EQ(buffer[expected.size()], '#');
    EXPECT_EQ(ofn.nFileOffset, dir_.str().size() + 1);
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_EQ(fs::current_path(), dir_.path());
}

TEST_F(QtFileDialog, SaveProposesTheNameAndAddsTheDefaultExtension) {
    QString title;
    QString proposed;
    QString shownFilter;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    ScopedDriver<QFileDialog> driver([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        acceptMode = dialog->acceptMode();
        proposed = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        shownFilter = dialog->selectedNameFilter();
        dialog->selectNameFilter(dialog->nameFilters().at(0));
        type(dialog, "My Show");
        static_cast<QDialog*>(dialog)->accept();
    });
    char buffer[MAX_PATH] = "My Show_ Blue_Green";
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER | OFN_OVERWRITEPROMPT);
    ofn.nFilterIndex = 2;
    ofn.lpstrDefExt = "LUM";

    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(title, "Save As");
    EXPECT_EQ(acceptMode, QFileDialog::AcceptSave);
    EXPECT_EQ(proposed, "My Show_ Blue_Green");
    EXPECT_EQ(std::string(buffer), (dir_.path() / "My Show.LUM").string());
    EXPECT_EQ(shownFilter, "All files (*.*)");
    EXPECT_EQ(ofn.nFilterIndex, 1u) << "the filter the user chose last";
}

TEST_F(QtFileDialog, TooSmallBufferFailsWithoutOverflow) {
    touch("a-rather-long-file-name.LUM");
    ScopedDriver<QFileDialog> driver([&](QFileDialog* dialog) {
        type(dialog, "a-rather-long-file-name.LUM");
        static_cast<QDialog*>(dialog)->accept();
    });
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    buffer[0] = 0;
    OPENFILENAMEA ofn = dialogFor(buffer, 16, OFN_EXPLORER | OFN_FILEMUSTEXIST);

    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(std::string(buffer + 1, sizeof buffer - 1), std::string(sizeof buffer - 1, '#'));
}

TEST_F(QtFileDialog, CancelReturnsFalseWithoutError) {
    QString title;
    ScopedDriver<QFileDialog> driver([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER);
    ofn.lpstrTitle = "Open Bitmap";
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(title, "Open Bitmap");
    EXPECT_EQ(fs::current_path(), cwd_);
}

TEST_F(QtFileDialog, OpensOverItsOwnerTheActiveWindow) {
    HWND window = nullptr;
    QWidget* parent = nullptr;
    {
        ActiveTestWindow owner;
        window = owner.handle();
        ASSERT_EQ(GetActiveWindow(), window);
        ScopedDriver<QFileDialog> driver([&](QFileDialog* dialog) {
            parent = dialog->parentWidget();
            dialog->reject();
        });
        char buffer[MAX_PATH] = "";
        OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER);
        ofn.hwndOwner = window;
        EXPECT_FALSE(GetOpenFileNameA(&ofn));
        EXPECT_EQ(parent, owner.widget());
    }
    EXPECT_EQ(GetActiveWindow(), nullptr) << "a window that is gone is never the active one";
}

TEST_F(QtFileDialog, PathMustExistAsksAgainForAMissingFolder) {
    QString warning;
    std::unique_ptr<ScopedDriver<QFileDialog>> again;
    ScopedDriver<QMessageBox> warn([&](QMessageBox* box) {
        warning = box->text();
        again = std::make_unique<ScopedDriver<QFileDialog>>([](QFileDialog* dialog) { dialog->reject(); });
        box->close();
    });
    ScopedDriver<QFileDialog> first([&](QFileDialog* dialog) {
        type(dialog, QString::fromStdString(dir_.str() + "/missing/x.LUM"));
        static_cast<QDialog*>(dialog)->accept();
    });
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn = dialogFor(buffer, MAX_PATH, OFN_EXPLORER | OFN_PATHMUSTEXIST);

    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    ASSERT_TRUE(again && again->acted());
    EXPECT_TRUE(warning.contains("/missing")) << warning.toStdString();
}

}  // namespace
