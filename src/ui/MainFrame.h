#pragma once
// CMainFrame: the one top-level window. A fixed-size frame around the board
// view (and the analysis panel, when shown) with the menu, accelerators,
// toolbar and three-pane status bar; its
// size follows the view's zoom and which bars are shown (394 x 394 at 100%).
// It owns the modeless log window, remembers its own position and whether
// the log was open, carries the whole command table with its enabling, and is
// the game's GameUi: everything the document shows passes through here.
//
// The frame never owns the document; the application object does, and binds
// it with setDocument() once both exist.

#include "game/GameUi.h"
#include "ui/AnalysisPanel.h"
#include "ui/QuintrelView.h"
#include "ui/LogWindow.h"
#include "ui/RecentFiles.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;

namespace quintrel {
class CQuintrelGam;
class SettingsBackend;
} // namespace quintrel

namespace quintrel::ui {

class CWindowPort;

// Command ids of the menu entries.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_OPTIONS = 32771,
    ID_FILE_MRU_FIRST = 57616,
    ID_APP_EXIT = 57665,
    ID_WHO_PLAYS = 32772,
    ID_SWITCH_SIDES = 32782,
    ID_AUTOPLAY = 32780,
    ID_OPPONENT_SETTINGS = 32774,
    ID_EDIT_PLAYERS = 32773,
    ID_MOVE_BACK = 32775,
    ID_MOVE_FORWARD = 32777,
    ID_UNDO_ALL = 32778,
    ID_REDO_ALL = 32789,
    ID_REPLAY = 32779,
    ID_STOP_THINKING = 32795,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_LOG = 32796,
    ID_VIEW_ALL_EXAMINED = 32784,
    ID_VIEW_EXAMINED_FIELD = 32787,
    ID_VIEW_WORTH = 32798,
    ID_VIEW_WORTH_MODE = 32799,
    ID_VIEW_LAST_MOVE = 32840,
    ID_VIEW_MOVE_NUMBERS = 32841,
    ID_VIEW_ZOOM_IN = 32842,
    ID_VIEW_ZOOM_OUT = 32843,
    ID_VIEW_ZOOM_FIRST = 32844, // one per CBoardGeometry::ZOOMS, in order
    ID_ADVICE = 32781,
    ID_ANALYSE = 32850,
    ID_ANALYSE_GAME = 32851,
    ID_COPY_POSITION = 32852,
    ID_PASTE_POSITION = 32853,
    ID_EDIT_POSITION = 32854,
    ID_VIEW_ANALYSIS_MARKS = 32855,
    ID_VIEW_ANALYSIS_PANEL = 32856,
    ID_USER_GUIDE = 32801,
    ID_APP_ABOUT = 57664,
};

class CMainFrame : public QMainWindow, public GameUi {
    Q_OBJECT
public:
    explicit CMainFrame(SettingsBackend& store, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Binds the game: the view reads it and the players post to this window.
    void setDocument(CQuintrelGam* document);
    CQuintrelGam* document() const { return doc; }
    std::shared_ptr<MessageSink> port() const;

    CQuintrelView* view() const { return boardView; }
    QAction* action(int id) const;
    QToolBar* toolBar() const { return tools; }
    CLogWindow* logWindow() const;
    CAnalysisPanel* analysisPanel() const { return analysisPane; }
    bool analysing() const { return analyseOn; }
    bool editingPosition() const { return editing; }
    QString paneText(int pane) const;
    bool userGuideAvailable() const { return guideAvailable; }

    // Derives every command's enabling, check mark and text from the state.
    void updateCommands();

    // Game files
    bool openGame(const QString& path); // asks before discarding, then opens
    QStringList recentFiles() const;
    void addRecentFile(const QString& path);

    // Stops any thinking and stores the window state; idempotent.
    void shutDown();

    // GameUi: the view serves the board's calls, the log pane the log's
    BoardUi& boardUi() override;
    LogUi& logUi() override;
    void setStatusText(int pane, const std::string& text) override;
    void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    MessageAnswer askYesNoCancel(const std::string& text, const std::string& caption) override;
    void beep() override;
    std::optional<std::string> chooseSavePath(const std::string& suggestedName) override;
    bool runWhoPlays(PlayerSelection& players) override;
    bool runOptions(OptionValues& options, CPlayerDatabase& database) override;
    void stateChanged() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ViewBridge;
    class EditBoard;
    struct Command;
    static const std::vector<Command>& commands();

    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* makeAction(int id, const QString& text, const QString& key, const QString& prompt, const QString& tip);
    void fitWindow();
    void onZoomChanged();
    void placeWindow();
    void storeWindowPos();
    void rebuildRecentMenu();
    void updateTitle();

    // Commands of the frame itself
    void toggleLogWindow();
    void onLogClosed();
    void toggleToolBar(bool shown);
    void toggleStatusBar(bool shown);
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    void openRecent(int index);
    void userGuide();
    void stopAllThinking();

    // Analysis
    void setAnalysing(bool on);
    void analyseGame();
    void syncAnalysis();
    master::Limits analystLimits() const;
    void showAnalysisPanel(bool shown);
    void copyPosition();
    void pastePosition();
    void toggleEditPosition(bool on);
    void showEditStatus();
    std::vector<Field> movesOnBoard() const;
    void createAnalysisPanel();
    ViewGame* gameBoard() const; // the view's window on the game

    SettingsBackend& store;
    CQuintrelGam* doc = nullptr;
    std::unique_ptr<ViewBridge> bridge;
    std::shared_ptr<CWindowPort> windowPort;
    CQuintrelView* boardView;
    QToolBar* tools = nullptr;
    QLabel* readyPane = nullptr;
    QLabel* panes[3] = {};
    CRecentFiles recent{store};
    QList<QAction*> recentActions;
    std::map<int, QAction*> actions;
    CLogPane logPane;
    QDockWidget* analysisDock = nullptr;
    CAnalysisPanel* analysisPane = nullptr;
    bool analyseOn = false;
    // Position editing: the stones of O and X in the order they were put.
    bool editing = false;
    std::vector<Field> edited[2];
    std::unique_ptr<ViewGame> editBoard;
    int toolBarHeight = 0;
    int statusBarHeight = 0;
    bool guideAvailable = false;
    bool shownOnce = false;
    bool shutDownDone = false;
};

} // namespace quintrel::ui
