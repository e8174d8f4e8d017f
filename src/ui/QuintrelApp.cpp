#include "ui/QuintrelApp.h"

#include "app/OptionValues.h"
#include "board/Board.h"
#include "board/Random.h"
#include "game/QuintrelGam.h"
#include "players/HumanPlayer.h"
#include "catalogue/PlayerDatabase.h"
#include "search/TreePlayer.h"
#include "ui/DlgSeams.h"
#include "ui/MainFrame.h"
#include "ui/UiHooks.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace quintrel::ui {

namespace {
CMainFrame* activeFrame = nullptr;

void memoryWarning(const std::string& caption, const std::string& text)
{
    showMessage(activeFrame, QString::fromStdString(text), QString::fromStdString(caption), QMessageBox::Warning);
}

// The board reports this from whichever thread plays the move, often a search
// worker, so the beep and the box are handed to the UI thread.
void journalOverflow(const char* text, const char* caption)
{
    const QString t = QString::fromUtf8(text);
    const QString c = QString::fromUtf8(caption);
    QMetaObject::invokeMethod(
        qApp,
        [t, c] {
            beep();
            showMessage(activeFrame, t, c, QMessageBox::Critical);
        },
        Qt::QueuedConnection);
}
} // namespace

CQuintrelApp::CQuintrelApp(SettingsBackend& settings) : store(settings)
{
    players = std::make_unique<CPlayerDatabase>(store);
    installDialogSeams(*players);
    rng::seedWithTime();
}

CQuintrelApp::~CQuintrelApp()
{
    if (mainFrame)
        mainFrame->shutDown(); // stops any search before a player can go
    // The document still talks to the frame while it stops, so it goes first.
    doc.reset();
    if (activeFrame == mainFrame.get())
        activeFrame = nullptr;
    CHumanPlayer::setViewLocator(nullptr);
    mainFrame.reset();
    players->shutdown();
}

// Loading the players is where a damaged list is repaired, once per start.
void CQuintrelApp::reportRepairedPlayers()
{
    if (!players->listRepaired())
        return;
    const auto& backup = players->damagedListBackup();
    const QString kept = backup ? QStringLiteral("The settings as they were are kept in %1.").arg(
                                      QFile::decodeName(backup->c_str()))
                                : QStringLiteral("The settings as they were could not be kept in a backup.");
    showMessage(mainFrame.get(),
                QStringLiteral("The stored list of players was damaged. Players that could not be read have been "
                               "left out, and the list was repaired.\n\n")
                    + kept,
                QStringLiteral("Quintrel++"), QMessageBox::Warning);
}

bool CQuintrelApp::start(const QString& file)
{
    OptionValues options;
    options.load(store);
    doc = std::make_unique<CQuintrelGam>(*players, options);
    mainFrame = std::make_unique<CMainFrame>(store);
    activeFrame = mainFrame.get();
    CMainFrame* frame = mainFrame.get();
    CHumanPlayer::setViewLocator([frame]() -> BoardInput* { return frame->view(); });
    CTreePlayer::setMemoryWarningHandler(&memoryWarning);
    journalOverflowHandler.store(&journalOverflow);

    doc->attachView(*frame, frame->port());
    frame->setDocument(doc.get());
    reportRepairedPlayers();
    if (file.isEmpty())
        return doc->onNewDocument();
    const QString path = QFileInfo(file).absoluteFilePath();
    if (!doc->openFile(path.toStdString()))
        return false;
    frame->addRecentFile(path);
    frame->updateCommands();
    return true;
}

} // namespace quintrel::ui
