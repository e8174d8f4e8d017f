// The main frame's analysis: the live analysis of the position on the board,
// a whole game's evaluation, the position copied and pasted as text, and the
// position edited stone by stone.

#include "ui/MainFrame.h"

#include "catalogue/PlayerDatabase.h"
#include "game/PositionText.h"
#include "game/QuintrelGam.h"
#include "players/MasterSettings.h"
#include "players/PlayerDefinition.h"
#include "search/MasterPlayer.h"

#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>

namespace quintrel::ui {

std::vector<Field> CMainFrame::movesOnBoard() const
{
    const ViewGame* game = gameBoard();
    return game ? game->movesOnBoard() : std::vector<Field>{};
}

void CMainFrame::createAnalysisPanel()
{
    analysisPane = new CAnalysisPanel(store, this);
    analysisDock = new QDockWidget(QStringLiteral("Analysis"), this);
    analysisDock->setObjectName(QStringLiteral("analysisDock"));
    analysisDock->setFeatures(QDockWidget::DockWidgetClosable);
    analysisDock->setAllowedAreas(Qt::RightDockWidgetArea);
    analysisDock->setWidget(analysisPane);
    addDockWidget(Qt::RightDockWidgetArea, analysisDock);
    analysisDock->hide();
    // The frame keeps its fixed size around the board and the panel.
    connect(analysisDock, &QDockWidget::visibilityChanged, this, [this] {
        if (shutDownDone)
            return; // the window is closing
        QTimer::singleShot(0, this, &CMainFrame::fitWindow);
        updateCommands();
    });
    connect(analysisPane, &CAnalysisPanel::marksChanged, this,
            [this] { boardView->setAnalysisMarks(analysisPane->marks()); });
    // As Move Back and Move Forward would, one move at a time.
    connect(analysisPane, &CAnalysisPanel::goToMove, this, [this](int moves) {
        while (doc && !editing && doc->current() > moves && doc->canMoveBack())
            doc->moveBack();
        while (doc && !editing && doc->current() < moves && doc->canMoveForward())
            doc->moveForward();
    });
    connect(analysisPane, &CAnalysisPanel::gameAnalysed, this, [this](const QStringList& mistakes) {
        LogUi& log = logPane;
        for (const QString& line : mistakes)
            log.logAppendLine(" " + line.toStdString());
        syncAnalysis(); // the live analysis goes on where it was
        updateCommands();
    });
}

// The Expert when it is a Master player, else Master's defaults; no time
// limit, the analysis runs until it is stopped.
master::Limits CMainFrame::analystLimits() const
{
    MasterSettings s;
    if (doc) {
        const CPlayerDatabase& db = doc->database();
        if (const PlayerDefinition* expert = db.definition(db.expertIndex());
            expert && expert->className() == std::string(MasterSettings::CLASS_NAME))
            s = MasterSettings::fromBlock(expert->settings);
    }
    master::Limits limits;
    limits.timeMs = 0;
    limits.maxDepth = s.maxDepth;
    limits.threads = s.usableThreads();
    limits.hashMb = s.hashMb;
    return limits;
}

void CMainFrame::setAnalysing(bool on)
{
    analyseOn = on;
    if (on)
        showAnalysisPanel(true);
    syncAnalysis();
    updateCommands();
}

void CMainFrame::showAnalysisPanel(bool shown)
{
    analysisDock->setVisible(shown);
}

// Runs the live analysis on the board's position whenever it is wanted and
// nothing else needs the machine: not while a computer thinks, a replay
// runs, a game is analysed or the position is edited, and not after a five.
void CMainFrame::syncAnalysis()
{
    if (!analysisPane)
        return;
    analysisPane->setCurrentMove(doc ? doc->current() : 0);
    const bool over = doc && doc->current() == doc->last() + 1 && (doc->historyFlags() & HISTORY_GAME_OVER);
    const bool wanted = analyseOn && doc && !doc->busy() && !over && !analysisPane->gameRunning() && !editing;
    if (wanted)
        analysisPane->analyse(movesOnBoard(), analystLimits());
    else
        analysisPane->stopLive();
}

void CMainFrame::analyseGame()
{
    if (!doc || doc->last() < 0)
        return;
    std::vector<Field> moves;
    for (int i = 0; i <= doc->last(); ++i)
        moves.push_back(doc->move(i).field);
    // Won when the last move made a five.
    const bool won =
        master::judgeMove(setupAfter(moves, moves.size() - 1), pointOf(moves.back())) == master::Verdict::WIN;
    showAnalysisPanel(true);
    analysisPane->stopLive();
    analysisPane->analyseGame(moves, won, analystLimits());
    updateCommands();
}

void CMainFrame::copyPosition()
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(moveString(movesOnBoard())));
}

