#pragma once
// "Medium": chooses without searching, like the Light player, but reads a
// private copy of the board in the extensive pattern mode, where every empty
// field carries threat classes (winning threat, four and three, three and
// three, four, open three) for both sides. It walks a ladder of those classes,
// recognises forced wins up to three moves ahead and announces them, and
// answers the opponent's threats by its playing style.
//
// Answers at once on the calling thread: the move through deliverMove, then,
// when there is one, the announcement as a log line. The live board is never
// touched.

#include "players/MediumSettings.h"
#include "players/Player.h"

#include <string>

namespace quintrel {

class CMediumPlayer : public CPlayer {
public:
    static constexpr const char* CLASS_NAME = "CMediumPlayer";
    const char* className() const override { return CLASS_NAME; }

    // Chooses and delivers the move, then posts the remark (MSG_LOG) if any; 1.
    int requestMove(const CBoard& board, Side side) override;

    // The analysis on a board already in extensive mode; sets `remark`. False
    // only when the board has no empty field.
    bool chooseMove(const CBoard& board, Side side, int style, GameMove& move);

    // The announcement of the last move ("  Going to win in 1 move!"), or
    // empty; rewritten at every move.
    std::string remark;

private:
    bool analyse(const CBoard& board, Side me, int style, GameMove& move);
    void announceWinIn3(const CBoard& board, Side opp);
    int currentStyle() const;
};

} // namespace quintrel
