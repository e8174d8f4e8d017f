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

#include "board/Board.h"
#include "pbrain-quintrel/Inbox.h"
#include "players/Player.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
    Flow start(const std::string& args);
    Flow rectStart(const std::string& args);
    Flow begin(Clock::time_point since);
    Flow turn(const std::string& args, Clock::time_point since);
    Flow boardBlock();
    Flow takeBack(const std::string& args);
    void info(const std::string& args);

    // Why a move cannot be asked for now, or nothing.
    std::optional<std::string> moveRefusal() const;
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
    bool isPlayable(Field f) const { return f.onBoard() && board_.isEmpty(f); }
    int stoneCount() const;

    void reply(const std::string& line);

    std::unique_ptr<CPlayer> player_;
    std::shared_ptr<Inbox> inbox_;
    Output out_;
    // Runs stopThinking(), which waits for the search, off the protocol thread
    // so the fallback deadline still holds if the search is slow to unwind.
    std::thread stopper_;
    bool playerBusy_ = false;

    CBoard board_;
    bool started_ = false;
    Side ours_ = SIDE_O;
    long long rule_ = 0;
    TimeControl time_;
    bool outputBroken_ = false;
};

} // namespace quintrel::pbrain
