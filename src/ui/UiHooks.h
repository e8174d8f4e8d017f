#pragma once
// The two user-facing effects that tests must observe without blocking:
// the system beep and message boxes. Production code calls these instead of
// QApplication::beep and QMessageBox directly; a test installs a hook that
// answers each box at once.

#include <QMessageBox>
#include <QString>

#include <functional>

namespace quintrel::ui {

// Every beep of the program; tests read it to see a refused input.
int beepCount();
void beep();

struct MessageRequest {
    QWidget* parent = nullptr;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

// The hook returns the button the user "pressed". Null restores real boxes.
using MessageHook = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
void setMessageHook(MessageHook hook);

QMessageBox::StandardButton showMessage(QWidget* parent, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Modal boxes of our own (user guide, About, greeting, file dialogs) are run
// through this seam too: a test hook sees the dialog and closes it itself.
using DialogHook = std::function<int(QDialog&)>;
void setDialogHook(DialogHook hook);
int runDialog(QDialog& dialog);

// File dialogs. An empty result means the user cancelled. A save dialog asks
// before overwriting and adds the kind's extension when the name has none.
// Dialogs start in the folder of the file last chosen, else in the user's
// documents folder; the hook is given that start path.
enum class FileDialogKind { OpenGame, SaveGame, SaveLog };
using FileDialogHook = std::function<QString(FileDialogKind kind, const QString& suggested)>;
void setFileDialogHook(FileDialogHook hook);
QString chooseFile(QWidget* parent, FileDialogKind kind, const QString& caption, const QString& filter,
                   const QString& suggested);

} // namespace quintrel::ui
