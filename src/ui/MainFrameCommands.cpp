// The main frame's commands: one table gives each command's id, text,
// shortcut, prompt, tooltip, handler and the state it is enabled or checked
// from; the actions, the menus, the toolbar and the enabling are made from it.

#include "ui/MainFrame.h"

#include "game/QuintrelGam.h"
#include "ui/Artwork.h"
#include "ui/InfoBoxes.h"

#include <QActionGroup>
#include <QDockWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace quintrel::ui {

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
bool always(const CMainFrame&) { return true; }
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
        {ID_ANALYSE, "Anal&yse", "Alt+Y", "Let Master analyse the position on the board", "Analyse",
         [](F& f, bool on) { f.setAnalysing(on); }, [](const F& f) { return f.doc != nullptr; },
         [](const F& f) { return f.analyseOn; }},
        {ID_ANALYSE_GAME, "Anal&yse Game", "", "Evaluate every position of the game, move by move", "",
         [](F& f, bool) { f.analyseGame(); },
         [](const F& f) { return idle(f) && f.doc->last() >= 0 && !f.analysisPane->gameRunning(); }, nullptr},
        {ID_COPY_POSITION, "&Copy Position", "Ctrl+C", "Copy the moves on the board as text", "",
         [](F& f, bool) { f.copyPosition(); }, [](const F& f) { return f.doc && f.doc->current() > 0; }, nullptr},
        {ID_PASTE_POSITION, "&Paste Position", "Ctrl+V", "Make the position in the clipboard the game", "",
         [](F& f, bool) { f.pastePosition(); }, idle, nullptr},
        {ID_EDIT_POSITION, "&Edit Position", "", "Put stones freely: left button O, right button X; click one to take it away",
         "", [](F& f, bool on) { f.toggleEditPosition(on); }, [](const F& f) { return f.editing || idle(f); },
         [](const F& f) { return f.editing; }},
        {ID_VIEW_ANALYSIS_MARKS, "Analysis On &Board", "", "Show the analysis's best moves and line on the board", "",
         [](F& f, bool) { f.boardView->toggleAnalysisMarks(); }, always,
         [](const F& f) { return f.boardView->showAnalysisMarks(); }},
        {ID_VIEW_ANALYSIS_PANEL, "Analysis &Panel", "", "Show or hide the analysis panel", "",
         [](F& f, bool on) { f.showAnalysisPanel(on); }, always, [](const F& f) { return !f.analysisDock->isHidden(); }},
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
    {"&Game", {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_COPY_POSITION, ID_PASTE_POSITION,
               ID_EDIT_POSITION, ID_ANALYSE_GAME, 0, ID_OPTIONS, 0, RECENT, ID_APP_EXIT}},
    {"&Players", {ID_WHO_PLAYS, ID_SWITCH_SIDES, ID_AUTOPLAY, 0, ID_OPPONENT_SETTINGS, ID_EDIT_PLAYERS}},
    {"&Action", {ID_MOVE_BACK, ID_MOVE_FORWARD, 0, ID_UNDO_ALL, ID_REDO_ALL, ID_REPLAY, 0, ID_STOP_THINKING, 0,
                 ID_ANALYSE}},
    {"&View", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_LOG, 0, ID_VIEW_ALL_EXAMINED, ID_VIEW_EXAMINED_FIELD, 0,
               ID_VIEW_WORTH, ID_VIEW_WORTH_MODE, 0, ID_VIEW_LAST_MOVE, ID_VIEW_MOVE_NUMBERS, 0, ID_VIEW_ANALYSIS_MARKS,
               ID_VIEW_ANALYSIS_PANEL, ZOOM}},
    {"&Help", {ID_ADVICE, 0, ID_USER_GUIDE, ID_APP_ABOUT}},
};
const int TOOLBAR[] = {ID_FILE_NEW,  ID_FILE_OPEN, ID_FILE_SAVE, 0,           ID_SWITCH_SIDES, ID_STOP_THINKING, 0,
                       ID_UNDO_ALL,  ID_MOVE_BACK, ID_REPLAY,    ID_MOVE_FORWARD, ID_REDO_ALL, 0, ID_OPPONENT_SETTINGS,
                       0,            ID_ADVICE, ID_ANALYSE};
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
        // Asked again here: a command of the document runs only while there is one to ask.
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

void CMainFrame::updateCommands()
{
    // While a position is edited only the editing and the display are open.
    const auto openWhileEditing = [](int id) {
        return id == ID_EDIT_POSITION || id == ID_APP_EXIT || id == ID_APP_ABOUT || id == ID_USER_GUIDE ||
               (id >= ID_VIEW_TOOLBAR && id <= ID_VIEW_STATUS_BAR) || id == ID_VIEW_LOG || id == ID_VIEW_ALL_EXAMINED ||
               id == ID_VIEW_EXAMINED_FIELD || id == ID_VIEW_WORTH || id == ID_VIEW_WORTH_MODE ||
               (id >= ID_VIEW_LAST_MOVE && id <= ID_VIEW_ZOOM_OUT) || id == ID_VIEW_ANALYSIS_MARKS ||
               id == ID_VIEW_ANALYSIS_PANEL;
    };
    for (const Command& c : commands()) {
        QAction* a = actions[c.id];
        a->setEnabled(c.enabled(*this) && (!editing || openWhileEditing(c.id)));
        if (c.checked)
            a->setChecked(c.checked(*this));
    }
    actions[ID_VIEW_WORTH_MODE]->setText(boardView->worthModeText());
    const bool busy = (doc && doc->busy()) || editing;
    for (QAction* r : recentActions)
        r->setEnabled(!busy && !r->data().toString().isEmpty());
    const auto& zooms = CBoardGeometry::ZOOMS;
    for (std::size_t i = 0; i < zooms.size(); ++i)
        actions[ID_VIEW_ZOOM_FIRST + static_cast<int>(i)]->setChecked(zooms[i] == boardView->zoom());
    updateTitle();
}

} // namespace quintrel::ui
