#include "master/Evaluation.h"

namespace quintrel::master {

void featuresOf(const Position& pos, int s, Features out) {
    for (int p = B1; p <= FIVE; ++p)
        out[p - B1] = pos.patternCount(s, static_cast<LinePattern>(p));
    out[FEATURES - 2] = pos.comboCount(s, DOUBLE_THREE);
    out[FEATURES - 1] = pos.comboCount(s, FOUR_COMBO);
}

const Weights FITTED_WEIGHTS = HAND_WEIGHTS;

} // namespace quintrel::master
