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

#include <QActionGroup>
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
const char* const KEY_RECENT_FILES = "SOFTWARE\\Zekta\\Quintrel++\\Recent File List";

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

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

// ---- Creation ----

CMainFrame::CMainFrame(SettingsBackend& settings, QWidget* parent) : QMainWindow(parent), store(settings)
{
    setWindowIcon(makeAppIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    boardView = new CQuintrelView(store, this);
    setCentralWidget(boardView);
    windowPort = std::make_shared<CWindowPort>(boardView, this);

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
    qApp->installEventFilter(this);
    updateTitle();
    updateCommands();
    boardView->setFocus();
}

CMainFrame::~CMainFrame()
{
    shutDown();
    qApp->removeEventFilter(this);
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

QAction* CMainFrame::addCommand(int id, const QString& text, const QKeySequence& key, const QString& prompt)
{
    auto* a = new QAction(text, this);
    a->setObjectName(QString::number(id));
    if (!key.isEmpty())
        a->setShortcut(key);
    const int nl = prompt.indexOf(QLatin1Char('\n'));
    a->setStatusTip(nl < 0 ? prompt : prompt.left(nl));
    if (nl >= 0)
        a->setToolTip(prompt.mid(nl + 1));
    actions[id] = a;
    return a;
}

void CMainFrame::createActions()
{
    using K = QKeySequence;
    connect(addCommand(ID_FILE_NEW, "&New\tCtrl+N", K(Qt::CTRL | Qt::Key_N), "Start a new game\nNew Game"),
            &QAction::triggered, this, [this] {
                if (doc && doc->commandNew())
                    updateTitle();
            });
    connect(addCommand(ID_FILE_OPEN, "&Open...\tCtrl+O", K(Qt::CTRL | Qt::Key_O), "Open a saved game\nOpen Game"),
            &QAction::triggered, this, &CMainFrame::fileOpen);
    connect(addCommand(ID_FILE_SAVE, "&Save\tCtrl+S", K(Qt::CTRL | Qt::Key_S), "Save the current game\nSave Game"),
            &QAction::triggered, this, &CMainFrame::fileSave);
    connect(addCommand(ID_FILE_SAVE_AS, "Save &As...", K(), "Save the current game with a new name\nSave As"),
            &QAction::triggered, this, &CMainFrame::fileSaveAs);
    connect(addCommand(ID_OPTIONS, "O&ptions...", K(), "Set up options for the program\nOptions"),
            &QAction::triggered, this, [this] { if (doc) doc->options(); });
    connect(addCommand(ID_APP_EXIT, "E&xit", K(), "Quit the Quintrel++\nExit"), &QAction::triggered, this,
            &QWidget::close);

    connect(addCommand(ID_WHO_PLAYS, "&Who Plays...", K(), "Choose players for current game\nWho Plays"),
            &QAction::triggered, this, [this] { if (doc) doc->whoPlays(); });
    connect(addCommand(ID_SWITCH_SIDES, "&Switch Sides\tAlt+S", K(Qt::ALT | Qt::Key_S), "Switch players\nSwitch Sides"),
            &QAction::triggered, this, [this] { if (doc) doc->switchSides(); });
    connect(addCommand(ID_AUTOPLAY, "&Autoplay", K(), "Computer plays for both sides\nAutoplay"),
            &QAction::triggered, this, [this] { if (doc) doc->autoplay(); });
    connect(addCommand(ID_OPPONENT_SETTINGS, "&Opponent's Settings..", K(),
                       "Edit settings of current computer player\nOpponent's Settings"),
            &QAction::triggered, this, [this] { if (doc) doc->opponentSettings(); });
    connect(addCommand(ID_EDIT_PLAYERS, "&Edit Players...", K(), "Add, remove or change available players\nEdit Players"),
            &QAction::triggered, this, [this] { if (doc) doc->editPlayers(); });

    connect(addCommand(ID_MOVE_BACK, "Move &Back\tAlt+B", K(Qt::ALT | Qt::Key_B), "Undo the last move\nMove Back"),
            &QAction::triggered, this, [this] { if (doc) doc->moveBack(); });
    connect(addCommand(ID_MOVE_FORWARD, "Move &Forward\tAlt+F", K(Qt::ALT | Qt::Key_F), "Replay the next move\nMove Forward"),
            &QAction::triggered, this, [this] { if (doc) doc->moveForward(); });
    connect(addCommand(ID_UNDO_ALL, "&Undo All Moves\tAlt+U", K(Qt::ALT | Qt::Key_U),
                       "Return to the initial position\nUndo All Moves"),
            &QAction::triggered, this, [this] { if (doc) doc->undoAll(); });
    connect(addCommand(ID_REDO_ALL, "Re&do All Moves\tAlt+D", K(Qt::ALT | Qt::Key_D), "Go to the final position\nRedo All Moves"),
            &QAction::triggered, this, [this] { if (doc) doc->redoAll(); });
    connect(addCommand(ID_REPLAY, "&Replay Game\tAlt+R", K(Qt::ALT | Qt::Key_R), "Replay the game\nReplay"),
            &QAction::triggered, this, [this] { if (doc) doc->replay(); });
    connect(addCommand(ID_STOP_THINKING, "&Stop Thinking\tEsc", K(Qt::Key_Escape),
                       "Require computer to play immediately\nStop Thinking"),
            &QAction::triggered, this, [this] { if (doc) doc->stopThinking(); });

    QAction* a = addCommand(ID_VIEW_TOOLBAR, "&Toolbar", K(), "Show or hide the toolbar\nToggle ToolBar");
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, &CMainFrame::toggleToolBar);
    a = addCommand(ID_VIEW_STATUS_BAR, "&Status Bar", K(), "Show or hide the status bar\nToggle StatusBar");
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, &CMainFrame::toggleStatusBar);
    a = addCommand(ID_VIEW_LOG, "&Log Window", K(), "Show or hide the log window\nToggle LogWindow");
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, &CMainFrame::toggleLogWindow);
    a = addCommand(ID_VIEW_ALL_EXAMINED, "&All Examined Fields\tCtrl+A", K(Qt::CTRL | Qt::Key_A),
                   "Show or hide all examined fields");
    a->setCheckable(true);
    connect(a, &QAction::triggered, boardView, &CQuintrelView::toggleAllExamined);
    a = addCommand(ID_VIEW_EXAMINED_FIELD, "Currently Examined &Field\tCtrl+F", K(Qt::CTRL | Qt::Key_F),
                   "Toggle marking of currently examined field");
    a->setCheckable(true);
    connect(a, &QAction::triggered, boardView, &CQuintrelView::toggleExaminedField);
    a = addCommand(ID_VIEW_WORTH, "&Worth Of Fields\tCtrl+W", K(Qt::CTRL | Qt::Key_W), "Show or hide worth of fields");
    a->setCheckable(true);
    connect(a, &QAction::triggered, boardView, &CQuintrelView::toggleWorthOfFields);
    connect(addCommand(ID_VIEW_WORTH_MODE, "Follow Side On Move\tCtrl+I", K(Qt::CTRL | Qt::Key_I),
                       "Whose worth of fields will be displayed"),
            &QAction::triggered, boardView, &CQuintrelView::cycleWorthMode);
    a = addCommand(ID_VIEW_LAST_MOVE, "Last Move Marker", K(), "Mark the stone played last");
    a->setCheckable(true);
    connect(a, &QAction::triggered, boardView, &CQuintrelView::toggleLastMove);
    a = addCommand(ID_VIEW_MOVE_NUMBERS, "Move Numbers", K(), "Show on every stone the number of its move");
    a->setCheckable(true);
    connect(a, &QAction::triggered, boardView, &CQuintrelView::toggleMoveNumbers);
    // Ctrl+= too: on most keyboards "+" needs Shift.
    a = addCommand(ID_VIEW_ZOOM_IN, "Zoom In\tCtrl++", K(Qt::CTRL | Qt::Key_Plus), "Show the board larger");
    a->setShortcuts({K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)});
    connect(a, &QAction::triggered, boardView, &CQuintrelView::zoomIn);
    connect(addCommand(ID_VIEW_ZOOM_OUT, "Zoom Out\tCtrl+-", K(Qt::CTRL | Qt::Key_Minus), "Show the board smaller"),
            &QAction::triggered, boardView, &CQuintrelView::zoomOut);
    auto* zooms = new QActionGroup(this);
    for (std::size_t i = 0; i < CBoardGeometry::ZOOMS.size(); ++i) {
        const int percent = CBoardGeometry::ZOOMS[i];
        a = addCommand(ID_VIEW_ZOOM_FIRST + static_cast<int>(i), QStringLiteral("%1%").arg(percent), K(),
                       QStringLiteral("Show the board at %1%").arg(percent));
        a->setCheckable(true);
        zooms->addAction(a);
        connect(a, &QAction::triggered, boardView, [this, percent] { boardView->setZoom(percent); });
    }

    // Alt+A is also the "&Action" menu's mnemonic; the event filter gives the
    // accelerator precedence, as a menu accelerator table would.
    connect(addCommand(ID_ADVICE, "&Advice\tAlt+A", K(), "Suggest next move\nAdvice"), &QAction::triggered, this,
            [this] { if (doc) doc->advice(); });
    connect(addCommand(ID_USER_GUIDE, "&User Guide...", K(), "Display the readme file"), &QAction::triggered, this,
            &CMainFrame::userGuide);
    connect(addCommand(ID_APP_ABOUT, "About &Quintrel++...", K(), "Display program information\nAbout"),
            &QAction::triggered, this, [this] { showAbout(this); });

    for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
        QAction* r = addCommand(ID_FILE_MRU_FIRST + i, QStringLiteral("Recent File"), K(), "Open this game");
        connect(r, &QAction::triggered, this, [this, i] { openRecent(i); });
        recentActions.append(r);
    }
    for (auto& [id, act] : actions)
        addAction(act); // shortcuts work while the menus are closed
}

