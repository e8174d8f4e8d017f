#include "search/ExtensivePlayer.h"

#include "board/BoardQueries.h"

#include <cstdio>
#include <string>

namespace quintrel {

namespace {

// Worth of a field to the weighted evaluation: strong fields count far more
// than several weak ones together.
int weightOf(int worth) {
    static constexpr int WEIGHT[8] = {0, 0, 0, 2, 9, 16, 20, 23};
    return worth >= 8 ? 25 : WEIGHT[worth];
}

bool isPassCode(int k) {
    return k == CExtensivePlayer::DOUBLE_AGAINST_FOURS || k == CExtensivePlayer::FOURS ||
           k == CExtensivePlayer::OPEN_THREES;
}

std::string countRemark(const char* format, int n) {
    char text[32];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

} // namespace

CExtensivePlayer::~CExtensivePlayer() {
    stopThinking();
}

// ---------------------------------------------------------------------------
// Classification

CExtensivePlayer::ThreatSummary CExtensivePlayer::summarize(Side s) const {
    ThreatSummary summary;
    const FieldRect& r = board.region[s];
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            if (board.cells[x][y] != EMPTY) continue;
            const PatternRecord& p = board.patterns[x][y][s];
            summary.bits |= p.threats;
            if ((p.run[0] & 0x0F) >= 5 && summary.fives < 2) ++summary.fives;
        }
    return summary;
}

void CExtensivePlayer::listDefencesAgainst(Side o, int threatClass, FieldList& list) {
    FieldList threats;
    listThreatClass(board, threatClass, o, threats);
    list.clear();
    if (!threats.empty()) listDefences(board, o, threats[threats.count - 1], threatClass, list);
    list.side = otherSide(o);
}

int CExtensivePlayer::classify(Side s, FieldList& list, int resume, bool defend) {
    const Side o = otherSide(s);
    list.clear();
    list.side = s;
    int step;
    switch (resume) {
    case QUIET:
        step = 1;
        break;
    case FOURS:
        step = 6;
        break;
    case DOUBLE_AGAINST_FOURS:
        step = 9;
        break;
    case OPEN_THREES:
        step = 10;
        break;
    default:
        return QUIET;
    }
    const ThreatSummary mine = summarize(s);
    const ThreatSummary theirs = summarize(o);
    const bool theirFours = (theirs.bits & THREAT_FOUR) != 0;

    // Steps 1-2: fives decide or force at once.
    if (step <= 1 && mine.fives > 0) {
        listFiveFields(board, s, list);
        return FIVE_NOW;
    }
    if (step <= 2 && theirs.fives > 0) {
        listFiveFields(board, o, list);
        return theirs.fives >= 2 ? LOST : FORCED_BLOCK;
    }
    // Steps 3-5: own winning threats, then own fours.
    if (step <= 3 && (mine.bits & THREAT_WINNING)) {
        listThreatClass(board, THREAT_WINNING, s, list);
        return WIN_IN_TWO;
    }
    if (step <= 4 && (mine.bits & THREAT_FOUR_THREE)) {
        listThreatClass(board, THREAT_FOUR_THREE, s, list);
        if (!theirFours || fourThreatHolds(s, list)) return WIN_IN_THREE;
        list.clear();
    }
    if (step <= 5 && (mine.bits & THREAT_FOUR)) {
        listThreatClass(board, THREAT_FOUR, s, list);
        return FOURS;
    }
    // Steps 6-7: a lost node answers the opponent's strong threats.
    if (step <= 6 && defend && (theirs.bits & THREAT_WINNING)) {
        listDefencesAgainst(o, THREAT_WINNING, list);
        return DEFEND;
    }
    if (step <= 7 && defend && (theirs.bits & THREAT_FOUR_THREE)) {
        listDefencesAgainst(o, THREAT_FOUR_THREE, list);
        return DEFEND;
    }
    // Steps 8-10: double threes, open threes, defence against double threes.
    if (step <= 8 && (mine.bits & THREAT_THREE_THREE)) {
        listThreatClass(board, THREAT_THREE_THREE, s, list);
        return theirFours ? DOUBLE_AGAINST_FOURS : WIN_IN_THREE;
    }
    if (step <= 9 && (mine.bits & THREAT_OPEN_THREE)) {
        listThreatClass(board, THREAT_OPEN_THREE, s, list);
        return OPEN_THREES;
    }
    if (step <= 10 && defend && (theirs.bits & THREAT_THREE_THREE)) {
        listDefencesAgainst(o, THREAT_THREE_THREE, list);
        return DEFEND;
    }
    list.clear();
    return QUIET;
}

bool CExtensivePlayer::fourThreatHolds(Side s, const FieldList& list) {
    const Side o = otherSide(s);
    FieldList fives;
    FieldList blocks;
    for (int i = 0; i < list.count; ++i) {
        play(list[i], s);
        const bool hasFive = listFiveFields(board, s, fives);
        listThreatClass(board, THREAT_FOUR, o, blocks);
        takeBack();
        if (blocks.empty() || !hasFive || !blocks.contains(fives[0])) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Evaluation

int CExtensivePlayer::weightedEvaluate(Side s) {
    const Side o = otherSide(s);
    int score = 1;
    const FieldRect r = searchRectangle();
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            if (board.cells[x][y] != EMPTY) continue;
            const int own = board.patterns[x][y][s].worth;
            const int opp = board.patterns[x][y][o].worth;
            if (own > 1) score += weightOf(own);
            if (opp > 1) score -= weightOf(opp);
        }
    if (settings().attack) score += threatCount(board, s) - threatCount(board, o);
    return score;
}

int CExtensivePlayer::staticScore(Side s) {
    return settings().weighted ? weightedEvaluate(s) : evaluate(s);
}

// ---------------------------------------------------------------------------
// Search

int CExtensivePlayer::extensiveNode(Side s, int alpha, int beta) {
    const Side o = otherSide(s);

    // Step 1: count; the fields tried and the move count run across passes.
    countPosition();
    FieldList tried;
    FieldList list;
    const unsigned maxBranch = settings().maxBranch;
    const unsigned full = fullDepth > 0 ? static_cast<unsigned>(fullDepth) : 0;
    unsigned i = 0;
    int resume = QUIET;

    for (;;) {
        // Step 2-3: classify; decisive classes end the branch.
        const int k = classify(s, list, resume, alpha <= -SCORE_WON);
        if (k >= SCORE_WON || k <= -SCORE_WON) return k;

        // Step 4: the horizon, and quiet positions beyond the full width.
        if (depth >= journalDepth || (k == QUIET && depth >= full)) return staticScore(s);

        // Step 5: a quiet node inside the full width tries every candidate.
        if (k == QUIET) generateCandidates(list, s, false);
        countNode(list.count);

        // Step 6: the moves of this pass not tried in an earlier one.
        GameMove m;
        while (nextMove(list, m)) {
            if (tried.contains(m.field)) continue;
            tried.append(m.field);
            ++i;
            play(m.field, s);
            const int a2 = ageBound(alpha);
            const int b2 = ageBound(beta);
            ++depth;
            int v = -extensiveNode(o, -b2, -a2);
            --depth;
            v = age(v);
            takeBack();
            if (v > alpha) {
                alpha = v;
                if (v >= beta) break;
            }
            if (interrupted() || (maxBranch != 0 && i >= maxBranch)) break;
        }

        // Step 7: what was skipped.
        recordCut(list.count, static_cast<int>(depth));

        // Step 8: threat classes that did not decide hand over to the next
        // class; beyond the full width a found win is enough.
        if (interrupted() || alpha >= beta || !isPassCode(k)) break;
        if (alpha >= SCORE_WON && depth >= full) break;
        resume = k;
    }
    return alpha;
}

int CExtensivePlayer::search(Side s) {
    // Steps 1-3: count, the opening rule, the board in extensive mode.
    countPosition();
    if (boardIsEmpty()) return playOpening();
    board.setPatternMode(PATTERN_MODE_EXTENSIVE);
    fullDepth = settings().fullDepth;

    // Steps 4-7: a decided or forced position needs no search.
    const int k = classify(s, rootThreats, QUIET, false);
    if (k >= SCORE_WON) {
        remark = countRemark("Victory in %d", 801 - k / 2);
        pickRandom(rootThreats, bestMove);
        return k;
    }
    if (k <= -SCORE_WON) {
        remark = countRemark("Defeat in %d", k / 2 + 800);
        pickRandom(rootThreats, bestMove);
        return k;
    }
    if (k == FORCED_BLOCK) {
        remark = "Forced move...";
        bestMove.field = rootThreats[rootThreats.count - 1];
        bestMove.side = s;
        return 0;
    }

    // Steps 8-10: every candidate plus the threat fields the reduction missed.
    FieldList list;
    generateCandidates(list, s, true);
    if (k != QUIET) mergeInto(list, rootThreats);
    countNode(list.count);
    const int best = searchRoot(s, list);

    // Step 11: announce a decided outcome.
    if (best > SCORE_WON)
        remark = settings().aging ? countRemark("Victory in %d", 801 - best / 2) : "Going to win";
    else if (best < -SCORE_WON)
        remark = settings().aging ? countRemark("Defeat in %d", best / 2 + 800) : "Going to loose";
    return best;
}

} // namespace quintrel
