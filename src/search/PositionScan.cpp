#include "search/PositionScan.h"

#include "board/Random.h"

#include <utility>

namespace quintrel::scan {

unsigned threatsOfSide(const CBoard& b, Side s, bool stopAtFive) {
    const FieldRect& r = b.region[s];
    unsigned m = 0;
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            const PatternRecord& p = b.patterns[x][y][s];
            if (isQuiet(p)) continue;
            m |= threatsOf(p);
            if (stopAtFive && (m & FIVE)) return m;
        }
    return m;
}

int evaluation(const CBoard& b, const FieldRect& rect, Side s, bool attack) {
    const Side o = otherSide(s);
    int score = 1;
    for (int x = rect.minX; x <= rect.maxX; ++x)
        for (int y = rect.minY; y <= rect.maxY; ++y) {
            const PatternRecord& own = b.patterns[x][y][s];
            const PatternRecord& opp = b.patterns[x][y][o];
            if (own.worth > 3) score += own.worth;
            if (opp.worth > 3) score -= opp.worth;
            if (attack) score += strongFeatures(own) - strongFeatures(opp);
        }
    return score;
}

bool pickAbsoluteBest(FieldList& list, const CBoard& board, GameMove& move, bool attack) {
    if (list.count == 0) return false;
    int max[2] = {0, 0};
    int size[2] = {0, 0};
    int ties[2][MAX_TIES];
    for (int i = 0; i < list.count; ++i) {
        const Field f = list.fields[i];
        const PatternRecord* records = board.patterns[f.x][f.y];
        for (int t = 0; t < 2; ++t) {
            const int w = records[t].worth;
            if (w > max[t]) {
                max[t] = w;
                ties[t][0] = i;
                size[t] = 1;
            } else if (w == max[t] && size[t] < MAX_TIES) {
                ties[t][size[t]++] = i;
            }
        }
    }
    Side p = list.side;
    Side q = otherSide(p);
    if (max[p] < max[q] && (!attack || max[q] > 5 || max[p] + 1 < max[q])) std::swap(p, q);
    const int r = rng::next();
    int candidate = ties[p][r % size[p]];
    int best = board.patterns[list.fields[candidate].x][list.fields[candidate].y][q].worth;
    for (int k = 0; k < size[p]; ++k) {
        const Field f = list.fields[ties[p][k]];
        const int w = board.patterns[f.x][f.y][q].worth;
        if (w > best) {
            best = w;
            candidate = ties[p][k];
        }
    }
    move.field = list.fields[candidate];
    move.side = list.side;
    list.removeAt(candidate);
    return true;
}

} // namespace quintrel::scan
