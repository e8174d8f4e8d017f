#include "ui/MainFrame.h"

#include "app/RegistryKey.h"
#include "game/QuintrelGam.h"
#include "players/Player.h"
#include "catalogue/PlayerDatabase.h"
#include "players/PlayerDefinition.h"
#include "ui/Artwork.h"
#include "ui/DlgSeams.h"
#include "ui/InfoBoxes.h"
#include "ui/LogWindow.h"
#include "ui/PortSink.h"
#include "ui/ScreenPlacement.h"
#include "ui/UiHooks.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <cstdint>

namespace quintrel::ui {

namespace {
QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

const char* const GAME_FILTER = "Quintrel++ Games (*.gam);;All Files (*)";

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The examined set belongs to the player on move when it marks one, else to
// the other side's; without such a player nothing is examined.
bool examinedBySearch(const CQuintrelGam& doc, int x, int y)
{
    for (const CPlayer* p : {doc.onMovePlayer(), doc.otherPlayer()})
        if (p && p->marksExamined())
            return p->isExamined(doc.board(), x, y);
    return false;
}

void stopAdvisor(CQuintrelGam& doc)
{
    if (doc.adviceRequested() && doc.database().expertPlayer())
        doc.database().expertPlayer()->stopThinking();
}

bool isGameFile(const QString& path)
{
    return path.endsWith(QLatin1String(".gam"), Qt::CaseInsensitive);
}
} // namespace

// ---- The view's window on the game document ----

class CMainFrame::ViewBridge : public ViewGame {
public:
    explicit ViewBridge(CQuintrelGam& document) : doc(document) {}
    int cell(int x, int y) const override { return doc.board().cell(x, y); }
    int worth(int x, int y, Side side) const override { return doc.board().pattern(x, y, side).worth; }
    Side sideToMove() const override { return doc.sideToMove(); }
    bool computing() const override { return doc.computing(); }
    bool computersPlayEachOther() const override
    {
        const PlayerSelection& p = doc.players();
        return p.savedO != nullptr
            || (p.playerO && p.playerX && p.playerO->isComputer == 1 && p.playerX->isComputer == 1);
    }
    bool isExamined(int x, int y) const override { return examinedBySearch(doc, x, y); }
    bool replaying() const override { return doc.replaying(); }
    void deliverMove(GameMove move) override { doc.onMoveDelivered(move); }
    void handleMessage(const PortMessage& msg) override { doc.handleMessage(msg); }
    void replayStep() override { doc.onReplayTimer(); }
    std::vector<Field> movesOnBoard() const override
    {
        std::vector<Field> fields;
        for (int i = 0; i < doc.current(); ++i)
            fields.push_back(doc.move(i).field);
        return fields;
    }

private:
    CQuintrelGam& doc;
};

ViewGame* CMainFrame::gameBoard() const
{
    return bridge.get();
}

// ---- Creation ----

CMainFrame::CMainFrame(SettingsBackend& settings, QWidget* parent) : QMainWindow(parent), store(settings)
{
    setWindowIcon(makeAppIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    boardView = new CQuintrelView(store, this);
    setCentralWidget(boardView);
    windowPort = std::make_shared<CWindowPort>(boardView, this);

    createAnalysisPanel();
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    connect(boardView, &CQuintrelView::displayChanged, this, &CMainFrame::updateCommands);
    connect(boardView, &CQuintrelView::greetingRequested, this, [this] { showGreeting(this); });

    fitWindow();
    placeWindow();
    if (boardView->zoom() != 100)
        onZoomChanged(); // a position kept from a smaller zoom may reach off the screen
    guideAvailable = userGuideReadable();
    setAcceptDrops(true);
    // Alt+A reaches the frame's filter from whichever of its widgets has the
    // focus, not from the whole application.
    boardView->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old && old != boardView)
            old->removeEventFilter(this);
        if (now && now->window() == this)
            now->installEventFilter(this);
    });
    updateTitle();
    updateCommands();
    boardView->setFocus();
}

