#include "search/PositionScan.h"

#include "board/Random.h"

#include <utility>

namespace quintrel::scan {

unsigned threatsOf(const PatternRecord& p) {
    if (isQuiet(p)) return 0;
    const int b0 = p.run[0], b1 = p.run[1], b3 = p.runClosed[0], b4 = p.runClosed[1];
    const int b6 = p.jump[0], b7 = p.jump[1], b8 = p.jumpClosed[0], b9 = p.jumpClosed[1];
    const int b10 = p.split[0], b11 = p.split[1], b12 = p.splitClosed[0], b13 = p.splitClosed[1];
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

int strongFeatures(const PatternRecord& p) {
    if (isQuiet(p)) return 0;
    const auto run = [](int len, int closed) { return (len == 3 && closed == 0) || len >= 4; };
    const auto gap = [](int count, int closed) { return (count == 2 && closed == 0) || count >= 3; };
    return run(p.run[0], p.runClosed[0]) + run(p.run[1], p.runClosed[1]) + gap(p.jump[0], p.jumpClosed[0]) +
           gap(p.jump[1], p.jumpClosed[1]) + gap(p.split[0], p.splitClosed[0]) +
           gap(p.split[1], p.splitClosed[1]);
}

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
