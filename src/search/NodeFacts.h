#pragma once
// What the verdict and the evaluation need to know about a normal-mode
// board, kept up to date move by move instead of re-derived at every node:
// per side, how many empty fields offer each kind of winning threat, the sum
// of the worths above 3 and the number of strong line features.
//
// A journalled place() lists every record it changed; after the move only
// those fields are judged again, and their previous facts and the sums go
// on a stack from which the take-back restores them without judging anything. The sums
// therefore always equal a full scan of the board (see PositionScan.h for
// why a full scan equals the region scans of the board queries).

#include "board/Board.h"

#include <cstdint>

namespace quintrel {

namespace facts_detail {
// Threat bits spread to one unit in each bit's 16-bit count.
constexpr std::uint64_t unitsOf(unsigned threats) {
    std::uint64_t u = 0;
    for (int i = 0; i < 4; ++i)
        if (threats & (1u << i)) u |= std::uint64_t{1} << (16 * i);
    return u;
}
inline constexpr std::uint64_t COUNT_UNITS[16] = {
    unitsOf(0), unitsOf(1), unitsOf(2),  unitsOf(3),  unitsOf(4),  unitsOf(5),  unitsOf(6),  unitsOf(7),
    unitsOf(8), unitsOf(9), unitsOf(10), unitsOf(11), unitsOf(12), unitsOf(13), unitsOf(14), unitsOf(15)};
} // namespace facts_detail

class NodeFacts {
public:
    // Plies of trial moves the stack holds (maxDepth is at most 40).
    static constexpr int MAX_PLIES = 48;

    // A full scan of a normal-mode board; empties the stack.
    void reset(const CBoard& b);
    // After a journalled place(): judges the records the move changed.
    void afterPlace(const CBoard& b);
    // Before takeBack(): restores the facts from before that move.
    void beforeTakeBack(const CBoard& b);
    // False once more plies were played than the stack holds; the caller then
    // answers from the board itself until the next reset.
    bool valid() const { return ok; }

    // The scan::FIVE ... scan::COMBO bits some empty field of s offers.
    unsigned threats(Side s) const;
    // The static evaluation for s: 1 + worths above 3 (+ strong features
    // when attacking), own minus the other side's.
    int evaluation(Side s, bool attack) const;

    bool sameSums(const NodeFacts& other) const;

private:
    struct Facts {
        std::int16_t worth;    // the worth when above 3, else 0
        std::uint8_t features; // strong line features
        std::uint8_t threats;  // scan::FIVE ... scan::COMBO
    };
    struct Sums {
        int worth = 0;
        int features = 0;
        // Fields offering FIVE, OPEN_FOUR, DOUBLE and COMBO, 16 bits each.
        // Every count stays within 0..722 at all times, so adding and
        // subtracting the packed form never carries between them.
        std::uint64_t counts = 0;
    };
    static Facts judge(const PatternRecord& p);
    void apply(Side s, Facts f, int sign) {
        Sums& sum = sums[s];
        sum.worth += sign * f.worth;
        sum.features += sign * f.features;
        sum.counts += static_cast<std::uint64_t>(sign) * facts_detail::COUNT_UNITS[f.threats];
    }

    Sums sums[2];
    Facts field[20][20][2];
    Facts saved[MAX_PLIES * MAX_FLAGS_IN_MOVE];
    int top = 0;
    Sums savedSums[MAX_PLIES][2];
    int plies = 0;
    bool ok = false;
};

} // namespace quintrel