CMainFrame::~CMainFrame()
{
    shutDown();
    windowPort->detach();
}

void CMainFrame::setDocument(CQuintrelGam* document)
{
    doc = document;
    bridge = doc ? std::make_unique<ViewBridge>(*doc) : nullptr;
    boardView->setGame(bridge.get());
    if (doc) {
        const CPlayerDatabase& db = doc->database();
        if (const PlayerDefinition* human = db.definition(static_cast<std::uint32_t>(db.humanIndex())))
            panes[1]->setText(qs(human->name) + QStringLiteral(" on move."));
    }
    updateTitle();
    updateCommands();
}

std::shared_ptr<MessageSink> CMainFrame::port() const
{
    return windowPort;
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false); // the frame has a fixed size
    readyPane = new QLabel(QStringLiteral("Ready"), bar);
    bar->addWidget(readyPane, 1);
    const QFontMetrics fm(bar->font());
    panes[1] = new QLabel(bar);
    panes[1]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("XXXXXXXXXXXXXXXXXX")) + 6);
    panes[2] = new QLabel(bar);
    panes[2]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("333/333")) + 16);
    for (int i : {1, 2}) {
        panes[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panes[i]->setObjectName(QStringLiteral("pane%1").arg(i));
        bar->addPermanentWidget(panes[i]);
    }
    // Until the game writes its own texts: the human on move, move 1.
    panes[2]->setText(QStringLiteral("  1. A"));
}

// ---- Size and position ----

void CMainFrame::fitWindow()
{
    if (QLayout* l = layout())
        l->activate();
    // The view keeps its 394 x 394 pixels; the frame grows or shrinks with the bars.
    const QSize size = sizeHint();
    setFixedSize(size);
    toolBarHeight = tools->isVisible() || !tools->isHidden() ? tools->sizeHint().height() : toolBarHeight;
    statusBarHeight = statusBar()->sizeHint().height();
}

// The frame takes the view's new size; what would then lie off the screen is
// brought back onto it.
void CMainFrame::onZoomChanged()
{
    fitWindow();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const int x = std::max(avail.left(), std::min(frame.left(), avail.right() + 1 - frame.width()));
    const int y = std::max(avail.top(), std::min(frame.top(), avail.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        move(pos() + QPoint(x - frame.left(), y - frame.top()));
}

void CMainFrame::placeWindow()
{
    CRegistryKey key(store, KEY_APPLICATION);
    std::int32_t pos[2] = {};
    if (!key.readBytes("MainWndPos", pos, sizeof pos)) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        pos[0] = static_cast<std::int32_t>(static_cast<unsigned>(screen.width() - width()) / 2u);
        pos[1] = 0;
        key.writeBytes("MainWndPos", pos, sizeof pos);
    }
    // A position on a screen that is gone comes back where the user can reach it.
    move(reachableFrame(QRect(QPoint(pos[0], pos[1]), frameGeometry().size())).topLeft());
}

void CMainFrame::storeWindowPos()
{
    const QPoint p = isMinimized() ? normalGeometry().topLeft() : pos();
    const std::int32_t pos[2] = {p.x(), p.y()};
    CRegistryKey key(store, KEY_APPLICATION);
    key.writeBytes("MainWndPos", pos, sizeof pos);
}

void CMainFrame::toggleToolBar(bool shown)
{
    tools->setVisible(shown);
    fitWindow();
    updateCommands();
}

void CMainFrame::toggleStatusBar(bool shown)
{
    statusBar()->setVisible(shown);
    fitWindow();
    updateCommands();
}

// ---- Showing and closing ----

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce)
        return;
    shownOnce = true;
    CRegistryKey key(store, KEY_APPLICATION);
    std::uint32_t open = 0;
    if (key.readNumber("bOpenLogOnStartup", open) && open != 0 && !logPane.window())
        toggleLogWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (doc && !doc->askBeforeDiscard()) {
        event->ignore();
        return;
    }
    shutDown();
    event->accept();
}

