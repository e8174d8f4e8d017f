#pragma once
// "Light": a computer player that reads the board's ready-made pattern
// information instead of searching. It walks a fixed ladder of threat lists
// (fives, open fours, ...) and otherwise weighs the best own worth against
// the best opponent worth. Three evaluations (Primitive, Sensible, Fanatic)
// and three styles (Defender, Normal, Attacker) pick the procedure.
//
// It keeps no state between moves: the settings are read from the definition
// at every request, so an edit takes effect at the next move. The answer is
// computed and posted at once, on the calling thread; the board is only read.

#include "players/LightSettings.h"
#include "players/Player.h"

namespace quintrel {

class CLightPlayer : public CPlayer {
public:
    static constexpr const char* CLASS_NAME = "CLightPlayer";
    const char* className() const override { return CLASS_NAME; }

    // Chooses and delivers the move before it returns; 1.
    int requestMove(const CBoard& board, Side side) override;

    // The move the settings choose for `side`; false only when the board has
    // no empty field. Draws from the calling thread's generator.
    static bool chooseMove(const CBoard& board, Side side, const LightSettings& settings,
                           GameMove& move);

    // Pieces the Medium player shares, each false when it chooses nothing.
    // On an empty board: a random field of the 5 x 5 square around the centre.
    static bool openingMove(const CBoard& board, Side side, GameMove& move);
    // The Sensible weighing of own best worth m against opponent best worth o.
    static bool compareWorths(const CBoard& board, Side side, int style, GameMove& move);
    // Any empty field of the board, uniformly drawn.
    static bool anyEmptyField(const CBoard& board, Side side, GameMove& move);

private:
    LightSettings currentSettings() const;
};

} // namespace quintrel