void CMainFrame::pastePosition()
{
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    const PositionRead read = readPosition(text);
    if (!read.error.empty()) {
        messageBox("The clipboard holds no position: " + read.error + ".\n\nA position is a move list such as "
                   "j10k11i9 (columns from a at the left, rows from 1 at the bottom) or x,y pairs such as "
                   "9,9 10,8 (from 0,0 at the top left).",
                   "Paste Position", MessageIcon::Exclamation);
        return;
    }
    doc->commandPaste(read.moves);
}

// The board while a position is edited: the edited stones, nothing else.
class CMainFrame::EditBoard : public ViewGame {
public:
    explicit EditBoard(const CMainFrame& f) : frame(f) {}
    int cell(int x, int y) const override
    {
        const Field f{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
        for (int side = 0; side < 2; ++side)
            if (std::find(frame.edited[side].begin(), frame.edited[side].end(), f) != frame.edited[side].end())
                return side;
        return EMPTY;
    }
    int worth(int, int, Side) const override { return 0; }
    Side sideToMove() const override { return frame.edited[0].size() > frame.edited[1].size() ? SIDE_X : SIDE_O; }
    bool computing() const override { return false; }
    bool computersPlayEachOther() const override { return false; }
    bool isExamined(int, int) const override { return false; }
    bool replaying() const override { return false; }
    void deliverMove(GameMove) override {}
    void handleMessage(const PortMessage&) override {}
    void replayStep() override {}

private:
    const CMainFrame& frame;
};

void CMainFrame::showEditStatus()
{
    setStatusText(PANE_TURN, editBoard->sideToMove() == SIDE_O ? "Editing: O moves next" : "Editing: X moves next");
}

// Left click an O, right click an X, a click on a stone takes it away. The
// record alternates from O, so who moves next follows from the stones: O
// when both have as many, X when O has one more.
void CMainFrame::toggleEditPosition(bool on)
{
    if (on && !editing) {
        const std::vector<Field> moves = movesOnBoard();
        edited[0].clear();
        edited[1].clear();
        for (std::size_t i = 0; i < moves.size(); ++i)
            edited[i % 2].push_back(moves[i]);
        editBoard = std::make_unique<EditBoard>(*this);
        boardView->setGame(editBoard.get());
        boardView->setAnalysisMarks({});
        boardView->setEditHandler([this](Field f, bool left) {
            bool removed = false;
            for (auto& stones : edited)
                if (const auto at = std::find(stones.begin(), stones.end(), f); at != stones.end()) {
                    stones.erase(at);
                    removed = true;
                }
            if (!removed)
                edited[left ? 0 : 1].push_back(f);
            boardView->update();
            showEditStatus();
        });
        editing = true;
        showEditStatus();
    } else if (!on && editing) {
        const std::size_t o = edited[0].size(), x = edited[1].size();
        if (o != x && o != x + 1) {
            messageBox("O must have as many stones as X (then O moves next) or one more (then X moves next).\n"
                       "Add or take away stones, then end the editing again.",
                       "Edit Position", MessageIcon::Exclamation);
            updateCommands();
            return;
        }
        std::vector<Field> moves;
        for (std::size_t i = 0; i < o; ++i) {
            moves.push_back(edited[0][i]);
            if (i < x)
                moves.push_back(edited[1][i]);
        }
        editing = false;
        boardView->setEditHandler({});
        boardView->setGame(gameBoard());
        editBoard.reset();
        const bool changed = moves != movesOnBoard() || doc->current() != doc->last() + 1;
        // Unchanged or cancelled: the game as it was, its status shown again.
        if (!changed || !(moves.empty() ? doc->commandNew() : doc->commandPaste(moves)))
            doc->goToMove(doc->current());
    }
    syncAnalysis();
    updateCommands();
}

} // namespace quintrel::ui
