#include "players/MediumPlayer.h"

#include "board/Board.h"
#include "board/BoardQueries.h"
#include "board/FieldList.h"
#include "players/LightPlayer.h"
#include "players/PlayerDefinition.h"

#include <initializer_list>
#include <string>

namespace quintrel {

namespace {

constexpr const char* WIN_IN_1 = "  Going to win in 1 move!";

std::string winIn(int moves) {
    return "  Going to win in " + std::to_string(moves) + " moves!";
}
std::string probableWinIn(int moves) {
    return "  Probably going to win. (In " + std::to_string(moves) + " or more moves)";
}

// Every list carries the mover's side, whoever's fields it holds.
struct MoverList : FieldList {
    explicit MoverList(Side me) { side = me; }
};

bool hasClass(const CBoard& b, Field f, Side s, int cls) {
    return (b.pattern(f, s).threats & cls) != 0;
}

// The first field of the list, in list order, where the mover has class cls.
bool firstWithMyClass(const CBoard& b, const FieldList& list, int cls, GameMove& move) {
    for (int i = 0; i < list.count; ++i)
        if (hasClass(b, list.fields[i], list.side, cls)) {
            move = GameMove{list.fields[i], list.side};
            return true;
        }
    return false;
}

bool onlyField(const FieldList& list, GameMove& move) {
    if (list.count != 1) return false;
    move = GameMove{list.fields[0], list.side};
    return true;
}

// The first of my class lists, tried in the given order, that is not empty.
bool firstMyClassList(const CBoard& b, Side me, std::initializer_list<int> classes,
                      FieldList& list) {
    for (int cls : classes)
        if (listThreatClass(b, cls, me, list)) return true;
    return false;
}

} // namespace

int CMediumPlayer::requestMove(const CBoard& board, Side side) {
    // The copy must not share a journal with whoever owns the live board.
    CBoard copy = board;
    copy.journalBase = copy.journalCurrent = copy.journalEnd = nullptr;
    copy.setPatternMode(PATTERN_MODE_EXTENSIVE);

    GameMove move;
    if (chooseMove(copy, side, currentStyle(), move)) deliverMove(move);
    if (!remark.empty()) {
        PortMessage msg;
        msg.id = MSG_LOG;
        msg.wParam = MSG_TAG;
        msg.text = remark;
        postMessage(window, std::move(msg));
    }
    return 1;
}

bool CMediumPlayer::chooseMove(const CBoard& board, Side side, int style, GameMove& move) {
    remark.clear();
    move = GameMove{Field{}, side};
    // Both regions can be full while the board still has room elsewhere; a
    // request must still be answered.
    return analyse(board, side, style, move) || CLightPlayer::anyEmptyField(board, side, move);
}

bool CMediumPlayer::analyse(const CBoard& b, Side me, int style, GameMove& move) {
    const Side opp = otherSide(me);
    MoverList list(me), mine(me);

    // Step 1. The opening.
    if (CLightPlayer::openingMove(b, me, move)) return true;

    // Step 2. Five of mine wins at once.
    if (listFiveFields(b, me, list)) {
        remark = WIN_IN_1;
        return pickRandom(list, move);
    }

    // Step 3. The opponent's fives must be blocked. With two, only a block
    // that also makes my own winning threat or four keeps the game open.
    if (listFiveFields(b, opp, list)) {
        if (onlyField(list, move)) return true;
        if (firstWithMyClass(b, list, THREAT_WINNING, move) ||
            firstWithMyClass(b, list, THREAT_FOUR, move))
            return true;
        if (style != STYLE_DEFENDER &&
            firstMyClassList(b, me, {THREAT_WINNING, THREAT_FOUR_THREE, THREAT_FOUR}, mine))
            return pickBestOwnWorth(mine, b, move);
        return pickBestOwnWorth(list, b, move);
    }

    // Step 4. My winning threat: win in 2.
    if (listThreatClass(b, THREAT_WINNING, me, list)) {
        remark = winIn(2);
        return pickRandom(list, move);
    }

    // Step 5. The opponent's winning threats.
    if (listThreatClass(b, THREAT_WINNING, opp, list)) {
        if (style != STYLE_ATTACKER && onlyField(list, move)) return true;
        if (style == STYLE_NORMAL && (firstWithMyClass(b, list, THREAT_FOUR_THREE, move) ||
                                      firstWithMyClass(b, list, THREAT_FOUR, move)))
            return true;
        if (style == STYLE_DEFENDER) return pickBestOpponentWorth(list, b, move);
        if (style == STYLE_ATTACKER &&
            firstMyClassList(b, me, {THREAT_FOUR_THREE, THREAT_FOUR}, mine))
            return pickBestOwnWorth(mine, b, move);
        return pickBestOwnWorth(list, b, move);
    }

    // Step 6. My four and three: win in 3 unless the opponent has fours.
    if (listThreatClass(b, THREAT_FOUR_THREE, me, list)) {
        announceWinIn3(b, opp);
        return pickBestOwnWorth(list, b, move);
    }

    // Step 7. The opponent's four and three.
    if (listThreatClass(b, THREAT_FOUR_THREE, opp, list)) {
        if (style != STYLE_ATTACKER && onlyField(list, move)) return true;
        if (style == STYLE_NORMAL && firstWithMyClass(b, list, THREAT_FOUR, move)) return true;
        if (style == STYLE_DEFENDER) return pickBestOpponentWorth(list, b, move);
        if (style == STYLE_ATTACKER && listThreatClass(b, THREAT_FOUR, me, mine))
            return pickBestOwnWorth(mine, b, move);
        return pickBestOwnWorth(list, b, move);
    }

    // Step 8. My three and three.
    if (listThreatClass(b, THREAT_THREE_THREE, me, list)) {
        announceWinIn3(b, opp);
        return pickBestOwnWorth(list, b, move);
    }

    // Step 9. The opponent's three and three.
    if (listThreatClass(b, THREAT_THREE_THREE, opp, list)) {
        if (style != STYLE_ATTACKER && onlyField(list, move)) return true;
        if (style == STYLE_NORMAL && (firstWithMyClass(b, list, THREAT_FOUR, move) ||
                                      firstWithMyClass(b, list, THREAT_OPEN_THREE, move)))
            return true;
        if (style == STYLE_DEFENDER) return pickBestOpponentWorth(list, b, move);
        if (style == STYLE_ATTACKER && listThreatClass(b, THREAT_FOUR, me, mine))
            return pickBestOwnWorth(mine, b, move);
        return pickBestOwnWorth(list, b, move);
    }

    // Step 10. Quiet: the Attacker presses with fours, then with open threes
    // while the opponent has no four to answer with; otherwise weigh worths.
    if (style == STYLE_ATTACKER) {
        if (listThreatClass(b, THREAT_FOUR, me, mine)) return pickBestOwnWorth(mine, b, move);
        if (!listThreatClass(b, THREAT_FOUR, opp, list) &&
            listThreatClass(b, THREAT_OPEN_THREE, me, mine))
            return pickBestOwnWorth(mine, b, move);
    }
    return CLightPlayer::compareWorths(b, me, style, move);
}

void CMediumPlayer::announceWinIn3(const CBoard& board, Side opp) {
    MoverList fours(otherSide(opp));
    remark = listThreatClass(board, THREAT_FOUR, opp, fours) ? probableWinIn(3) : winIn(3);
}

int CMediumPlayer::currentStyle() const {
    return definition ? MediumSettings::fromBlock(definition->settings).style
                      : MediumSettings{}.style;
}

} // namespace quintrel