void CMainFrame::createMenus()
{
    gameMenu = menuBar()->addMenu(QStringLiteral("&Game"));
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        gameMenu->addAction(actions[id]);
    gameMenu->addSeparator();
    gameMenu->addAction(actions[ID_OPTIONS]);
    gameMenu->addSeparator();
    for (QAction* r : recentActions)
        gameMenu->addAction(r);
    recentSeparator = gameMenu->addSeparator();
    gameMenu->addAction(actions[ID_APP_EXIT]);
    connect(gameMenu, &QMenu::aboutToShow, this, &CMainFrame::rebuildRecentMenu);

    QMenu* players = menuBar()->addMenu(QStringLiteral("&Players"));
    for (int id : {ID_WHO_PLAYS, ID_SWITCH_SIDES, ID_AUTOPLAY})
        players->addAction(actions[id]);
    players->addSeparator();
    players->addAction(actions[ID_OPPONENT_SETTINGS]);
    players->addAction(actions[ID_EDIT_PLAYERS]);

    QMenu* act = menuBar()->addMenu(QStringLiteral("&Action"));
    act->addAction(actions[ID_MOVE_BACK]);
    act->addAction(actions[ID_MOVE_FORWARD]);
    act->addSeparator();
    act->addAction(actions[ID_UNDO_ALL]);
    act->addAction(actions[ID_REDO_ALL]);
    act->addAction(actions[ID_REPLAY]);
    act->addSeparator();
    act->addAction(actions[ID_STOP_THINKING]);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_LOG})
        view->addAction(actions[id]);
    view->addSeparator();
    view->addAction(actions[ID_VIEW_ALL_EXAMINED]);
    view->addAction(actions[ID_VIEW_EXAMINED_FIELD]);
    view->addSeparator();
    view->addAction(actions[ID_VIEW_WORTH]);
    view->addAction(actions[ID_VIEW_WORTH_MODE]);
    view->addSeparator();
    view->addAction(actions[ID_VIEW_LAST_MOVE]);
    view->addAction(actions[ID_VIEW_MOVE_NUMBERS]);
    createZoomMenu(view);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(actions[ID_ADVICE]);
    help->addSeparator();
    help->addAction(actions[ID_USER_GUIDE]);
    help->addAction(actions[ID_APP_ABOUT]);

    for (QMenu* m : {gameMenu, players, act, view, help})
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::updateCommands);
    rebuildRecentMenu();
}

