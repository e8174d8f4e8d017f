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
unsigned threatsOf(const PatternRecord& p);

// Open threes and fours counted per record entry, as threatCount (mode 0).
int strongFeatures(const PatternRecord& p);

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
