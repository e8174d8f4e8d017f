#pragma once
// The per-node questions of the search, answered in one pass over the
// pattern records of normal (mode-0) boards: which winning threats a side
// has, and the static evaluation. They give exactly what the board queries
// (listFiveFields, listOpenFourFields, listDoubleThreatFields,
// listComboThreatFields, threatCount) give, several scans' worth in one.
//
// Both rely on two facts the board keeps: an occupied field has an all-zero
// record, and the line entries of a record are sorted strongest first
// (run[0] >= run[1], jump[0] >= jump[1], split[0] >= split[1]). So a field
// whose first run is below 3 and whose first jump and split are below 2
// holds no threat at all, which is most fields; and a field far from all of
// a side's stones (outside its region) holds no feature of that side.

#include "board/Board.h"
#include "board/FieldList.h"

namespace quintrel::scan {

// What a side's empty fields offer, strongest first.
constexpr unsigned FIVE = 1;       // completes five
constexpr unsigned OPEN_FOUR = 2;  // makes an open four
constexpr unsigned DOUBLE = 4;     // makes two threats at once
constexpr unsigned COMBO = 8;      // a jump together with a straight or split part

// Nothing to find on a field: no run of 3, no jump or split of 2.
inline bool isQuiet(const PatternRecord& p) { return p.run[0] < 3 && p.jump[0] < 2 && p.split[0] < 2; }

// The threat bits of one record (mode 0).
inline unsigned threatsOf(const PatternRecord& p) {
    if (isQuiet(p)) return 0;
    const int b0 = p.run[0], b1 = p.run[1], b3 = p.runClosed[0], b4 = p.runClosed[1];
    const int b6 = p.jump[0], b7 = p.jump[1], b8 = p.jumpClosed[0], b9 = p.jumpClosed[1];
    const int b10 = p.split[0], b11 = p.split[1], b12 = p.splitClosed[0], b13 = p.splitClosed[1];
    // A five or an open four needs a run of 4; every double or combined
    // threat needs two of a run of 3, a jump of 2 and a split of 2, or a
    // second entry of one of them. Most fields near stones have neither.
    if (b0 < 4 && b1 < 3 && b7 < 2 && b11 < 2 && (b0 >= 3) + (b6 >= 2) + (b10 >= 2) < 2) return 0;
    unsigned m = 0;
    if ((b0 & 0x0F) >= 5) m |= FIVE;
    if (b0 == 4 && b3 == 0) m |= OPEN_FOUR;
    // open three + open three or closed four; closed four + closed four or open three
    if ((b0 == 3 && b3 == 0 && ((b1 == 3 && b4 == 0) || (b1 == 4 && b4 == 1))) ||
        (b0 == 4 && b3 == 1 && ((b1 == 4 && b4 == 1) || (b1 == 3 && b4 == 0))) ||
        // jump four + second jump; two open jump threes
        (b6 >= 3 && (b7 >= 3 || (b7 == 2 && b9 == 0))) || (b6 == 2 && b8 == 0 && b7 == 2 && b9 == 0) ||
        // open split three + another open three or a closed four; split four + second split
        (b10 == 2 && b12 == 0 &&
         ((b11 == 2 && b13 == 0) || (b0 == 3 && b3 == 0) || (b1 == 3 && b4 == 0) || (b0 == 4 && b3 == 1))) ||
        (b10 == 3 && (b11 == 3 || (b11 == 2 && b13 == 0))))
        m |= DOUBLE;
    const bool jumpPart = (b6 == 2 && b8 == 0) || b6 == 3;
    const bool straightPart = (b0 == 3 && b3 == 0) || b0 == 4;
    const bool splitPart = (b10 == 2 && b12 == 0) || b10 == 3;
    if (jumpPart && (straightPart || splitPart)) m |= COMBO;
    return m;
}

// Open threes and fours counted per record entry, as threatCount (mode 0).
inline int strongFeatures(const PatternRecord& p) {
    if (isQuiet(p)) return 0;
    const auto run = [](int len, int closed) { return (len == 3 && closed == 0) || len >= 4; };
    const auto gap = [](int count, int closed) { return (count == 2 && closed == 0) || count >= 3; };
    return run(p.run[0], p.runClosed[0]) + run(p.run[1], p.runClosed[1]) + gap(p.jump[0], p.jumpClosed[0]) +
           gap(p.jump[1], p.jumpClosed[1]) + gap(p.split[0], p.splitClosed[0]) +
           gap(p.split[1], p.splitClosed[1]);
}

// The union of threatsOf over s's region; with stopAtFive it returns as soon
// as a five field is met.
unsigned threatsOfSide(const CBoard& b, Side s, bool stopAtFive);

// 1 + the worths above 3 of s, minus those of the other side, over the
// rectangle; with attack also s's strong features minus the other side's.
int evaluation(const CBoard& b, const FieldRect& rect, Side s, bool attack);

// The "Absolute best first" pick with both sides' tie sets built in one pass
// over the list: the same choice, draw and remaining list as the board's
// pickAbsoluteBest.
bool pickAbsoluteBest(FieldList& list, const CBoard& b, GameMove& move, bool attack);

} // namespace quintrel::scan