void CMainFrame::createZoomMenu(QMenu* view)
{
    QMenu* zoom = view->addMenu(QStringLiteral("&Zoom"));
    for (std::size_t i = 0; i < CBoardGeometry::ZOOMS.size(); ++i)
        zoom->addAction(actions[ID_VIEW_ZOOM_FIRST + static_cast<int>(i)]);
    zoom->addSeparator();
    zoom->addAction(actions[ID_VIEW_ZOOM_IN]);
    zoom->addAction(actions[ID_VIEW_ZOOM_OUT]);
    connect(boardView, &CQuintrelView::zoomChanged, this, &CMainFrame::onZoomChanged);
}

void CMainFrame::createToolBar()
{
    tools = new QToolBar(QStringLiteral("Toolbar"), this);
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setIconSize(QSize(16, 15));
    tools->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    tools->setFloatable(true);
    tools->setMovable(true);
    const int groups[][5] = {{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, 0},
                             {ID_SWITCH_SIDES, ID_STOP_THINKING, 0, 0, 0},
                             {ID_UNDO_ALL, ID_MOVE_BACK, ID_REPLAY, ID_MOVE_FORWARD, ID_REDO_ALL},
                             {ID_OPPONENT_SETTINGS, 0, 0, 0, 0},
                             {ID_ADVICE, 0, 0, 0, 0}};
    bool first = true;
    for (const auto& group : groups) {
        if (!first)
            tools->addSeparator();
        first = false;
        for (int id : group) {
            if (id == 0)
                break;
            actions[id]->setIcon(makeCommandIcon(id));
            tools->addAction(actions[id]);
        }
    }
    addToolBar(Qt::TopToolBarArea, tools);
    // A toolbar that floats or docks again changes the frame's height.
    connect(tools, &QToolBar::topLevelChanged, this, [this] { QTimer::singleShot(0, this, &CMainFrame::fitWindow); });
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
    if (key.readNumber("bOpenLogOnStartup", open) && open != 0 && !log)
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
    stopAllThinking();
    windowPort->detach();
    storeWindowPos();
    if (shownOnce) {
        CRegistryKey key(store, KEY_APPLICATION);
        key.writeNumber("bOpenLogOnStartup", static_cast<std::uint32_t>(log ? 1 : 0));
    }
    if (log) {
        log->storeRect();
        delete log.data();
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
    if (log) {
        log->storeRect();
        delete log.data();
        actions[ID_VIEW_LOG]->setChecked(false);
        return;
    }
    log = new CLogWindow(store, this);
    connect(log.data(), &CLogWindow::closedByUser, this, &CMainFrame::onLogClosed);
    log->show();
    actions[ID_VIEW_LOG]->setChecked(true);
    activateWindow();
}

void CMainFrame::onLogClosed()
{
    if (log)
        log->deleteLater();
    log = nullptr;
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
    return log.data();
}

QString CMainFrame::paneText(int pane) const
{
    if (pane == 0)
        return readyPane->text();
    return panes[pane]->text();
}

void CMainFrame::scheduleUpdate()
{
    if (updatePending)
        return;
    updatePending = true;
    QTimer::singleShot(0, this, [this] {
        updatePending = false;
        updateCommands();
    });
}

void CMainFrame::updateCommands()
{
    const bool have = doc != nullptr;
    auto enable = [this](int id, bool on) { actions[id]->setEnabled(on); };
    enable(ID_FILE_NEW, have && doc->canStartOver());
    enable(ID_FILE_OPEN, have && doc->canStartOver());
    enable(ID_FILE_SAVE, have && doc->canSave());
    enable(ID_FILE_SAVE_AS, have && doc->canSave());
    enable(ID_AUTOPLAY, have && doc->canStartOver());
    enable(ID_SWITCH_SIDES, have && doc->canAdvice());
    enable(ID_ADVICE, have && doc->canAdvice());
    enable(ID_MOVE_BACK, have && doc->canMoveBack());
    enable(ID_MOVE_FORWARD, have && doc->canMoveForward());
    enable(ID_REDO_ALL, have && doc->canMoveForward());
    enable(ID_UNDO_ALL, have && doc->canUndoAll());
    enable(ID_REPLAY, have && doc->canReplay());
    enable(ID_STOP_THINKING, have && doc->canStopThinking());
    for (int id : {ID_OPTIONS, ID_WHO_PLAYS, ID_EDIT_PLAYERS})
        enable(id, have && doc->canStartOver());
    enable(ID_OPPONENT_SETTINGS, have && doc->canOpponentSettings());
    const bool busy = have && doc->busy();
    for (QAction* r : recentActions)
        r->setEnabled(!busy && !r->data().toString().isEmpty());
    enable(ID_USER_GUIDE, guideAvailable);

    actions[ID_VIEW_TOOLBAR]->setChecked(!tools->isHidden());
    actions[ID_VIEW_STATUS_BAR]->setChecked(!statusBar()->isHidden());
    actions[ID_VIEW_LOG]->setChecked(!log.isNull());
    actions[ID_VIEW_ALL_EXAMINED]->setChecked(boardView->showAllExamined());
    actions[ID_VIEW_EXAMINED_FIELD]->setChecked(boardView->showExaminedField());
    actions[ID_VIEW_WORTH]->setChecked(boardView->showWorthOfFields());
    actions[ID_VIEW_WORTH_MODE]->setEnabled(boardView->showWorthOfFields());
    actions[ID_VIEW_WORTH_MODE]->setText(boardView->worthModeText());
    actions[ID_VIEW_LAST_MOVE]->setChecked(boardView->showLastMove());
    actions[ID_VIEW_MOVE_NUMBERS]->setChecked(boardView->showMoveNumbers());
    const auto& zooms = CBoardGeometry::ZOOMS;
    for (std::size_t i = 0; i < zooms.size(); ++i)
        actions[ID_VIEW_ZOOM_FIRST + static_cast<int>(i)]->setChecked(zooms[i] == boardView->zoom());
    enable(ID_VIEW_ZOOM_IN, boardView->zoom() < zooms.back());
    enable(ID_VIEW_ZOOM_OUT, boardView->zoom() > zooms.front());
    updateTitle();
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
                                    QStringLiteral("Quintrel++ Games (*.gam);;All Files (*)"), QString());
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
                                    QStringLiteral("Quintrel++ Games (*.gam);;All Files (*)"), qs(doc->title()));
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
                                    QStringLiteral("Quintrel++ Games (*.gam);;All Files (*)"), qs(suggestedName));
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

