// Placing and removing stones, and keeping every pattern record current:
// the full recomputation and the incremental walk that a search runs at
// every node.
#include "board/Board.h"
#include "board/Patterns.h"

#include <algorithm>

namespace quintrel {

using namespace patterns;

namespace {

// Record-array steps matching DIR_STEP (records are declared 20 wide, cells 21).
constexpr int RECORD_STEP_X = 20;
constexpr int RECORD_STEP[8] = {1, -1, RECORD_STEP_X, -RECORD_STEP_X, RECORD_STEP_X + 1, -RECORD_STEP_X - 1,
                                RECORD_STEP_X - 1, -RECORD_STEP_X + 1};

void reportOverflow() {
    if (JournalOverflowHandler handler = journalOverflowHandler.load())
        handler(JOURNAL_OVERFLOW_TEXT, JOURNAL_OVERFLOW_CAPTION);
}

// The incremental update around one changed field P. Cell and record
// positions travel as flat indices; the field coordinates are kept alongside
// only for the journal.
template <int Mode>
class Walk {
public:
    Walk(CBoard& board, int x, int y, MoveRecord* journal)
        : cells_(&board.cells[0][0]), records_(&board.patterns[0][0]), x_(x), y_(y), cell_(x * GRID_SIZE + y),
          record_(x * RECORD_STEP_X + y), journal_(journal) {}

    // Field at distance k from P in direction i.
    int cellAt(int i, int k) const { return cells_[cell_ + k * DIR_STEP[i]]; }
    const int* cellPtr(int i, int k) const { return cells_ + cell_ + k * DIR_STEP[i]; }
    PatternRecord& record(int i, int k, int side) const { return records_[record_ + k * RECORD_STEP[i]][side]; }

    // Appends the record of the field at distance k in direction i to the
    // journal before it changes.
    void save(int i, int k, int side) const {
        if (journal_ == nullptr)
            return;
        if (journal_->count >= MAX_FLAGS_IN_MOVE) {
            reportOverflow();
            return;
        }
        JournalEntry& e = journal_->entries[journal_->count++];
        e.x = x_ + k * DIRECTIONS[i].dx;
        e.y = y_ + k * DIRECTIONS[i].dy;
        e.side = side;
        e.record = record(i, k, side);
    }

