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

// ---- The command table ----

// One entry a command: what its action, menu entry, toolbar button and
// enabling are made from. The shortcut is shown after a tab in the menu
// text; Advice's Alt+A is shown only, the frame's event filter serves it.
struct CMainFrame::Command {
    int id;
    const char* text;
    const char* key;    // "" for none
    const char* prompt; // the status bar's text
    const char* tip;    // the toolbar's; "" for none
    void (*run)(CMainFrame& f, bool checked);
    bool (*enabled)(const CMainFrame& f);
    bool (*checked)(const CMainFrame& f); // null: not checkable
};

namespace {
using Frame = CMainFrame;
bool always(const Frame&) { return true; }
} // namespace

const std::vector<CMainFrame::Command>& CMainFrame::commands()
{
    using F = CMainFrame;
    // The document's own tests of what may be done now.
    static const auto idle = [](const F& f) { return f.doc && f.doc->canStartOver(); };
    static const std::vector<Command> table = {
        {ID_FILE_NEW, "&New", "Ctrl+N", "Start a new game", "New Game",
         [](F& f, bool) { if (f.doc && f.doc->commandNew()) f.updateTitle(); }, idle, nullptr},
        {ID_FILE_OPEN, "&Open...", "Ctrl+O", "Open a saved game", "Open Game", [](F& f, bool) { f.fileOpen(); },
         idle, nullptr},
        {ID_FILE_SAVE, "&Save", "Ctrl+S", "Save the current game", "Save Game", [](F& f, bool) { f.fileSave(); },
         [](const F& f) { return f.doc && f.doc->canSave(); }, nullptr},
        {ID_FILE_SAVE_AS, "Save &As...", "", "Save the current game with a new name", "Save As",
         [](F& f, bool) { f.fileSaveAs(); }, [](const F& f) { return f.doc && f.doc->canSave(); }, nullptr},
        {ID_OPTIONS, "O&ptions...", "", "Set up options for the program", "Options",
         [](F& f, bool) { f.doc->options(); }, idle, nullptr},
        {ID_APP_EXIT, "E&xit", "", "Quit the Quintrel++", "Exit", [](F& f, bool) { f.close(); }, always, nullptr},
        {ID_WHO_PLAYS, "&Who Plays...", "", "Choose players for current game", "Who Plays",
         [](F& f, bool) { f.doc->whoPlays(); }, idle, nullptr},
        {ID_SWITCH_SIDES, "&Switch Sides", "Alt+S", "Switch players", "Switch Sides",
         [](F& f, bool) { f.doc->switchSides(); }, [](const F& f) { return f.doc && f.doc->canAdvice(); }, nullptr},
        {ID_AUTOPLAY, "&Autoplay", "", "Computer plays for both sides", "Autoplay",
         [](F& f, bool) { f.doc->autoplay(); }, idle, nullptr},
        {ID_OPPONENT_SETTINGS, "&Opponent's Settings..", "", "Edit settings of current computer player",
         "Opponent's Settings", [](F& f, bool) { f.doc->opponentSettings(); },
         [](const F& f) { return f.doc && f.doc->canOpponentSettings(); }, nullptr},
        {ID_EDIT_PLAYERS, "&Edit Players...", "", "Add, remove or change available players", "Edit Players",
         [](F& f, bool) { f.doc->editPlayers(); }, idle, nullptr},
        {ID_MOVE_BACK, "Move &Back", "Alt+B", "Undo the last move", "Move Back", [](F& f, bool) { f.doc->moveBack(); },
         [](const F& f) { return f.doc && f.doc->canMoveBack(); }, nullptr},
        {ID_MOVE_FORWARD, "Move &Forward", "Alt+F", "Replay the next move", "Move Forward",
         [](F& f, bool) { f.doc->moveForward(); }, [](const F& f) { return f.doc && f.doc->canMoveForward(); },
         nullptr},
        {ID_UNDO_ALL, "&Undo All Moves", "Alt+U", "Return to the initial position", "Undo All Moves",
         [](F& f, bool) { f.doc->undoAll(); }, [](const F& f) { return f.doc && f.doc->canUndoAll(); }, nullptr},
        {ID_REDO_ALL, "Re&do All Moves", "Alt+D", "Go to the final position", "Redo All Moves",
         [](F& f, bool) { f.doc->redoAll(); }, [](const F& f) { return f.doc && f.doc->canMoveForward(); }, nullptr},
        {ID_REPLAY, "&Replay Game", "Alt+R", "Replay the game", "Replay", [](F& f, bool) { f.doc->replay(); },
         [](const F& f) { return f.doc && f.doc->canReplay(); }, nullptr},
        {ID_STOP_THINKING, "&Stop Thinking", "Esc", "Require computer to play immediately", "Stop Thinking",
         [](F& f, bool) { f.doc->stopThinking(); }, [](const F& f) { return f.doc && f.doc->canStopThinking(); },
         nullptr},
        {ID_VIEW_TOOLBAR, "&Toolbar", "", "Show or hide the toolbar", "Toggle ToolBar",
         [](F& f, bool on) { f.toggleToolBar(on); }, always, [](const F& f) { return !f.tools->isHidden(); }},
        {ID_VIEW_STATUS_BAR, "&Status Bar", "", "Show or hide the status bar", "Toggle StatusBar",
         [](F& f, bool on) { f.toggleStatusBar(on); }, always, [](const F& f) { return !f.statusBar()->isHidden(); }},
        {ID_VIEW_LOG, "&Log Window", "", "Show or hide the log window", "Toggle LogWindow",
         [](F& f, bool) { f.toggleLogWindow(); }, always, [](const F& f) { return f.logPane.window() != nullptr; }},
        {ID_VIEW_ALL_EXAMINED, "&All Examined Fields", "Ctrl+A", "Show or hide all examined fields", "",
         [](F& f, bool) { f.boardView->toggleAllExamined(); }, always,
         [](const F& f) { return f.boardView->showAllExamined(); }},
        {ID_VIEW_EXAMINED_FIELD, "Currently Examined &Field", "Ctrl+F", "Toggle marking of currently examined field",
         "", [](F& f, bool) { f.boardView->toggleExaminedField(); }, always,
         [](const F& f) { return f.boardView->showExaminedField(); }},
        {ID_VIEW_WORTH, "&Worth Of Fields", "Ctrl+W", "Show or hide worth of fields", "",
         [](F& f, bool) { f.boardView->toggleWorthOfFields(); }, always,
         [](const F& f) { return f.boardView->showWorthOfFields(); }},
        // Its text names the mode it is in: the view gives it.
        {ID_VIEW_WORTH_MODE, "Follow Side On Move", "Ctrl+I", "Whose worth of fields will be displayed", "",
         [](F& f, bool) { f.boardView->cycleWorthMode(); }, [](const F& f) { return f.boardView->showWorthOfFields(); },
         nullptr},
        {ID_VIEW_LAST_MOVE, "Last Move Marker", "", "Mark the stone played last", "",
         [](F& f, bool) { f.boardView->toggleLastMove(); }, always,
         [](const F& f) { return f.boardView->showLastMove(); }},
        {ID_VIEW_MOVE_NUMBERS, "Move Numbers", "", "Show on every stone the number of its move", "",
         [](F& f, bool) { f.boardView->toggleMoveNumbers(); }, always,
         [](const F& f) { return f.boardView->showMoveNumbers(); }},
        {ID_VIEW_ZOOM_IN, "Zoom In", "Ctrl++", "Show the board larger", "", [](F& f, bool) { f.boardView->zoomIn(); },
         [](const F& f) { return f.boardView->zoom() < CBoardGeometry::ZOOMS.back(); }, nullptr},
        {ID_VIEW_ZOOM_OUT, "Zoom Out", "Ctrl+-", "Show the board smaller", "",
         [](F& f, bool) { f.boardView->zoomOut(); },
         [](const F& f) { return f.boardView->zoom() > CBoardGeometry::ZOOMS.front(); }, nullptr},
        {ID_ADVICE, "&Advice", "Alt+A", "Suggest next move", "Advice", [](F& f, bool) { f.doc->advice(); },
         [](const F& f) { return f.doc && f.doc->canAdvice(); }, nullptr},
        {ID_USER_GUIDE, "&User Guide...", "", "Display the readme file", "", [](F& f, bool) { f.userGuide(); },
         [](const F& f) { return f.guideAvailable; }, nullptr},
        {ID_APP_ABOUT, "About &Quintrel++...", "", "Display program information", "About",
         [](F& f, bool) { showAbout(&f); }, always, nullptr},
    };
    return table;
}

