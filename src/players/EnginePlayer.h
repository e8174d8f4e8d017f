#pragma once
// CEnginePlayer: an external Gomocup brain as a player. The brain runs as a
// child process for as long as the player lives and gets the whole position
// with every request (CBrainConnection). Its MESSAGE lines go to the log and
// its depth, evaluation and speed to the progress pane. A brain that cannot
// be started, dies, refuses, answers nonsense, names a taken or off-board
// field or is later than its time per move plus a grace loses the game: the
// player posts MSG_FORFEIT with what the brain did and ends it.
//
// Threads. The user-interface thread calls requestMove, stopThinking, reset,
// setTurnTime and the destructor, and starts the brain (so that it lives as
// long as that thread); the exchange runs on a worker (a ThinkingThread). A
// started worker is always joined before the player is asked again, reset or
// destroyed. The threads share only the worker's flags and the message port;
// the worker owns the connection while it runs.

#include "players/EngineSettings.h"
#include "players/Player.h"
#include "players/ThinkingThread.h"

#include <memory>
#include <optional>
#include <string>

namespace quintrel {

class CBoard;
class CBrainConnection;

class CEnginePlayer : public CPlayer {
public:
    static constexpr const char* DESCRIPTION = "External Gomocup brain";

    CEnginePlayer();
    ~CEnginePlayer() override;

    const char* className() const override { return EngineSettings::CLASS_NAME; }

    // The game's requests (user-interface thread)
    void reset() override;
    // Sends yxstop; the move still comes, or the most valuable empty field
    // when the brain has none within the grace. Never blocks.
    void stopThinking() override;
    int requestMove(const CBoard& gameBoard, Side side) override;
    void setTurnTime(int ms) override { turnTimeMs = ms; }

    // A brain given by a tool's command line, over the definition's.
    void setCommandLine(std::string commandLine) { commandOverride = std::move(commandLine); }
    // The settings of the next request: the definition's (or the defaults),
    // with the command line and the time per move replaced where set.
    EngineSettings loadSettings() const;
    bool isThinking() const { return worker.isThinking(); }
    // The label a message box and the log give the brain: its command line.
    std::string brainLabel() const;

private:
    void threadProcedure();
    void forfeit(const std::string& what) const;
    void postLine(int id, std::string text) const;

    std::unique_ptr<CBrainConnection> brain;
    ThinkingThread worker;
    int turnTimeMs = 0;
    std::optional<std::string> commandOverride;
    // The request the worker answers.
    std::unique_ptr<CBoard> board;
    Side sideToMove = SIDE_O;
    EngineSettings settings;
    std::string requestLabel; // the brain, as a message names it
    std::string requestName;  // the player, as the log names it
    WindowHandle requestWindow;
    // Match time spent; a position with fewer stones than the last starts over.
    long long usedMs = 0;
    int lastStones = 0;
};

} // namespace quintrel
