#pragma once
// "Chaotic": plays a uniformly drawn empty field at once, on the caller's
// thread. No settings, no evaluation, no search.

#include "players/Player.h"

namespace quintrel {

class CRandomPlayer : public CPlayer {
public:
    static constexpr const char* CLASS_NAME = "CRandomPlayer";
    const char* className() const override { return CLASS_NAME; }

    // Delivers the move before it returns; 1. The board must have an empty field.
    int requestMove(const CBoard& board, Side side) override;
};

} // namespace quintrel