    void phaseMover(int d);
    void phaseOther(int d);
    void updateBoundedThree(int i, int e);

private:
    int* cells_;
    PatternRecord (*records_)[2];
    int x_, y_;
    int cell_, record_;
    MoveRecord* journal_;
};

// Phase 1, the side d whose stone came or went: its blocked fields are
// unchanged, so only the fields whose lines run through P change: the first
// free field beyond P's row of stones, and the next one or the one after
// the next row of stones.
template <int Mode>
void Walk<Mode>::phaseMover(int d) {
    const int e = 1 - d;
    for (int i = 0; i < 8; ++i) {
        int n = 1;
        while (cellAt(i, n) == d)
            ++n;
        if (cellAt(i, n) == e) // blocked, the border included
            continue;
        save(i, n, d);
        PatternRecord& q1 = record(i, n, d);
        const int* c1 = cellPtr(i, n);
        const int t = DIR_STEP[i];
        computeRuns<Mode>(c1, d, q1);
        computeSplits<Mode>(c1, d, q1);
        if ((n == 1 && cellAt(i, -1) == d) || (c1[t] == EMPTY && c1[2 * t] == d))
            computeJumps<Mode>(c1, d, q1);
        computeWorth<Mode>(q1);

        const int q2 = cellAt(i, n + 1);
        if (q2 == e)
            continue;
        if (q2 == EMPTY) {
            save(i, n + 1, d);
            PatternRecord& r2 = record(i, n + 1, d);
            computeJumps<Mode>(cellPtr(i, n + 1), d, r2);
            computeWorth<Mode>(r2);
            continue;
        }
        int m = n + 2;
        while (cellAt(i, m) == d)
            ++m;
        if (cellAt(i, m) == EMPTY) {
            save(i, m, d);
            PatternRecord& r3 = record(i, m, d);
            computeSplits<Mode>(cellPtr(i, m), d, r3);
            computeWorth<Mode>(r3);
        }
    }
}

// Extensive mode only. With the next blocker at distance 6 the stretch
// between P and it is exactly 5 fields, and P's change turns an open three
// in there into one that can only become a closed four, or back:
//   P _ F X X _ d    P _ X F X _ d    P _ X X F _ d
// Its field F lies beyond the first free field, out of the walk's reach, so
// its runs are brought up to date here. At most one such field exists.
template <int Mode>
void Walk<Mode>::updateBoundedThree(int i, int e) {
    const int d = 1 - e;
    if (cellAt(i, 6) != d || cellAt(i, 1) != EMPTY || cellAt(i, 5) != EMPTY)
        return;
    int free = 0, own = 0;
    for (int k = 2; k <= 4; ++k) {
        const int v = cellAt(i, k);
        if (v == EMPTY)
            free = k;
        else if (v == e)
            ++own;
    }
    if (own != 2 || free == 0)
        return;
    save(i, free, e);
    PatternRecord& r = record(i, free, e);
    computeRuns<Mode>(cellPtr(i, free), e, r);
    computeWorth<Mode>(r);
}

// Phase 2, the other side e: P turned blocked (or free) for it, which shifts
// stretches and closed ends up to the next blocker within five fields.
template <int Mode>
void Walk<Mode>::phaseOther(int d) {
    const int e = 1 - d;
    for (int i = 0; i < 8; ++i) {
        int k = 1;
        while (k <= 5 && cellAt(i, k) != d) // d's stones and the border block e
            ++k;
        if (k <= 5) {
            for (int j = 1; j < k; ++j) {
                if (cellAt(i, j) != EMPTY)
                    continue;
                save(i, j, e);
                computeAll<Mode>(cellPtr(i, j), e, record(i, j, e));
            }
            continue;
        }
        int n = 1;
        while (cellAt(i, n) == e)
            ++n;
        if (cellAt(i, n) != EMPTY) // only behind a five of e
            continue;
        if constexpr (Mode == 1)
            if (n == 1)
                updateBoundedThree(i, e);
        save(i, n, e);
        PatternRecord& q1 = record(i, n, e);
        const int* c1 = cellPtr(i, n);
        const int t = DIR_STEP[i];
        computeRuns<Mode>(c1, e, q1);
        if (n == 1) {
            bool jumps = cellAt(i, -1) == e;
            if (c1[t] == EMPTY) {
                jumps = jumps || c1[2 * t] == e;
                if (jumps)
                    computeJumps<Mode>(c1, e, q1);
            } else {
                if (jumps)
                    computeJumps<Mode>(c1, e, q1);
                computeSplits<Mode>(c1, e, q1);
            }
            computeWorth<Mode>(q1);
            continue;
        }
        computeSplits<Mode>(c1, e, q1);
        computeWorth<Mode>(q1);
        const int q2 = c1[t];
        if (q2 == EMPTY) {
            save(i, n + 1, e);
            PatternRecord& r2 = record(i, n + 1, e);
            computeJumps<Mode>(c1 + t, e, r2);
            computeWorth<Mode>(r2);
            if (c1[2 * t] == e) {
                computeJumps<Mode>(c1, e, q1);
                computeWorth<Mode>(q1);
            }
        } else if (q2 == e) {
            int m = n + 2;
            while (cellAt(i, m) == e)
                ++m;
            if (cellAt(i, m) == EMPTY) {
                save(i, m, e);
                PatternRecord& r3 = record(i, m, e);
                computeSplits<Mode>(cellPtr(i, m), e, r3);
                computeWorth<Mode>(r3);
            }
        }
    }
}

void appendEntry(MoveRecord& move, int x, int y, int side, const PatternRecord& record) {
    if (move.count >= MAX_FLAGS_IN_MOVE) {
        reportOverflow();
        return;
    }
    JournalEntry& e = move.entries[move.count++];
    e.x = x;
    e.y = y;
    e.side = side;
    e.record = record;
}

} // namespace

template <int Mode>
void CBoard::placeStone(int x, int y, Side s) {
    MoveRecord* move = journalCurrent;
    cells[x][y] = s;
    if (move != nullptr) {
        appendEntry(*move, x, y, s, patterns[x][y][s]);
        appendEntry(*move, x, y, 1 - s, patterns[x][y][1 - s]);
        move->oldRegion = region[s];
        move->oldStoneBounds = stoneBounds;
    }
    FieldRect& r = region[s];
    r.minX = std::min(r.minX, std::max(x - 2, 1));
    r.maxX = std::max(r.maxX, std::min(x + 2, BOARD_SIZE));
    r.minY = std::min(r.minY, std::max(y - 2, 1));
    r.maxY = std::max(r.maxY, std::min(y + 2, BOARD_SIZE));
    stoneBounds.minX = std::min(stoneBounds.minX, x);
    stoneBounds.maxX = std::max(stoneBounds.maxX, x);
    stoneBounds.minY = std::min(stoneBounds.minY, y);
    stoneBounds.maxY = std::max(stoneBounds.maxY, y);
    patterns[x][y][SIDE_O] = PatternRecord{};
    patterns[x][y][SIDE_X] = PatternRecord{};

    Walk<Mode> walk(*this, x, y, move);
    setBorder(1 - s);
    walk.phaseMover(s);
    setBorder(s);
    walk.phaseOther(s);

    if (move != nullptr) {
        move->side = s;
        ++journalCurrent;
        if (journalCurrent < journalEnd)
            journalCurrent->count = 0;
    }
}

template <int Mode>
void CBoard::removeStone(int x, int y) {
    const int d = cells[x][y];
    const int e = 1 - d;
    cells[x][y] = EMPTY;
    recomputeRegions();

    Walk<Mode> walk(*this, x, y, nullptr);
    const int* c = &cells[x][y];
    setBorder(e);
    computeAll<Mode>(c, d, patterns[x][y][d]);
    walk.phaseMover(d);
    setBorder(d);
    computeAll<Mode>(c, e, patterns[x][y][e]);
    walk.phaseOther(d);
}

template <int Mode>
void CBoard::recomputeAll() {
    recomputeRegions();
    for (Side s = SIDE_O; s <= SIDE_X; ++s) {
        setBorder(1 - s);
        for (int x = 1; x <= BOARD_SIZE; ++x) {
            for (int y = 1; y <= BOARD_SIZE; ++y) {
                if (cells[x][y] != EMPTY) {
                    patterns[x][y][s] = PatternRecord{};
                    continue;
                }
                PatternRecord& r = patterns[x][y][s];
                computeAll<Mode>(&cells[x][y], s, r);
                if constexpr (Mode != 1)
                    r.threats = 0;
            }
        }
    }
}

void CBoard::recomputePatterns() {
    if (patternMode == PATTERN_MODE_EXTENSIVE)
        recomputeAll<1>();
    else
        recomputeAll<0>();
}

void CBoard::place(Field f, Side s) {
    if (patternMode == PATTERN_MODE_EXTENSIVE)
        placeStone<1>(f.x, f.y, s);
    else
        placeStone<0>(f.x, f.y, s);
}

void CBoard::remove(Field f) {
    if (patternMode == PATTERN_MODE_EXTENSIVE)
        removeStone<1>(f.x, f.y);
    else
        removeStone<0>(f.x, f.y);
}

} // namespace quintrel
