#include "board/Board.h"

#include <algorithm>
#include <cassert>

namespace quintrel {

CBoard::CBoard()
    : region{FieldRect::emptyRect(), FieldRect::emptyRect()},
      stoneBounds(FieldRect::emptyRect()),
      patterns{},
      journalBase(nullptr),
      journalCurrent(nullptr),
      journalEnd(nullptr),
      patternMode(PATTERN_MODE_NORMAL) {
    std::fill(&cells[0][0], &cells[0][0] + GRID_SIZE * GRID_SIZE, EMPTY);
    rebuildLineCodes();
}

void CBoard::clear() {
    // Stones can only lie inside stoneBounds.
    for (int x = stoneBounds.minX; x <= stoneBounds.maxX; ++x)
        for (int y = stoneBounds.minY; y <= stoneBounds.maxY; ++y)
            cells[x][y] = EMPTY;
    region[SIDE_O] = region[SIDE_X] = stoneBounds = FieldRect::emptyRect();
    rebuildLineCodes();
    if (patternMode == PATTERN_MODE_EXTENSIVE)
        recomputePatterns(); // the extensive records carry line tags even on an empty board
    else
        resetEmptyRecords();
}

// The normal-mode records of an empty board: one stone's worth of line on
// every line, edges closing one end of three lines, corners losing one line.
void CBoard::resetEmptyRecords() {
    PatternRecord open{};
    open.run[0] = open.run[1] = open.run[2] = 1;
    open.worth = 1;
    for (int x = 1; x <= BOARD_SIZE; ++x) {
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            PatternRecord r = open;
            const bool edgeX = x == 1 || x == BOARD_SIZE;
            const bool edgeY = y == 1 || y == BOARD_SIZE;
            if (edgeX || edgeY)
                r.runClosed[1] = r.runClosed[2] = 1;
            if (edgeX && edgeY) {
                r.runClosed[0] = 1;
                r.worth = 0;
            }
            patterns[x][y][SIDE_O] = r;
            patterns[x][y][SIDE_X] = r;
        }
    }
}

void CBoard::setPatternMode(int mode) {
    if (mode == patternMode)
        return;
    patternMode = mode;
    recomputePatterns();
}

void CBoard::setBorder(int value) {
    for (int i = 0; i < GRID_SIZE; ++i) {
        cells[0][i] = value;
        cells[GRID_SIZE - 1][i] = value;
        cells[i][0] = value;
        cells[i][GRID_SIZE - 1] = value;
    }
}

// Regions only shrink when stones go, so the scan stays inside the old bounds.
void CBoard::recomputeRegions() {
    const FieldRect old = stoneBounds;
    FieldRect all = FieldRect::emptyRect();
    for (Side s = SIDE_O; s <= SIDE_X; ++s) {
        // Folding stones into the empty rectangle yields their bounding box.
        FieldRect box = FieldRect::emptyRect();
        bool found = false;
        for (int x = old.minX; x <= old.maxX; ++x) {
            for (int y = old.minY; y <= old.maxY; ++y) {
                if (cells[x][y] != s)
                    continue;
                found = true;
                box.minX = std::min(box.minX, x);
                box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y);
                box.maxY = std::max(box.maxY, y);
            }
        }
        if (!found) {
            region[s] = FieldRect::emptyRect();
            continue;
        }
        region[s] = FieldRect{std::max(box.minX - 2, 1), std::max(box.minY - 2, 1), std::min(box.maxX + 2, BOARD_SIZE),
                              std::min(box.maxY + 2, BOARD_SIZE)};
        all.minX = std::min(all.minX, box.minX);
        all.minY = std::min(all.minY, box.minY);
        all.maxX = std::max(all.maxX, box.maxX);
        all.maxY = std::max(all.maxY, box.maxY);
    }
    stoneBounds = all;
}

bool CBoard::attachJournal(MoveRecord* buffer, int n) {
    if (journalBase != nullptr || buffer == nullptr || n <= 0)
        return false;
    journalBase = buffer;
    journalCurrent = buffer;
    journalEnd = buffer + n;
    buffer->count = 0;
    return true;
}

bool CBoard::detachJournal(MoveRecord* buffer) {
    if (journalBase != buffer || buffer == nullptr)
        return false;
    journalBase = journalCurrent = journalEnd = nullptr;
    return true;
}

// Restores exactly what the last journalled place() changed; no pattern work.
void CBoard::takeBack() {
    assert(journalBase != nullptr && journalCurrent > journalBase && "takeBack without a recorded move");
    MoveRecord& move = *--journalCurrent;
    region[move.side] = move.oldRegion;
    stoneBounds = move.oldStoneBounds;
    const JournalEntry& placed = move.entries[0];
    cells[placed.x][placed.y] = EMPTY;
    flipLineCodes(placed.x, placed.y, move.side);
    for (int i = 0; i < move.count; ++i) {
        const JournalEntry& e = move.entries[i];
        patterns[e.x][e.y][e.side] = e.record;
    }
    move.count = 0;
}

bool CBoard::findFive(Side s, int ends[4]) {
    setBorder(1 - s);
    ends[0] = ends[1] = ends[2] = ends[3] = 0;
    // Per line: the first direction walked, in the order x-line, y-line, diagonal, anti-diagonal.
    static constexpr Direction first[4] = {{+1, 0}, {0, +1}, {-1, -1}, {+1, -1}};
    const FieldRect& r = region[s];
    for (int x = r.minX; x <= r.maxX; ++x) {
        for (int y = r.minY; y <= r.maxY; ++y) {
            if (cells[x][y] != s)
                continue;
            for (const Direction& d : first) {
                int count = 1;
                int ax = x, ay = y;
                while (count < 5 && cells[ax + d.dx][ay + d.dy] == s) {
                    ax += d.dx;
                    ay += d.dy;
                    ++count;
                }
                int bx = x, by = y;
                while (count < 5 && cells[bx - d.dx][by - d.dy] == s) {
                    bx -= d.dx;
                    by -= d.dy;
                    ++count;
                }
                if (count == 5) {
                    ends[0] = ax;
                    ends[1] = ay;
                    ends[2] = bx;
                    ends[3] = by;
                    return true;
                }
            }
        }
    }
    return false;
}

bool CBoard::noFivePossible() const {
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            if ((patterns[x][y][SIDE_O].run[0] & 0x0F) != 0 || (patterns[x][y][SIDE_X].run[0] & 0x0F) != 0)
                return false;
    return true;
}

bool CBoard::isIsolated(int x, int y) const {
    for (const Direction& d : DIRECTIONS) {
        for (int k = 1; k <= 2; ++k) {
            const int fx = x + k * d.dx, fy = y + k * d.dy;
            if (fx < 1 || fx > BOARD_SIZE || fy < 1 || fy > BOARD_SIZE)
                continue;
            if (cells[fx][fy] != EMPTY)
                return false;
        }
    }
    return true;
}

bool CBoard::isQuietSquare(int x, int y) const {
    for (int fx = std::max(x - 2, 1); fx <= std::min(x + 2, BOARD_SIZE); ++fx)
        for (int fy = std::max(y - 2, 1); fy <= std::min(y + 2, BOARD_SIZE); ++fy)
            if (cells[fx][fy] != EMPTY)
                return false;
    return true;
}

} // namespace quintrel
