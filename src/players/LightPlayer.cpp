#include "players/LightPlayer.h"

#include "board/Board.h"
#include "board/BoardQueries.h"
#include "board/FieldList.h"
#include "board/Random.h"
#include "players/PlayerDefinition.h"

namespace quintrel {

namespace {

// Every list carries the mover's side, also when it holds the opponent's
// fields: "best own worth" of the opponent's fives is the one worth most to us.
struct MoverList : FieldList {
    explicit MoverList(Side me) { side = me; }
};

// Primitive ladder: fives, then open fours, then (Attacker) any attack.
// A Defender never looks at its own open fours before the opponent's.
bool primitiveLadder(const CBoard& b, Side me, int style, FieldList& list) {
    const Side opp = otherSide(me);
    return listFiveFields(b, me, list) || listFiveFields(b, opp, list) ||
           (style != STYLE_DEFENDER && listOpenFourFields(b, me, list)) ||
           listOpenFourFields(b, opp, list) ||
           (style == STYLE_ATTACKER && listAttackFields(b, me, list));
}

// Sensible and Fanatic ladder: each threat kind first for me, then for opp.
bool fullLadder(const CBoard& b, Side me, int style, FieldList& list) {
    const Side opp = otherSide(me);
    return listFiveFields(b, me, list) || listFiveFields(b, opp, list) ||
           listOpenFourFields(b, me, list) || listOpenFourFields(b, opp, list) ||
           listDoubleThreatFields(b, me, list) || listDoubleThreatFields(b, opp, list) ||
           listComboThreatFields(b, me, list) || listComboThreatFields(b, opp, list) ||
           (style == STYLE_ATTACKER && listAttackFields(b, me, list));
}

bool primitive(const CBoard& b, Side me, int style, GameMove& move) {
    MoverList list(me);
    if (primitiveLadder(b, me, style, list)) return pickRandom(list, move);

    MoverList mine(me), theirs(me);
    listBestWorthFields(b, me, mine);
    listBestWorthFields(b, otherSide(me), theirs);
    // Normal tosses a coin; the draw is made whatever the lists hold.
    const bool attack =
        style == STYLE_ATTACKER || (style == STYLE_NORMAL && (rng::next() & 1) != 0);
    if (attack && !mine.empty()) return pickRandom(mine, move);
    return pickRandom(theirs, move);
}

bool sensible(const CBoard& b, Side me, int style, GameMove& move) {
    MoverList list(me);
    if (fullLadder(b, me, style, list)) return pickBestOwnWorth(list, b, move);
    return CLightPlayer::compareWorths(b, me, style, move);
}

bool fanatic(const CBoard& b, Side me, int style, GameMove& move) {
    MoverList list(me);
    if (fullLadder(b, me, style, list))
        return style == STYLE_DEFENDER ? pickBestOpponentWorth(list, b, move)
                                       : pickBestOwnWorth(list, b, move);

    // No threat: the Defender answers the opponent's best fields first, the
    // others play their own, each falling back to the other side's list.
    MoverList mine(me), theirs(me);
    if (style == STYLE_DEFENDER) {
        listBestWorthFields(b, otherSide(me), theirs);
        if (!theirs.empty()) return pickBestOwnWorth(theirs, b, move);
        listBestWorthFields(b, me, mine);
        return pickBestOpponentWorth(mine, b, move);
    }
    listBestWorthFields(b, me, mine);
    if (!mine.empty()) return pickBestOpponentWorth(mine, b, move);
    listBestWorthFields(b, otherSide(me), theirs);
    return pickBestOwnWorth(theirs, b, move);
}

} // namespace

int CLightPlayer::requestMove(const CBoard& board, Side side) {
    GameMove move;
    if (chooseMove(board, side, currentSettings(), move)) deliverMove(move);
    return 1;
}

bool CLightPlayer::chooseMove(const CBoard& board, Side side, const LightSettings& settings,
                              GameMove& move) {
    move = GameMove{Field{}, side};
    if (openingMove(board, side, move)) return true;
    bool chosen = false;
    switch (settings.evaluation) {
    case LightSettings::PRIMITIVE:
        chosen = primitive(board, side, settings.style, move);
        break;
    case LightSettings::FANATIC:
        chosen = fanatic(board, side, settings.style, move);
        break;
    default:
        chosen = sensible(board, side, settings.style, move);
        break;
    }
    // Both regions can be full while the board still has room elsewhere; a
    // request must still be answered.
    return chosen || anyEmptyField(board, side, move);
}

bool CLightPlayer::openingMove(const CBoard& board, Side side, GameMove& move) {
    if (!board.stoneBounds.isEmpty()) return false;
    const int x = 8 + rng::next() % 5;
    const int y = 8 + rng::next() % 5;
    move = GameMove{Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}, side};
    return true;
}

bool CLightPlayer::compareWorths(const CBoard& board, Side side, int style, GameMove& move) {
    MoverList mine(side), theirs(side);
    const int m = listBestWorthFields(board, side, mine);
    const int o = listBestWorthFields(board, otherSide(side), theirs);
    bool attack = false;
    switch (style) {
    case STYLE_DEFENDER:
        attack = o < m;
        break;
    case STYLE_ATTACKER:
        attack = o <= m || (o < 6 && m + 1 >= o);
        break;
    default:
        attack = o <= m;
        break;
    }
    // Attacking: among my best fields, the one that also matters most to the
    // opponent. Defending: among the opponent's best, the one worth most to me.
    if (attack && !mine.empty()) return pickBestOpponentWorth(mine, board, move);
    return pickBestOwnWorth(theirs, board, move);
}

bool CLightPlayer::anyEmptyField(const CBoard& board, Side side, GameMove& move) {
    MoverList empty(side);
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            if (board.cell(x, y) == EMPTY)
                empty.append(Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    return pickRandom(empty, move);
}

LightSettings CLightPlayer::currentSettings() const {
    return definition ? LightSettings::fromBlock(definition->settings) : LightSettings{};
}

} // namespace quintrel
