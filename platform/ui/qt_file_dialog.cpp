#include <cstdio>

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/ui/qt_backend.h"
#include "platform/ui/qt_session.h"
#include "platform/ui/qt_windows.h"
#include "platform/ui/ui.h"

namespace platform {

namespace {

QString decodePath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// "description (pattern pattern)", the form QFileDialog parses.  Windows'
// "*.*" matches names without a dot too, which Qt's "*" does.
QStringList qtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList nameFilters;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const QString& pattern : QString::fromLocal8Bit(filter.patterns).split(';')) {
            QString trimmed = pattern.trimmed();
            if (trimmed == "*.*") trimmed = "*";
            if (!trimmed.isEmpty()) patterns << trimmed;
        }
        nameFilters << QString::fromLocal8Bit(filter.description).simplified() + " (" + patterns.join(' ') + ")";
    }
    return nameFilters;
}

QFileDialog::FileMode fileModeFor(const FileDialogRequest& request) {
    if (request.save) return QFileDialog::AnyFile;
    if (request.flags & OFN_ALLOWMULTISELECT) return QFileDialog::ExistingFiles;
    if (request.flags & OFN_FILEMUSTEXIST) return QFileDialog::ExistingFile;
    return QFileDialog::AnyFile;
}

FileDialogAnswer execFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(widgetForWindow(request.owner));
    // Qt's own dialog, so it behaves the same on every desktop; the filter
    // list shows the descriptions only, as the caller wrote them.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(!request.title.empty() ? QString::fromLocal8Bit(request.title)
                          : request.save         ? QStringLiteral("Save As")
                                                 : QStringLiteral("Open"));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(fileModeFor(request));
    if (request.save && !(request.flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromLocal8Bit(request.defaultExtension));

    QStringList filters = qtNameFilters(request.filters);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        qsizetype index = request.filterIndex == 0 ? 0 : request.filterIndex - 1;
        if (index < filters.size()) dialog.selectNameFilter(filters[index]);
    }
    DialogStart start = dialogStart(request);
    dialog.setDirectory(decodePath(start.directory));
    if (!start.name.empty()) dialog.selectFile(decodePath(start.name));

    FileDialogAnswer answer;
    QStringList chosen;
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return answer;
        chosen = dialog.selectedFiles();
        if (!(request.flags & OFN_PATHMUSTEXIST) || chosen.isEmpty()) break;
        // Qt accepts a typed name in a missing folder; the caller asked for
        // an existing one, so the user is told and asked again.
        QString folder = QFileInfo(chosen.first()).absolutePath();
        if (QFileInfo(folder).isDir()) break;
        QMessageBox::warning(&dialog, dialog.windowTitle(), "The folder \"" + folder + "\" does not exist.");
    }
    for (const QString& file : chosen) answer.paths.push_back(QFile::encodeName(file).toStdString());
    answer.confirmed = !answer.paths.empty();
    // With the details hidden Qt reports the filter as shown: its description.
    QString shown = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (filters[i] == shown || QString::fromLocal8Bit(request.filters[i].description).simplified() == shown) {
            answer.filterIndex = static_cast<DWORD>(i + 1);
            break;
        }
    return answer;
}

}  // namespace

FileDialogAnswer showQtFileDialog(const FileDialogRequest& request) {
    if (!ensureGuiApplication()) {
        std::fprintf(stderr, "%s: no display to show the file dialog on\n",
                     request.title.empty() ? (request.save ? "Save As" : "Open") : request.title.c_str());
        FileDialogAnswer failed;
        failed.error = CDERR_INITIALIZATION;
        return failed;
    }
    return runOnGuiThread([&] { return execFileDialog(request); });
}

}  // namespace platform
