#include "ui/InfoBoxes.h"

#include "ui/Artwork.h"
#include "ui/UiHooks.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef QUINTREL_GUIDE_FROM_BIN
#define QUINTREL_GUIDE_FROM_BIN "../share/quintrel"
#endif

namespace quintrel::ui {

// An installed game keeps its guide in its data folder, found from
// the executable so that a moved install still finds it; a build started from
// the source tree finds it beside the executable or in the working folder.
QString installedGuideFolder()
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(QUINTREL_GUIDE_FROM_BIN)));
}

QString userGuidePath()
{
    const QString name = QString::fromLatin1(USER_GUIDE_FILE);
    for (const QString& candidate : {QDir(installedGuideFolder()).filePath(name),
                                     QDir(QCoreApplication::applicationDirPath()).filePath(name), name})
        if (QFileInfo(candidate).isFile())
            return candidate;
    return name;
}

bool userGuideReadable()
{
    QFile file(userGuidePath());
    return file.open(QIODevice::ReadOnly);
}

CUserGuideBox::CUserGuideBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("User Guide"));
    edit = new QPlainTextEdit(this);
    edit->setObjectName(QStringLiteral("1049"));
    edit->setReadOnly(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    edit->setFont(font);
    // Wide enough for 80 columns of the guide.
    edit->setMinimumSize(QFontMetrics(font).horizontalAdvance(QString(82, QLatin1Char('x'))) + 30, 380);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

bool CUserGuideBox::load(QFile& file)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString all;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty() && file.error() != QFile::NoError)
            break;
        QString s = QString::fromUtf8(line);
        while (s.endsWith(QLatin1Char('\n')) || s.endsWith(QLatin1Char('\r')))
            s.chop(1);
        all += s + QLatin1Char('\n');
    }
    edit->setPlainText(all);
    QGuiApplication::restoreOverrideCursor();
    return file.error() == QFile::NoError;
}

QString CUserGuideBox::text() const
{
    return edit->toPlainText();
}

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Quintrel++"));
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* picture = new QLabel(frame);
    picture->setPixmap(makeAppPicture(96));
    auto* icon = new QLabel(frame);
    icon->setPixmap(makeAppIcon().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Quintrel++"), frame);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(QStringLiteral("Version  2.1"), frame);
    auto* more = new QLabel(QStringLiteral("See the readme file for additional information"), frame);

    auto* texts = new QVBoxLayout;
    auto* title = new QHBoxLayout;
    title->addWidget(icon);
    title->addWidget(name);
    title->addStretch();
    texts->addLayout(title);
    texts->addWidget(version);
    texts->addWidget(more);
    texts->addStretch();
    auto* inner = new QHBoxLayout(frame);
    inner->addWidget(picture);
    inner->addLayout(texts);

    auto* ok = new QPushButton(QStringLiteral("O&K"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

CGreetingBox::CGreetingBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Author's greeting"));
    auto* picture = new QLabel(this);
    picture->setPixmap(makeAppPicture(180));
    auto* caption = new QLabel(QStringLiteral("Greetings from the author, and good games!"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(caption, 0, Qt::AlignHCenter);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

bool showUserGuide(QWidget* parent)
{
    const QString name = QString::fromLatin1(USER_GUIDE_FILE);
    QFile file(userGuidePath());
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(parent, QStringLiteral("Cannot open the file ") + name, QStringLiteral("Sorry"),
                    QMessageBox::Critical);
        return false;
    }
    CUserGuideBox box(parent);
    if (!box.load(file)) {
        showMessage(parent, QStringLiteral("There have been problems by reading the file ") + name,
                    QStringLiteral("Error"), QMessageBox::Critical);
        return true;
    }
    runDialog(box);
    return true;
}

void showAbout(QWidget* parent)
{
    CAboutBox box(parent);
    runDialog(box);
}

void showGreeting(QWidget* parent)
{
    CGreetingBox box(parent);
    runDialog(box);
}

} // namespace quintrel::ui
