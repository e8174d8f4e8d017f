#pragma once
// A minimal game loop for players that answer at once, without the game
// document: the loop asks the side on move, checks the move it posts and plays
// it, until five in a row or a dead board.

#include "app/MessagePort.h"
#include "board/Board.h"
#include "board/Random.h"
#include "players/Player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quintrel::testing {

// The winning side, -1 for a draw, -2 after a missing or illegal move.
inline int playGame(CPlayer& o, CPlayer& x, QueueSink& sink, std::vector<GameMove>* record = nullptr) {
    CBoard b;
    b.clear();
    CPlayer* players[2] = {&o, &x};
    for (Side side = SIDE_O;; side = otherSide(side)) {
        players[side]->requestMove(b, side);
        const auto msgs = sink.drain(); // a remark may follow the move
        if (msgs.empty() || msgs[0].id != MSG_MOVE) {
            ADD_FAILURE() << "no move delivered";
            return -2;
        }
        const GameMove m = GameMove::unpack(msgs[0].lParam);
        if (m.side != side || !m.field.onBoard() || !b.isEmpty(m.field)) {
            ADD_FAILURE() << "illegal move " << int(m.field.x) << "," << int(m.field.y);
            return -2;
        }
        b.place(m.field, side);
        if (record) record->push_back(m);
        int ends[4];
        if (b.findFive(side, ends)) return side;
        if (b.noFivePossible()) return -1;
    }
}

// How many of 20 seeded games `player` wins against `opponent`, the two
// exchanging sides every game.
inline int winsOfTwentySeededGames(CPlayer& player, CPlayer& opponent, QueueSink& sink,
                                   std::uint32_t firstSeed) {
    int wins = 0;
    for (int game = 0; game < 20; ++game) {
        rng::seed(firstSeed + static_cast<std::uint32_t>(game));
        const bool playerIsO = game % 2 == 0;
        const int winner = playerIsO ? playGame(player, opponent, sink) : playGame(opponent, player, sink);
        wins += winner == (playerIsO ? SIDE_O : SIDE_X);
    }
    return wins;
}

} // namespace quintrel::testing
