#include "ui/LogWindow.h"

#include "app/RegistryKey.h"
#include "app/SafeFile.h"
#include "game/GameUi.h"
#include "ui/Artwork.h"
#include "ui/ScreenPlacement.h"
#include "ui/UiHooks.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextCursor>

#include <cstdint>
#include <cstring>
#include <vector>

namespace quintrel::ui {

CLogWindow::CLogWindow(SettingsBackend& settings, QWidget* parent) : QDialog(parent), store(settings)
{
    setWindowTitle(QStringLiteral("Quintrel++ Log"));
    setWindowIcon(makeAppIcon());
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(215, 120);

    edit = new QPlainTextEdit(this);
    edit->setObjectName(QStringLiteral("1010"));
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    edit->setFont(font);

    saveButton = new QPushButton(QStringLiteral("&Save..."), this);
    saveButton->setObjectName(QStringLiteral("1009"));
    closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("2"));
    saveButton->setAutoDefault(false);
    closeButton->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, &CLogWindow::onSave);
    connect(closeButton, &QPushButton::clicked, this, &CLogWindow::reject);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 3);
    layout->setSpacing(6);
    layout->addWidget(edit, 0, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    layout->addWidget(saveButton, 1, 1);
    layout->addWidget(closeButton, 1, 2);

    placeFromSettings();
    writeHeader();
}

// "LogWndRect" holds the outer frame: left, top, right and bottom edges
// (exclusive), read and stored in that one measure.
void CLogWindow::placeFromSettings()
{
    CRegistryKey key(store, KEY_APPLICATION);
    std::int32_t r[4] = {};
    firstPlacement = !key.readBytes("LogWndRect", r, sizeof r);
    if (firstPlacement) {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        r[0] = area.left();
        r[1] = area.bottom() + 1 - 120;
        r[2] = area.right() + 1;
        r[3] = area.bottom() + 1;
        key.writeBytes("LogWndRect", r, sizeof r);
    }
    const QRect stored(QPoint(r[0], r[1]), QSize(std::max(r[2] - r[0], 215), std::max(r[3] - r[1], 120)));
    wantedFrame = reachableFrame(stored);
    move(wantedFrame.topLeft());
    resize(wantedFrame.size());
}

// Only a shown window knows the size of its frame and the least size its
// contents take: the inner size gives up what the frame takes, and the first
// placement keeps the whole frame on the screen.
void CLogWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!wantedFrame.isValid())
        return;
    const QSize frameExtra = frameGeometry().size() - size();
    if (!frameExtra.isNull())
        resize(wantedFrame.size() - frameExtra);
    QRect frame(wantedFrame.topLeft(), frameGeometry().size());
    if (firstPlacement)
        frame = fitInside(frame, QGuiApplication::primaryScreen()->availableGeometry());
    move(frame.topLeft());
    wantedFrame = QRect();
}

void CLogWindow::storeRect()
{
    const QRect outer = frameGeometry();
    const QRect inner = isMinimized() || isMaximized() ? normalGeometry() : geometry();
    const QRect normal = inner.marginsAdded(QMargins(geometry().left() - outer.left(), geometry().top() - outer.top(),
                                                     outer.right() - geometry().right(),
                                                     outer.bottom() - geometry().bottom()));
    const std::int32_t r[4] = {normal.left(), normal.top(), normal.left() + normal.width(),
                               normal.top() + normal.height()};
    CRegistryKey key(store, KEY_APPLICATION);
    key.writeBytes("LogWndRect", r, sizeof r);
}

// ---- The text ----

void CLogWindow::clear()
{
    edit->clear();
}

void CLogWindow::appendLine(const QString& line)
{
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(line + QLatin1Char('\n'));
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}

void CLogWindow::addSeparator()
{
    appendLine(QString::fromLatin1(LOG_SEPARATOR));
}

void CLogWindow::writeHeader()
{
    addSeparator();
    appendLine(QString::fromLatin1(LOG_HEADER));
    addSeparator();
}

void CLogWindow::appendToLastLine(const QString& more)
{
    QTextBlock block = edit->document()->lastBlock();
    while (block.isValid() && block.text().isEmpty())
        block = block.previous();
    if (!block.isValid()) {
        appendLine(more);
        return;
    }
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(more);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
}

QString CLogWindow::text() const
{
    return edit->toPlainText();
}

// ---- Saving ----

bool CLogWindow::saveTo(const QString& path)
{
    // The same safe replacement as a saved game: never through a planted link.
    QString all = text();
    all.remove(QLatin1Char('\r'));
    const QByteArray bytes = all.toLocal8Bit();
    return writeFileAtomically(QFile::encodeName(path).toStdString(),
                               std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void CLogWindow::onSave()
{
    const QString path = chooseFile(this, FileDialogKind::SaveLog, QStringLiteral("Save Log File"),
                                    QStringLiteral("Log Files (*.log);;All Files (*)"), QString());
    if (path.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = saveTo(path);
    QGuiApplication::restoreOverrideCursor();
    if (!ok)
        showMessage(this, QStringLiteral("Cannot open file %1").arg(path), QStringLiteral("Error"),
                    QMessageBox::Critical);
}

// ---- Closing ----

void CLogWindow::reject()
{
    close();
}

void CLogWindow::closeEvent(QCloseEvent* event)
{
    storeRect();
    event->accept();
    emit closedByUser();
}

} // namespace quintrel::ui
