#pragma once
// Helpers shared by the board tests: whole-board comparison and readable
// descriptions of the first difference.

#include "board/Board.h"

#include <cstring>
#include <sstream>
#include <string>

namespace quintrel::testing {

inline std::string describe(const PatternRecord& r) {
    std::ostringstream out;
    for (int i = 0; i < 16; ++i)
        out << (i ? " " : "") << std::hex << int(r.byte(i));
    return out.str();
}

// The first pattern record (empty or not) that differs, or "" when all agree.
inline std::string firstRecordDifference(const CBoard& a, const CBoard& b) {
    for (int x = 1; x <= BOARD_SIZE; ++x) {
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            for (Side s = SIDE_O; s <= SIDE_X; ++s) {
                if (a.patterns[x][y][s] == b.patterns[x][y][s])
                    continue;
                std::ostringstream out;
                out << "record (" << x << ", " << y << ") side " << s << " cell " << a.cells[x][y] << ": ["
                    << describe(a.patterns[x][y][s]) << "] vs [" << describe(b.patterns[x][y][s]) << "]";
                return out.str();
            }
        }
    }
    return "";
}

// Everything but the border: the board's whole state as its users see it.
inline std::string firstDifference(const CBoard& a, const CBoard& b) {
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            if (a.cells[x][y] != b.cells[x][y])
                return "cell (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    for (Side s = SIDE_O; s <= SIDE_X; ++s)
        if (!(a.region[s] == b.region[s]))
            return "region of side " + std::to_string(s);
    if (!(a.stoneBounds == b.stoneBounds))
        return "stoneBounds";
    // The unused rows 0 of the record array must stay untouched too.
    if (std::memcmp(a.patterns, b.patterns, sizeof a.patterns) != 0) {
        std::string d = firstRecordDifference(a, b);
        return d.empty() ? "record outside the board" : d;
    }
    if (a.journalBase != b.journalBase || a.journalCurrent != b.journalCurrent || a.journalEnd != b.journalEnd)
        return "journal pointers";
    if (a.patternMode != b.patternMode)
        return "patternMode";
    if (std::memcmp(a.lineCodes, b.lineCodes, sizeof a.lineCodes) != 0)
        return "lineCodes";
    return "";
}

inline CBoard clearedBoard(int mode = PATTERN_MODE_NORMAL) {
    CBoard b;
    b.clear();
    b.setPatternMode(mode);
    return b;
}

} // namespace quintrel::testing
