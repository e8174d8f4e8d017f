#pragma once
// Every participant in a game, human or computer. The game asks the player on
// move for a move with requestMove() and never waits: a computer player hands
// its move back later through deliverMove(), which posts MSG_MOVE to its
// window; the human player's move comes from the board view instead.
// A player must deliver exactly one move per request unless reset() or a new
// request intervenes.

#include "app/MessagePort.h"
#include "board/Types.h"

#include <string>

namespace quintrel {

class CBoard;
struct PlayerDefinition;

class CPlayer {
public:
    CPlayer() = default;
    virtual ~CPlayer() = default;
    // Players are linked to by the game and the database; they are never copied.
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    // The run-time class name, as stored in the player list ("CLightPlayer").
    virtual const char* className() const { return "CPlayer"; }

    // Drops any move request in progress.
    virtual void reset() {}
    // Makes a running search end early; the best move found is still delivered.
    virtual void stopThinking() {}
    // 1 when the request was taken; the game ignores the answer.
    virtual int requestMove(const CBoard& board, Side side) = 0;
    // A time per move for this run only (a tool's --turn-ms, a manager's
    // time limits), over the stored settings; 0 goes back to them. Players
    // without a clock ignore it.
    virtual void setTurnTime(int ms) { (void)ms; }
    // What the board view shows of this player's search: whether it marks
    // examined fields at all, and whether x,y on `on` is one of them.
    virtual bool marksExamined() const { return false; }
    virtual bool isExamined(const CBoard& /*on*/, int /*x*/, int /*y*/) const { return false; }

    // Posts MSG_MOVE (lParam = m.packed()) to window; a no-op when it is gone.
    void deliverMove(GameMove m) const;
    // A copy of the definition's name; empty without a definition.
    std::string name() const;

    // The definition this player was made from, inside the database's list.
    const PlayerDefinition* definition = nullptr;
    // 1 for every computer player, 0 for the human.
    int isComputer = 1;
    // Receives delivered moves and the search's progress and examined fields.
    WindowHandle window;
    // Thinking-thread priority -1..2 (the "iPriority" option minus 1); set by
    // the database when it makes the player, used only by tree players.
    int priority = 0;
};

} // namespace quintrel
