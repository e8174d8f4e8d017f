#include "ui/UiHooks.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <atomic>

namespace quintrel::ui {

namespace {
std::atomic<int> beeps{0};

MessageHook& messageHook()
{
    static MessageHook hook;
    return hook;
}

FileDialogHook& fileHook()
{
    static FileDialogHook hook;
    return hook;
}

DialogHook& dialogHook()
{
    static DialogHook hook;
    return hook;
}

QString& lastFolder()
{
    static QString folder;
    return folder;
}

// Never the working folder: a game started from the desktop menu runs in a
// folder the user may not write to.
QString startFolder()
{
    if (!lastFolder().isEmpty() && QFileInfo(lastFolder()).isDir())
        return lastFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
} // namespace

int beepCount()
{
    return beeps.load();
}

void beep()
{
    ++beeps;
    QApplication::beep();
}

void setMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

QMessageBox::StandardButton showMessage(QWidget* parent, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    if (messageHook())
        return messageHook()(MessageRequest{parent, text, caption, icon, buttons});
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setDialogHook(DialogHook hook)
{
    dialogHook() = std::move(hook);
}

int runDialog(QDialog& dialog)
{
    if (dialogHook())
        return dialogHook()(dialog);
    return dialog.exec();
}

void setFileDialogHook(FileDialogHook hook)
{
    fileHook() = std::move(hook);
}

QString chooseFile(QWidget* parent, FileDialogKind kind, const QString& caption, const QString& filter,
                   const QString& suggested)
{
    const QString start = suggested.isEmpty() ? startFolder() : QDir(startFolder()).filePath(suggested);
    QString path;
    if (fileHook()) {
        path = fileHook()(kind, start);
    } else if (kind == FileDialogKind::OpenGame) {
        path = QFileDialog::getOpenFileName(parent, caption, start, filter);
    } else {
        QFileDialog dialog(parent, caption, start, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(kind == FileDialogKind::SaveLog ? QStringLiteral("log") : QStringLiteral("gam"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (path.isEmpty())
        return path;
    lastFolder() = QFileInfo(path).absolutePath();
    if (kind == FileDialogKind::OpenGame)
        return path;
    if (QFileInfo(path).suffix().isEmpty())
        path += kind == FileDialogKind::SaveLog ? QStringLiteral(".log") : QStringLiteral(".gam");
    return path;
}

} // namespace quintrel::ui
