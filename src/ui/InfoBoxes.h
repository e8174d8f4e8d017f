#pragma once
// The informational boxes of the Help menu: the user guide (the plain-text
// file "readme.txt", see userGuidePath), About, and the author's
// greeting that the board view opens on a hidden key sequence.

#include <QDialog>

class QFile;
class QPlainTextEdit;

namespace quintrel::ui {

inline constexpr const char* USER_GUIDE_FILE = "readme.txt";

// Where the user guide is: the install's documentation folder, else the
// executable's folder, else the working folder.
QString installedGuideFolder();
QString userGuidePath();
// Whether the user guide can be opened for reading now.
bool userGuideReadable();

class CUserGuideBox : public QDialog {
    Q_OBJECT
public:
    explicit CUserGuideBox(QWidget* parent);
    // Reads the file line by line into the box; false on a read error.
    bool load(QFile& file);
    QString text() const;

private:
    QPlainTextEdit* edit;
};

class CAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit CAboutBox(QWidget* parent);
};

class CGreetingBox : public QDialog {
    Q_OBJECT
public:
    explicit CGreetingBox(QWidget* parent);
};

// "&User Guide...": runs the box, or tells why it cannot. Answers whether the
// file could be opened, which the frame keeps as userGuideAvailable.
bool showUserGuide(QWidget* parent);
void showAbout(QWidget* parent);
void showGreeting(QWidget* parent);

} // namespace quintrel::ui
