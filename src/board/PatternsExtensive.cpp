// Worth and threat bits of the extensive pattern mode.
#include "board/Patterns.h"

namespace quintrel::patterns {

namespace {

// Line sets are ORs of one-hot line bits (a tag's high nibble).
bool twoLinesOrMore(unsigned lines) { return (lines & (lines - 1)) != 0; }

// Some entry with a line in a and some with a line in b lie on different
// lines: fails only when all of them share one line.
bool apart(unsigned a, unsigned b) { return a != 0 && b != 0 && twoLinesOrMore(a | b); }

} // namespace

void computeWorthExtensive(PatternRecord& r) {
    // Line values indexed by tag >> 4 (1, 2, 4, 8); slot 0 collects untagged entries.
    int value[9] = {};
    for (int i = 0; i < 3; ++i) {
        const int v = (r.run[i] & 0x0F) - r.runClosed[i];
        if (v > 1)
            value[r.run[i] >> 4] = v;
    }
    auto fold = [&value](std::uint8_t countByte, std::uint8_t closedByte) {
        const int v = (countByte & 0x0F) - (closedByte + 1);
        int& slot = value[countByte >> 4];
        if (v > slot)
            slot = v;
    };
    fold(r.jump[0], r.jumpClosed[0]);
    fold(r.jump[1], r.jumpClosed[1]);
    fold(r.split[0], r.splitClosed[0]);
    fold(r.split[1], r.splitClosed[1]);
    r.worth = static_cast<std::uint8_t>(value[1] + value[2] + value[4] + value[8]);

    // The six entries R0, R1, J0, J1, S0, S1: which are fours, which open
    // threes, and their lines.
    const std::uint8_t count[6] = {r.run[0], r.run[1], r.jump[0], r.jump[1], r.split[0], r.split[1]};
    const std::uint8_t closed[6] = {r.runClosed[0], r.runClosed[1], r.jumpClosed[0],
                                    r.jumpClosed[1], r.splitClosed[0], r.splitClosed[1]};
    bool four[6], three[6];
    unsigned fourLine[6], threeLine[6];
    for (int i = 0; i < 6; ++i) {
        const int n = count[i] & 0x0F;
        four[i] = n >= 4;
        three[i] = n == 3 && closed[i] == 0;
        fourLine[i] = four[i] ? count[i] >> 4 : 0;
        threeLine[i] = three[i] ? count[i] >> 4 : 0;
    }
    const unsigned fourR = fourLine[0] | fourLine[1], fourJ = fourLine[2] | fourLine[3],
                   fourS = fourLine[4] | fourLine[5];
    const unsigned threeR = threeLine[0] | threeLine[1], threeJ = threeLine[2] | threeLine[3],
                   threeS = threeLine[4] | threeLine[5];

    std::uint8_t bits = 0;
    if (four[0] || four[2] || four[4])
        bits |= THREAT_FOUR;
    if (threeR | threeJ | threeS)
        bits |= THREAT_OPEN_THREE;
    // Winning threat: an open four, or two fours. Same-kind pairs of jumps
    // and splits count even on one line (X _ X F X _ X is two threats).
    if ((four[0] && closed[0] == 0) || (four[0] && four[1]) || (four[2] && four[3]) || (four[4] && four[5]) ||
        (four[2] && four[4]) || apart(fourR, fourJ | fourS))
        bits |= THREAT_WINNING;
    // A four and an open three.
    if ((four[0] && three[1]) || (four[4] && three[5]) || apart(fourR, threeJ | threeS) ||
        apart(fourJ, threeR | threeS) || (four[2] && apart(fourLine[2], threeLine[3])) ||
        apart(fourS, threeR | threeJ))
        bits |= THREAT_FOUR_THREE;
    // Two open threes; the run pair and the split pair need no line test.
    if ((three[0] && three[1]) || (three[4] && three[5]) || twoLinesOrMore(threeR | threeJ | threeS))
        bits |= THREAT_THREE_THREE;
    r.threats = bits;
}

} // namespace quintrel::patterns