QStringList CMainFrame::recentFiles() const
{
    QStringList files;
    CRegistryKey key(store, KEY_RECENT_FILES);
    for (int i = 1; i <= RECENT_FILE_COUNT; ++i) {
        std::string path;
        if (key.readText("File" + std::to_string(i), path) && !path.empty())
            files.append(qs(path));
    }
    return files;
}

void CMainFrame::addRecentFile(const QString& path)
{
    if (path.isEmpty())
        return;
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > RECENT_FILE_COUNT)
        files.removeLast();
    CRegistryKey key(store, KEY_RECENT_FILES);
    for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
        const std::string name = "File" + std::to_string(i + 1);
        if (i < files.size())
            key.writeText(name, files[i].toStdString());
        else
            key.deleteValue(name);
    }
    rebuildRecentMenu();
}

void CMainFrame::rebuildRecentMenu()
{
    const QStringList files = recentFiles();
    const bool busy = doc && doc->busy();
    for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
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
        // A file that is gone leaves the list.
        QStringList files = recentFiles();
        files.removeAll(path);
        CRegistryKey key(store, KEY_RECENT_FILES);
        for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
            const std::string name = "File" + std::to_string(i + 1);
            if (i < files.size())
                key.writeText(name, files[i].toStdString());
            else
                key.deleteValue(name);
        }
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