// The menus and the toolbar as lists of ids: 0 a separator, RECENT the
// recent files, ZOOM the zoom menu.
namespace {
constexpr int RECENT = -1, ZOOM = -2;
struct MenuLayout {
    const char* title;
    std::vector<int> ids;
};
const MenuLayout MENUS[] = {
    {"&Game", {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_OPTIONS, 0, RECENT, ID_APP_EXIT}},
    {"&Players", {ID_WHO_PLAYS, ID_SWITCH_SIDES, ID_AUTOPLAY, 0, ID_OPPONENT_SETTINGS, ID_EDIT_PLAYERS}},
    {"&Action", {ID_MOVE_BACK, ID_MOVE_FORWARD, 0, ID_UNDO_ALL, ID_REDO_ALL, ID_REPLAY, 0, ID_STOP_THINKING}},
    {"&View", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_LOG, 0, ID_VIEW_ALL_EXAMINED, ID_VIEW_EXAMINED_FIELD, 0,
               ID_VIEW_WORTH, ID_VIEW_WORTH_MODE, 0, ID_VIEW_LAST_MOVE, ID_VIEW_MOVE_NUMBERS, ZOOM}},
    {"&Help", {ID_ADVICE, 0, ID_USER_GUIDE, ID_APP_ABOUT}},
};
const int TOOLBAR[] = {ID_FILE_NEW,  ID_FILE_OPEN, ID_FILE_SAVE, 0,           ID_SWITCH_SIDES, ID_STOP_THINKING, 0,
                       ID_UNDO_ALL,  ID_MOVE_BACK, ID_REPLAY,    ID_MOVE_FORWARD, ID_REDO_ALL, 0, ID_OPPONENT_SETTINGS,
                       0,            ID_ADVICE};
} // namespace

