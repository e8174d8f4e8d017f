#include "board/FieldList.h"

#include "board/Board.h"
#include "board/Random.h"

namespace quintrel {

namespace {

inline int worthOf(const CBoard& board, Field f, Side s) { return board.pattern(f.x, f.y, s).worth; }

// Indices of the entries of the highest worth for `judged`, the first
// MAX_TIES in list order. `max` starts at `floor`: -1 lets every entry in,
// 0 makes worth-0 entries join the ties instead of founding them.
struct TieSet {
    int max;
    int size = 0;
    int index[MAX_TIES];

    TieSet(const FieldList& list, const CBoard& board, Side judged, int floor) : max(floor) {
        for (int i = 0; i < list.count; ++i) {
            const int w = worthOf(board, list.fields[i], judged);
            if (w > max) {
                max = w;
                index[0] = i;
                size = 1;
            } else if (w == max && size < MAX_TIES) {
                index[size++] = i;
            }
        }
    }
};

bool takeEntry(FieldList& list, int i, GameMove& move) {
    move.field = list.fields[i];
    move.side = list.side;
    list.removeAt(i);
    return true;
}

bool pickBestWorth(FieldList& list, const CBoard& board, GameMove& move, Side judged) {
    if (list.count == 0)
        return false;
    const TieSet ties(list, board, judged, -1);
    const int r = rng::next();
    return takeEntry(list, ties.index[r % ties.size], move);
}

} // namespace

bool FieldList::contains(Field f) const {
    for (int i = 0; i < count; ++i)
        if (fields[i] == f)
            return true;
    return false;
}

bool pickRandom(FieldList& list, GameMove& move) {
    if (list.count == 0)
        return false;
    const int r = rng::next();
    return takeEntry(list, r % list.count, move);
}

bool pickBestOwnWorth(FieldList& list, const CBoard& board, GameMove& move) {
    return pickBestWorth(list, board, move, list.side);
}

bool pickBestOpponentWorth(FieldList& list, const CBoard& board, GameMove& move) {
    return pickBestWorth(list, board, move, otherSide(list.side));
}

bool pickAbsoluteBest(FieldList& list, const CBoard& board, GameMove& move, bool attack) {
    if (list.count == 0)
        return false;
    // Both tie sets are built, O first, whichever side the list is about.
    const TieSet bySide[2] = {TieSet(list, board, SIDE_O, 0), TieSet(list, board, SIDE_X, 0)};
    Side p = list.side;
    Side q = otherSide(p);
    const int own = bySide[p].max;
    const int opp = bySide[q].max;
    if (own < opp && (!attack || opp > 5 || own + 1 < opp)) {
        p = q;  // defend on the opponent's best fields
        q = list.side;
    }
    const TieSet& ties = bySide[p];
    const int r = rng::next();
    int candidate = ties.index[r % ties.size];
    int best = worthOf(board, list.fields[candidate], q);
    for (int k = 0; k < ties.size; ++k) {
        const int w = worthOf(board, list.fields[ties.index[k]], q);
        if (w > best) {
            best = w;
            candidate = ties.index[k];
        }
    }
    return takeEntry(list, candidate, move);
}

void mergeInto(FieldList& list, const FieldList& other) {
    for (int i = 0; i < other.count && list.count < FieldList::CAPACITY; ++i)
        if (!list.contains(other.fields[i]))
            list.append(other.fields[i]);
}

bool contains(const FieldList& list, Field f) { return list.contains(f); }

} // namespace quintrel