// ---- GameUi ----

void CMainFrame::setInputFlags(int flags)
{
    boardView->setInputFlags(flags);
    scheduleUpdate();
}

int CMainFrame::inputFlags() const
{
    return boardView->getInputFlags();
}

void CMainFrame::markField(Field f)
{
    boardView->markField(f);
}

void CMainFrame::clearMark()
{
    boardView->clearMark();
}

void CMainFrame::resetMarks()
{
    boardView->resetMarks();
}

void CMainFrame::clearBlinking()
{
    boardView->clearBlinking();
}

void CMainFrame::showWinningFive(Field end1, Field end2)
{
    boardView->showWinningFive(end1, end2);
}

void CMainFrame::showExaminedField(Field f)
{
    boardView->showExaminedField(f);
}

bool CMainFrame::showsAllExamined() const
{
    return boardView->showAllExamined();
}

bool CMainFrame::showsWorthOfFields() const
{
    return boardView->showWorthOfFields();
}

void CMainFrame::repaint()
{
    boardView->update();
    scheduleUpdate();
}

void CMainFrame::refreshPointer()
{
    boardView->refreshPointer();
    scheduleUpdate();
}

void CMainFrame::startReplayTimer(unsigned periodMs)
{
    boardView->startReplayTimer(periodMs);
    scheduleUpdate();
}

void CMainFrame::stopReplayTimer()
{
    boardView->stopReplayTimer();
    scheduleUpdate();
}

void CMainFrame::setStatusText(int pane, const std::string& text)
{
    if (pane == PANE_TURN || pane == PANE_COUNTER)
        panes[pane]->setText(qs(text));
    scheduleUpdate();
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

void CMainFrame::logClear()
{
    if (log)
        log->clear();
}

void CMainFrame::logAddSeparator()
{
    if (log)
        log->addSeparator();
}

void CMainFrame::logAppendLine(const std::string& text)
{
    if (log)
        log->appendLine(qs(text));
}

void CMainFrame::logWriteHeader()
{
    if (log)
        log->writeHeader();
}

void CMainFrame::logAppendToLastLine(const std::string& text)
{
    if (log)
        log->appendToLastLine(qs(text));
}

void CMainFrame::setLogMuted(bool m)
{
    muted = m;
}

bool CMainFrame::logMuted() const
{
    return muted;
}

} // namespace quintrel::ui
