#pragma once
// CLogWindow: the modeless "Quintrel++ Log" window. It records the course of
// the games (a line per move, the statistics computer players post, the
// results) and saves them as a text file. It only shows and stores text; the
// game and the players format every line.
//
// The text always ends with a line end, so its last line is empty.

#include "game/GameUi.h"

#include <QDialog>
#include <QPointer>
#include <QRect>

class QPlainTextEdit;
class QPushButton;

namespace quintrel {
class SettingsBackend;
}

namespace quintrel::ui {

class CLogWindow : public QDialog {
    Q_OBJECT
public:
    CLogWindow(SettingsBackend& store, QWidget* parent);

    void clear();
    void addSeparator();
    void appendLine(const QString& text);
    void writeHeader();
    void appendToLastLine(const QString& text);

    QString text() const;
    bool saveTo(const QString& path); // false when the file cannot be written

    // Stores the normal rectangle as "LogWndRect".
    void storeRect();

signals:
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override; // Esc and Close

private:
    void onSave();
    void placeFromSettings();

    SettingsBackend& store;
    QPlainTextEdit* edit;
    QPushButton* saveButton;
    QPushButton* closeButton;
    QRect wantedFrame; // until the first showing, where the frame is to go
    bool firstPlacement = false; // no stored rectangle: the default one, wholly on the screen
};

// The document's log calls, served by the log window while it is open and
// dropped while it is not; the frame opens and closes the window here.
class CLogPane : public LogUi {
public:
    CLogWindow* window() const { return open.data(); }
    void setWindow(CLogWindow* w) { open = w; }

    void logClear() override { if (open) open->clear(); }
    void logAddSeparator() override { if (open) open->addSeparator(); }
    void logAppendLine(const std::string& text) override { if (open) open->appendLine(QString::fromStdString(text)); }
    void logWriteHeader() override { if (open) open->writeHeader(); }
    void logAppendToLastLine(const std::string& text) override {
        if (open) open->appendToLastLine(QString::fromStdString(text));
    }
    void setLogMuted(bool m) override { muted = m; }
    bool logMuted() const override { return muted; }

private:
    QPointer<CLogWindow> open;
    bool muted = false;
};

} // namespace quintrel::ui