void CMainFrame::stopAllThinking()
{
    if (!doc)
        return;
    // A search must have ended before anything can destroy its player; the
    // move it still posts goes nowhere once the port is detached.
    if (doc->thinking() || doc->busy()) {
        for (int side : {SIDE_O, SIDE_X})
            if (CPlayer* p = doc->players().onMove(side); p && p->isComputer == 1)
                p->stopThinking();
        stopAdvisor(*doc);
    }
    boardView->stopReplayTimer();
}

void CMainFrame::shutDown()
{
    if (shutDownDone)
        return;
    shutDownDone = true;
    analysisPane->cancelGame();
    analysisPane->stopLive();
    analysisPane->storeSettings();
    stopAllThinking();
    windowPort->detach();
    storeWindowPos();
    if (shownOnce) {
        CRegistryKey key(store, KEY_APPLICATION);
        key.writeNumber("bOpenLogOnStartup", static_cast<std::uint32_t>(logPane.window() ? 1 : 0));
    }
    if (CLogWindow* log = logPane.window()) {
        log->storeRect();
        delete log;
    }
    boardView->storeSettings();
    store.flush();
}

// ---- Messages from players ----

void CMainFrame::customEvent(QEvent* event)
{
    if (event->type() != PortEvent::eventType()) {
        QMainWindow::customEvent(event);
        return;
    }
    const PortMessage& msg = static_cast<PortEvent*>(event)->message;
    if (msg.wParam != MSG_TAG || !doc || boardView->deferWhileDraining(this, msg))
        return;
    if (msg.id == MSG_LOG || msg.id == MSG_PROGRESS || msg.id == MSG_LOG_LINE)
        doc->handleMessage(msg);
}

// ---- Log window ----

void CMainFrame::toggleLogWindow()
{
    if (CLogWindow* log = logPane.window()) {
        log->storeRect();
        delete log;
        actions[ID_VIEW_LOG]->setChecked(false);
        return;
    }
    auto* log = new CLogWindow(store, this);
    logPane.setWindow(log);
    connect(log, &CLogWindow::closedByUser, this, &CMainFrame::onLogClosed);
    log->show();
    actions[ID_VIEW_LOG]->setChecked(true);
    activateWindow();
}

void CMainFrame::onLogClosed()
{
    if (CLogWindow* log = logPane.window())
        log->deleteLater();
    logPane.setWindow(nullptr);
    actions[ID_VIEW_LOG]->setChecked(false);
}

// ---- Commands ----

QAction* CMainFrame::action(int id) const
{
    auto it = actions.find(id);
    return it == actions.end() ? nullptr : it->second;
}

CLogWindow* CMainFrame::logWindow() const
{
    return logPane.window();
}

QString CMainFrame::paneText(int pane) const
{
    if (pane == 0)
        return readyPane->text();
    return panes[pane]->text();
}

