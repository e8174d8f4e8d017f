#pragma once
// The protocol side of pbrain-quintrel: one game position, one defined player
// and the manager's time limits. It reads commands from the inbox, answers on
// the output and asks the player for moves: a player with a clock is given
// the time up to the stop deadline, and a searching player still thinking at
// that deadline is stopped through its own stopThinking().
//
// Coordinates: the manager's are 0-based with 0,0 at the top-left; the
// board's fields are 1-based in the same orientation (x = column, y = row).
// Every command either succeeds or leaves the position exactly as it was.
//
// Boards from 5 x 5 to 22 x 22 (square or not) and the rules freestyle,
// standard and renju are played by Master alone; the other kinds play the
// 19 x 19 freestyle board they are built for.

#include "board/Board.h"
#include "master/Position.h"
#include "pbrain-quintrel/Inbox.h"
#include "players/Player.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quintrel {
class CAnalysis;
}

namespace quintrel::pbrain {

// When a move must be answered, from the manager's INFO values.
struct TimeControl {
    long long turnMs = 30000; // timeout_turn; 0 asks for a move as fast as possible
    long long matchMs = 0;    // timeout_match; 0 is no limit
    long long leftMs = -1;    // time_left; -1 until the manager tells it

    struct Deadlines {
        Clock::time_point stop;     // the player is asked to stop here
        Clock::time_point fallback; // past this the brain answers without the player
    };
    Deadlines forMove(Clock::time_point since) const;
    // Counts a move's time against the match when the manager does not tell us.
    void spent(Clock::duration d);
};

class Brain {
public:
    using Output = std::function<bool(const std::string& line)>;

    // The player must be made for this brain: its window is set to the inbox.
    Brain(std::unique_ptr<CPlayer> player, std::shared_ptr<Inbox> inbox, Output out);
    ~Brain();
    Brain(const Brain&) = delete;
    Brain& operator=(const Brain&) = delete;

    // Serves commands until END or the end of the input.
    void run();

    static constexpr const char* ABOUT =
        "name=\"Quintrel++\", version=\"2.1\", author=\"Zekta\", country=\"unknown\"";

private:
    enum class Flow { CONTINUE, QUIT };

    Flow dispatch(const InputLine& line);
    Flow start(int width, int height);
    Flow begin(Clock::time_point since);
    Flow turn(const std::string& args, Clock::time_point since);
    // BOARD (a move is asked for after DONE) and YXBOARD (only the position is set).
    Flow boardBlock(bool answer);
    Flow takeBack(const std::string& args);
    void info(const std::string& args);
    void showForbidden();
    // YXNBEST N: Master's N best moves on the position, each as a MESSAGE
    // line, then the best as the answer; the position stays as it was.
    Flow bestMoves(const std::string& args, Clock::time_point since);

    // Why a move cannot be asked for now, or nothing.
    std::optional<std::string> moveRefusal() const;
    // Why our player cannot play a width x height board under the rule, or nothing.
    std::optional<std::string> boardRefusal(int width, int height, master::Rule rule) const;
    // The manager's 0-based x,y as a field of our board, or the reason it is not one.
    std::optional<std::string> toField(long long x, long long y, Field& f) const;
    // Why a stone of `side` may not go on the empty field f under the rule (black's fouls), or nothing.
    std::optional<std::string> foul(Field f, Side side) const;
    // Asks the player for a move for ours_ on board_, plays it and answers it.
    Flow answerMove(Clock::time_point since);
    struct Thought {
        Field move;
        std::vector<std::string> logLines; // what the player logged with its move
    };
    // The player's move, or the fallback when it has none in time; nullopt
    // when the manager ended the session meanwhile.
    std::optional<Thought> think(Clock::time_point since);
    void stopPlayer();
    void settlePlayer();
    // A legal move without the player: the most valuable empty field.
    Field fallbackMove() const;
    bool isPlayable(Field f) const;
    int stoneCount() const { return static_cast<int>(stones_.size()); }
    bool isEmpty(Field f) const { return cells_[f.x - 1][f.y - 1] < 0; }
    void place(Field f, Side side);
    void remove(Field f);
    void setStones(const std::vector<master::Stone>& stones); // the position becomes these stones
    // The position with `toMove` to move, as the engine takes it.
    master::Setup setup(Side toMove) const;
    // The 19 x 19 freestyle game as the window's board, for the other kinds.
    CBoard windowBoard() const;
    bool windowGame() const { return width_ == BOARD_SIZE && height_ == BOARD_SIZE && rule_ == master::Rule::FREESTYLE; }

    void reply(const std::string& line);

    std::unique_ptr<CPlayer> player_;
    std::shared_ptr<Inbox> inbox_;
    Output out_;
    // Runs stopThinking(), which waits for the search, off the protocol thread
    // so the fallback deadline still holds if the search is slow to unwind.
    std::thread stopper_;
    bool playerBusy_ = false;

    bool isMaster_ = false;
    // The position: the stones in the order they came, and who holds each
    // field (-1 empty, else the side; O is the first player, black).
    int width_ = BOARD_SIZE, height_ = BOARD_SIZE;
    int cells_[master::MAX_SIDE][master::MAX_SIDE];
    std::vector<master::Stone> stones_;
    bool started_ = false;
    Side ours_ = SIDE_O;
    master::Rule rule_ = master::Rule::FREESTYLE;
    std::optional<long long> unplayedRule_; // a rule value we do not play
    TimeControl time_;
    bool outputBroken_ = false;
    // INFO show_detail: Master's iterations are told as MESSAGE lines while it thinks.
    std::atomic<bool> detail_{false};
    std::unique_ptr<CAnalysis> analysis_; // YXNBEST's searches, made on the first
};

} // namespace quintrel::pbrain