QAction* CMainFrame::makeAction(int id, const QString& text, const QString& key, const QString& prompt,
                                const QString& tip)
{
    auto* a = new QAction(key.isEmpty() ? text : text + QLatin1Char('\t') + key, this);
    a->setObjectName(QString::number(id));
    if (!key.isEmpty() && id != ID_ADVICE)
        a->setShortcut(QKeySequence(key));
    a->setStatusTip(prompt);
    if (!tip.isEmpty())
        a->setToolTip(tip);
    actions[id] = a;
    addAction(a); // shortcuts work while the menus are closed
    return a;
}

void CMainFrame::createActions()
{
    for (const Command& c : commands()) {
        QAction* a = makeAction(c.id, QString::fromUtf8(c.text), QString::fromUtf8(c.key), QString::fromUtf8(c.prompt),
                                QString::fromUtf8(c.tip));
        a->setCheckable(c.checked != nullptr);
        connect(a, &QAction::triggered, this, [this, &c](bool checked) {
            if (c.enabled(*this))
                c.run(*this, checked);
        });
    }
    // Ctrl+= too: on most keyboards "+" needs Shift.
    actions[ID_VIEW_ZOOM_IN]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    auto* zooms = new QActionGroup(this);
    for (std::size_t i = 0; i < CBoardGeometry::ZOOMS.size(); ++i) {
        const int percent = CBoardGeometry::ZOOMS[i];
        QAction* a = makeAction(ID_VIEW_ZOOM_FIRST + static_cast<int>(i), QStringLiteral("%1%").arg(percent), {},
                                QStringLiteral("Show the board at %1%").arg(percent), {});
        a->setCheckable(true);
        zooms->addAction(a);
        connect(a, &QAction::triggered, boardView, [this, percent] { boardView->setZoom(percent); });
    }
    for (int i = 0; i < CRecentFiles::COUNT; ++i) {
        QAction* r = makeAction(ID_FILE_MRU_FIRST + i, QStringLiteral("Recent File"), {}, QStringLiteral("Open this game"), {});
        connect(r, &QAction::triggered, this, [this, i] { openRecent(i); });
        recentActions.append(r);
    }
}

void CMainFrame::createMenus()
{
    for (const MenuLayout& layout : MENUS) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(layout.title));
        for (int id : layout.ids) {
            if (id == 0) {
                menu->addSeparator();
            } else if (id == RECENT) {
                for (QAction* r : recentActions)
                    menu->addAction(r);
                menu->addSeparator();
                connect(menu, &QMenu::aboutToShow, this, &CMainFrame::rebuildRecentMenu);
            } else if (id == ZOOM) {
                QMenu* zoom = menu->addMenu(QStringLiteral("&Zoom"));
                for (std::size_t i = 0; i < CBoardGeometry::ZOOMS.size(); ++i)
                    zoom->addAction(actions[ID_VIEW_ZOOM_FIRST + static_cast<int>(i)]);
                zoom->addSeparator();
                zoom->addAction(actions[ID_VIEW_ZOOM_IN]);
                zoom->addAction(actions[ID_VIEW_ZOOM_OUT]);
            } else {
                menu->addAction(actions[id]);
            }
        }
    }
    connect(boardView, &CQuintrelView::zoomChanged, this, &CMainFrame::onZoomChanged);
    rebuildRecentMenu();
}

void CMainFrame::createToolBar()
{
    tools = new QToolBar(QStringLiteral("Toolbar"), this);
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setIconSize(QSize(16, 15));
    tools->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    tools->setFloatable(true);
    tools->setMovable(true);
    for (int id : TOOLBAR) {
        if (id == 0) {
            tools->addSeparator();
            continue;
        }
        actions[id]->setIcon(makeCommandIcon(id));
        tools->addAction(actions[id]);
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

void CMainFrame::updateCommands()
{
    for (const Command& c : commands()) {
        QAction* a = actions[c.id];
        a->setEnabled(c.enabled(*this));
        if (c.checked)
            a->setChecked(c.checked(*this));
    }
    actions[ID_VIEW_WORTH_MODE]->setText(boardView->worthModeText());
    const bool busy = doc && doc->busy();
    for (QAction* r : recentActions)
        r->setEnabled(!busy && !r->data().toString().isEmpty());
    const auto& zooms = CBoardGeometry::ZOOMS;
    for (std::size_t i = 0; i < zooms.size(); ++i)
        actions[ID_VIEW_ZOOM_FIRST + static_cast<int>(i)]->setChecked(zooms[i] == boardView->zoom());
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
    updateCommands();
}

} // namespace quintrel::ui