void CMainFrame::updateTitle()
{
    const QString title = doc ? qs(doc->title()) : QStringLiteral("Untitled");
    setWindowTitle(title + QStringLiteral(" - Quintrel++"));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // Alt+A: the Advice accelerator wins over the "&Action" mnemonic.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* w = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_A && key->modifiers() == Qt::AltModifier && w && w->window() == this) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                updateCommands();
                if (actions[ID_ADVICE]->isEnabled())
                    actions[ID_ADVICE]->trigger();
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Game files ----

void CMainFrame::fileOpen()
{
    const QString path = chooseFile(this, FileDialogKind::OpenGame, QStringLiteral("Open"),
                                    QString::fromUtf8(GAME_FILTER), QString());
    if (!path.isEmpty())
        openGame(path);
}

bool CMainFrame::openGame(const QString& path)
{
    if (!doc)
        return false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool ok = doc->commandOpen(absolute.toStdString());
    if (ok)
        addRecentFile(absolute);
    updateCommands();
    return ok;
}

void CMainFrame::fileSave()
{
    if (doc && doc->save())
        addRecentFile(qs(doc->path()));
    updateCommands();
}

void CMainFrame::fileSaveAs()
{
    if (!doc)
        return;
    const QString path = chooseFile(this, FileDialogKind::SaveGame, QStringLiteral("Save As"),
                                    QString::fromUtf8(GAME_FILTER), qs(doc->title()));
    if (!path.isEmpty() && doc->saveAs(path.toStdString()))
        addRecentFile(qs(doc->path()));
    updateCommands();
}

bool CMainFrame::runWhoPlays(PlayerSelection& players)
{
    return runWhoPlaysDialog(this, players);
}

bool CMainFrame::runOptions(OptionValues& options, CPlayerDatabase& database)
{
    return runOptionsDialog(this, options, database);
}

std::optional<std::string> CMainFrame::chooseSavePath(const std::string& suggestedName)
{
    const QString path = chooseFile(this, FileDialogKind::SaveGame, QStringLiteral("Save As"),
                                    QString::fromUtf8(GAME_FILTER), qs(suggestedName));
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

QStringList CMainFrame::recentFiles() const
{
    return recent.files();
}

void CMainFrame::addRecentFile(const QString& path)
{
    recent.add(path);
    rebuildRecentMenu();
}

void CMainFrame::rebuildRecentMenu()
{
    const QStringList files = recent.files();
    const bool busy = doc && doc->busy();
    for (int i = 0; i < CRecentFiles::COUNT; ++i) {
        QAction* r = recentActions[i];
        if (i < files.size()) {
            r->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
            r->setData(files[i]);
            r->setVisible(true);
            r->setEnabled(!busy);
        } else {
            // An empty list shows one greyed "Recent File" entry.
            r->setText(QStringLiteral("Recent File"));
            r->setData(QString());
            r->setVisible(i == 0 && files.isEmpty());
            r->setEnabled(false);
        }
    }
}

void CMainFrame::openRecent(int index)
{
    const QString path = recentActions[index]->data().toString();
    if (path.isEmpty())
        return;
    if (!openGame(path) && !QFileInfo::exists(path)) {
        recent.remove(path); // a file that is gone leaves the list
        rebuildRecentMenu();
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile() && isGameFile(url.toLocalFile())) {
                event->acceptProposedAction();
                return;
            }
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (doc && doc->busy())
        return;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && isGameFile(url.toLocalFile()))
            openGame(url.toLocalFile());
    event->acceptProposedAction();
}

void CMainFrame::userGuide()
{
    guideAvailable = showUserGuide(this);
    updateCommands();
}

// ---- GameUi: the view and the log pane serve their own parts ----

BoardUi& CMainFrame::boardUi()
{
    return *boardView;
}

LogUi& CMainFrame::logUi()
{
    return logPane;
}

void CMainFrame::setStatusText(int pane, const std::string& text)
{
    if (pane == PANE_TURN || pane == PANE_COUNTER)
        panes[pane]->setText(qs(text));
}

void CMainFrame::messageBox(const std::string& text, const std::string& caption, MessageIcon icon)
{
    updateCommands();
    showMessage(this, qs(text), qs(caption), boxIcon(icon));
}

MessageAnswer CMainFrame::askYesNoCancel(const std::string& text, const std::string& caption)
{
    const auto answer = showMessage(this, qs(text), qs(caption), QMessageBox::Warning,
                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return MessageAnswer::Yes;
    if (answer == QMessageBox::No)
        return MessageAnswer::No;
    return MessageAnswer::Cancel;
}

void CMainFrame::beep()
{
    ui::beep();
}

void CMainFrame::stateChanged()
{
    syncAnalysis();
    updateCommands();
}

} // namespace quintrel::ui
