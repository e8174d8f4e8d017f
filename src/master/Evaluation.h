#pragma once
// The value of a quiet position for the side to move: a weighted count of
// what each side's next stone could make, line by line and in combination.
// The side to move and the side that waits have their own weights, since a
// three of the mover's is a threat and one of the other's a thing to stop.
// The weights are fitted to game results by `quintrel-tune`.

#include "master/Position.h"

namespace quintrel::master {

// The line classes B1..FIVE, then the cells of double threes and of fours
// with a four or a three.
constexpr int FEATURES = 11;
using Features = int[FEATURES];
inline void featuresOf(const Position& pos, int s, Features out) {
    for (int p = B1; p <= FIVE; ++p)
        out[p - B1] = pos.patternCount(s, static_cast<LinePattern>(p));
    out[FEATURES - 2] = pos.comboCount(s, DOUBLE_THREE);
    out[FEATURES - 1] = pos.comboCount(s, FOUR_COMBO);
}

struct Weights {
    int mover[FEATURES];
    int waiter[FEATURES];
    int tempo;
};
// The values the evaluation was set by hand with, one scale for both sides.
constexpr Weights HAND_WEIGHTS = {{1, 3, 4, 10, 10, 28, 30, 90, 300, 160, 300},
                                  {1, 3, 4, 10, 10, 28, 30, 90, 300, 160, 300},
                                  15};
// quintrel-tune games: 6,085 quiet positions of 250 games of Master against
// the tournament sparring engine at strength 60, 300 ms a move, from the
// balanced openings in two of their mirror images. The self-play fit before
// it won no more games against that engine than the hand-set values.
constexpr Weights FITTED_WEIGHTS = {{3, 8, 13, 1, 54, 191, 446, 90, 300, 0, 1564},
                                    {0, 8, 12, 0, 50, 105, 418, 873, 300, 28, 534},
                                    67};

// quintrel-tune games: 4,823 quiet positions of 240 games of Master against
// the same engine under the standard rule on 15 x 15, 300 ms a move, from the
// balanced openings moved to the smaller board; scaled by 0.44 to the units
// of the freestyle table, which the search's margins are set in. The twos
// weigh nothing there, and the mover's tempo counts against it.
constexpr Weights STANDARD_WEIGHTS = {{4, 0, 0, 0, 57, 172, 271, 90, 300, 0, 686},
                                      {0, 0, 0, 0, 37, 136, 308, 502, 300, 0, 466},
                                      -180};

// The same for renju, from 4,498 positions of 240 games, scaled by 0.53.
constexpr Weights RENJU_WEIGHTS = {{5, 0, 6, 0, 76, 160, 239, 90, 300, 0, 630},
                                   {4, 0, 0, 0, 71, 131, 290, 517, 300, 0, 536},
                                   162};

inline const Weights& weightsFor(Rule rule) {
    return rule == Rule::FREESTYLE ? FITTED_WEIGHTS : rule == Rule::STANDARD ? STANDARD_WEIGHTS : RENJU_WEIGHTS;
}

inline int evaluate(const Features mover, const Features waiter, const Weights& w) {
    int v = w.tempo;
    for (int i = 0; i < FEATURES; ++i)
        v += w.mover[i] * mover[i] - w.waiter[i] * waiter[i];
    return v;
}
inline int evaluate(const Position& pos, const Weights& w) {
    Features a, b;
    featuresOf(pos, pos.toMove(), a);
    featuresOf(pos, 1 - pos.toMove(), b);
    return evaluate(a, b, w);
}

} // namespace quintrel::master
