#pragma once
// The game document: one game's board, its move record with the position
// inside it, the two players, and the turn cycle that asks them for moves.
//
// Invariants, whenever no move is being applied: moves[i].side == i % 2 for
// every recorded move; 0 <= current <= last + 1 <= 362; sideToMove ==
// current % 2; the board holds exactly the stones of moves[0..current-1].
//
// The cycle never blocks: requestNextMove() asks the player on move and
// returns. A computer's move comes back as MSG_MOVE through the window given
// to attachView() and reaches onMoveDelivered() by handleMessage(); the
// human's move comes from the view directly. Everything the document shows
// goes through GameUi; before a view is attached it talks to nobody.

#include <cstdint>
#include <string>
#include <vector>

#include "app/MessagePort.h"
#include "app/OptionValues.h"
#include "board/Board.h"
#include "board/Types.h"
#include "game/GameFile.h"
#include "game/GameUi.h"
#include "game/PlayerSelection.h"

namespace quintrel {

class CPlayer;
class CPlayerDatabase;

// historyFlags bits.
constexpr std::uint8_t HISTORY_AT_END = 1;    // nothing to redo
constexpr std::uint8_t HISTORY_AT_START = 2;  // nothing to take back
constexpr std::uint8_t HISTORY_EMPTY = 4;     // no move recorded
constexpr std::uint8_t HISTORY_GAME_OVER = 8; // won or drawn
constexpr std::uint8_t HISTORY_FRESH = HISTORY_AT_END | HISTORY_AT_START | HISTORY_EMPTY;
constexpr std::uint8_t HISTORY_FINISHED = HISTORY_GAME_OVER | HISTORY_AT_END;

class CQuintrelGam {
public:
    // options are the loaded option values; the document keeps its own copy,
    // which the Options dialog edits. Starts an empty game (nobody asked yet).
    CQuintrelGam(CPlayerDatabase& database, const OptionValues& options);
    // Stops a running search before the players go.
    ~CQuintrelGam();
    CQuintrelGam(const CQuintrelGam&) = delete;
    CQuintrelGam& operator=(const CQuintrelGam&) = delete;

    // The view and the window that receives the players' messages. The first
    // call gives the window to the players.
    void attachView(GameUi& ui, const WindowHandle& window);

    // Messages posted to the window: moves, log lines, progress, examined fields.
    void handleMessage(const PortMessage& msg);
    // One tick of the replay timer.
    void onReplayTimer();

    // Starting games
    bool onNewDocument();   // "&New" and the first game: original players, O asked
    void newGame();         // clears board and record, resets players, restarts the log
    bool commandNew();      // asks before discarding, then onNewDocument()

    // The turn cycle
    void requestNextMove();
    void onMoveDelivered(GameMove m);
    void onForfeit(Side side, const std::string& what);
    void resumeAfterNavigation();
    void handOverSideToMove();
    void showAdvice(GameMove m);
    void replayStep();

    // History commands
    void moveBack();
    void moveForward();
    void undoAll();
    void redoAll();
    void goToMove(int n);

    // Commands steering the cycle
    void stopThinking();
    void autoplay();
    void switchSides();
    void advice();
    void replay();
    void whoPlays();
    void editPlayers();
    void options();
    void opponentSettings();

    // Command enabling
    bool computing() const; // a computer (or the advisor) is working on a move
    bool busy() const;      // computing, or a replay runs
    bool canMoveBack() const;
    bool canMoveForward() const;   // also "Re&do All Moves"
    bool canUndoAll() const;
    bool canSave() const;          // "&Save" and "Save &As..."
    bool canReplay() const;
    bool canAdvice() const;        // also "&Switch Sides"
    bool canStartOver() const;     // "&Autoplay", "&New", "&Open...", "&Who Plays...", "O&ptions...", "&Edit Players...", recent files
    bool canStopThinking() const;
    bool canOpponentSettings() const;

    // Game files. Each failure is told to the user by a message box.
    bool openFile(const std::string& path); // "&Open...": empty-file check, then load
    bool commandOpen(const std::string& path); // asks before discarding, then openFile()
    // A pasted position: the fields become the record, played alternately
    // from O, at its end; asks before discarding. False when cancelled or
    // the fields are no record (a field twice, off the board, too many).
    bool commandPaste(const std::vector<Field>& fields);
    bool save();                             // "&Save": under the current path, or asks for one
    bool saveAs(const std::string& path);    // writes and adopts path
    bool askBeforeDiscard();                 // true: go on; false: the command is cancelled
    // The record in file form, and loading one (every check before anything changes).
    std::vector<std::uint8_t> storeBytes() const;
    bool loadBytes(const std::vector<std::uint8_t>& bytes);

    // State
    const CBoard& board() const { return board_; }
    PlayerSelection& players() { return players_; }
    const PlayerSelection& players() const { return players_; }
    CPlayerDatabase& database() { return database_; }
    OptionValues& optionValues() { return options_; }
    CPlayer* onMovePlayer() const { return players_.onMove(sideToMove_); }
    CPlayer* otherPlayer() const { return players_.onMove(1 - sideToMove_); }
    Side sideToMove() const { return sideToMove_; }
    int current() const { return current_; }
    int last() const { return last_; }
    const GameMove& move(int i) const { return moves_[i]; }
    std::uint8_t historyFlags() const { return historyFlags_; }
    bool replaying() const { return replaying_; }
    bool thinking() const { return thinking_; }
    bool adviceRequested() const { return adviceRequested_; }
    bool haltAutoplay() const { return haltAutoplay_; }
    unsigned replayPauseMs() const { return replayPauseMs_; }
    bool askIfSave() const { return askIfSave_; }
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    const std::string& path() const { return path_; }
    std::string title() const; // the file name, or "Untitled"

private:
    void recordMove(GameMove m);
    void endAdvice();
    void endWon(Side winner, const int ends[4], bool announce);
    void placeRecorded(int index);
    void repaintIfOverlays();
    void rewindToStart();
    void restoreAutoplayPlayers();
    void finishDelivered();
    void copyOptions();
    void showCounter();
    bool isHuman(const CPlayer* p) const;
    bool writeFile(const std::string& path);
    void install(const LoadedGame& game);

    GameUi& ui() { return *ui_; }
    // Tells the surroundings, as an entry point returns, that its state may
    // have changed.
    struct ChangeNotice {
        CQuintrelGam& doc;
        ~ChangeNotice() { doc.ui_->stateChanged(); }
    };

    bool replaying_ = false;
    bool haltAutoplay_ = false;
    bool adviceRequested_ = false;
    bool thinking_ = false;
    GameUi* ui_;
    bool viewKnown_ = false;
    CBoard board_;
    CPlayerDatabase& database_;
    PlayerSelection players_;
    OptionValues options_;
    Side sideToMove_ = SIDE_O;
    GameMove moves_[MAX_RECORDED_MOVES]{};
    int current_ = 0;
    int last_ = -1;
    std::uint8_t historyFlags_ = HISTORY_FRESH;
    unsigned replayPauseMs_ = 800;
    bool askIfSave_ = false;
    bool modified_ = false;
    std::string path_;
};

} // namespace quintrel
