#include "board/Board.h"
#include "board/BoardQueries.h"
#include "board/Random.h"
#include "players/MediumPlayer.h"
#include "players/MediumSettings.h"
#include "players/PlayerDefinition.h"
#include "players/RandomPlayer.h"

#include "PlayerGameLoop.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace quintrel;
using quintrel::testing::playGame;
using quintrel::testing::winsOfTwentySeededGames;

namespace {

using Stones = std::initializer_list<std::pair<int, int>>;
using FieldSet = std::set<std::pair<int, int>>;

Field at(int x, int y) {
    return Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
}

CBoard boardWith(Stones o, Stones x) {
    CBoard b;
    b.clear();
    for (auto [fx, fy] : o)
        b.place(at(fx, fy), SIDE_O);
    for (auto [fx, fy] : x)
        b.place(at(fx, fy), SIDE_X);
    return b;
}

// The threat-class fields of a side, read from an extensive copy.
FieldSet classFields(const CBoard& live, int cls, Side s) {
    CBoard b = live;
    b.setPatternMode(PATTERN_MODE_EXTENSIVE);
    FieldList list;
    listThreatClass(b, cls, s, list);
    FieldSet out;
    for (int i = 0; i < list.count; ++i)
        out.insert({list.fields[i].x, list.fields[i].y});
    return out;
}

std::pair<int, int> xy(GameMove m) {
    return {m.field.x, m.field.y};
}

// A Medium player of one style, answering into its own queue.
struct Medium {
    PlayerDefinition def;
    std::shared_ptr<QueueSink> sink = std::make_shared<QueueSink>();
    CMediumPlayer player;

    explicit Medium(int style) {
        def.name = "Medium";
        def.settings = MediumSettings{style}.toBlock();
        player.definition = &def;
        player.window = sink;
    }

    // Asks for a move; the delivered move, and the log line after it or "".
    std::pair<GameMove, std::string> ask(const CBoard& b, Side side) {
        EXPECT_EQ(player.requestMove(b, side), 1);
        auto msgs = sink->drain();
        EXPECT_GE(msgs.size(), 1u);
        EXPECT_LE(msgs.size(), 2u);
        if (msgs.empty()) return {};
        EXPECT_EQ(msgs[0].id, MSG_MOVE);
        const GameMove m = GameMove::unpack(msgs[0].lParam);
        EXPECT_EQ(m.side, side);
        std::string log;
        if (msgs.size() == 2) {
            EXPECT_EQ(msgs[1].id, MSG_LOG);
            log = msgs[1].text;
            EXPECT_FALSE(log.empty());
        }
        EXPECT_EQ(player.remark, log);
        return {m, log};
    }
};

constexpr int STYLES[] = {STYLE_DEFENDER, STYLE_NORMAL, STYLE_ATTACKER};

} // namespace

TEST(MediumPlayer, OpeningIsAFieldOfTheCentreSquareWithoutRemark) {
    const CBoard empty = boardWith({}, {});
    for (int style : STYLES) {
        Medium medium(style);
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            rng::seed(seed * 7919);
            auto [m, log] = medium.ask(empty, SIDE_O);
            EXPECT_GE(m.field.x, 8);
            EXPECT_LE(m.field.x, 12);
            EXPECT_GE(m.field.y, 8);
            EXPECT_LE(m.field.y, 12);
            EXPECT_EQ(log, "");
        }
    }
}

TEST(MediumPlayer, FivesAndTheirRemark) {
    // O completes at (7, 3) although X could complete at (14, 12).
    const CBoard both = boardWith({{3, 3}, {4, 3}, {5, 3}, {6, 3}, {9, 12}},
                                  {{2, 3}, {10, 12}, {11, 12}, {12, 12}, {13, 12}});
    // O can only block X's one five.
    const CBoard block =
        boardWith({{9, 12}, {4, 4}, {15, 4}}, {{10, 12}, {11, 12}, {12, 12}, {13, 12}});
    for (int style : STYLES) {
        Medium medium(style);
        auto [win, winLog] = medium.ask(both, SIDE_O);
        EXPECT_EQ(xy(win), std::make_pair(7, 3));
        EXPECT_EQ(winLog, "  Going to win in 1 move!");
        // The remark is rewritten at every move: a block announces nothing.
        auto [stop, stopLog] = medium.ask(block, SIDE_O);
        EXPECT_EQ(xy(stop), std::make_pair(14, 12));
        EXPECT_EQ(stopLog, "");
    }
}

TEST(MediumPlayer, TwoOpponentFivesByStyle) {
    // X's open four (5..8, 3) leaves O the five fields (4, 3) and (9, 3), in that list order.
    const Stones xFour{{5, 3}, {6, 3}, {7, 3}, {8, 3}};

    // (4, 3) makes a closed four for O, (9, 3) an open four: the winning
    // threat goes before the first four in list order.
    {
        const CBoard b = boardWith({{4, 4}, {4, 5}, {4, 6}, {9, 4}, {9, 5}, {9, 6}},
                                   {{5, 3}, {6, 3}, {7, 3}, {8, 3}, {4, 7}});
        ASSERT_EQ(classFields(b, THREAT_WINNING, SIDE_O).count({9, 3}), 1u);
        ASSERT_EQ(classFields(b, THREAT_WINNING, SIDE_O).count({4, 3}), 0u);
        ASSERT_EQ(classFields(b, THREAT_FOUR, SIDE_O).count({4, 3}), 1u);
        for (int style : STYLES)
            EXPECT_EQ(xy(Medium(style).ask(b, SIDE_O).first), std::make_pair(9, 3));
    }
    // Only (9, 3) makes a four for O.
    {
        const CBoard b =
            boardWith({{9, 4}, {9, 5}, {9, 6}}, {{5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 7}});
        ASSERT_EQ(classFields(b, THREAT_FOUR, SIDE_O).count({9, 3}), 1u);
        ASSERT_EQ(classFields(b, THREAT_FOUR, SIDE_O).count({4, 3}), 0u);
        for (int style : STYLES)
            EXPECT_EQ(xy(Medium(style).ask(b, SIDE_O).first), std::make_pair(9, 3));
    }
    // Neither block helps O, which has an open three far away: Normal and
    // Attacker play their own winning threat, the Defender blocks.
    {
        const CBoard b = boardWith({{14, 14}, {15, 14}, {16, 14}}, xFour);
        const FieldSet mine = classFields(b, THREAT_WINNING, SIDE_O);
        ASSERT_EQ(mine, (FieldSet{{13, 14}, {17, 14}}));
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            rng::seed(seed);
            EXPECT_EQ(
                FieldSet({{4, 3}, {9, 3}}).count(xy(Medium(STYLE_DEFENDER).ask(b, SIDE_O).first)),
                1u);
            EXPECT_EQ(mine.count(xy(Medium(STYLE_NORMAL).ask(b, SIDE_O).first)), 1u);
            EXPECT_EQ(mine.count(xy(Medium(STYLE_ATTACKER).ask(b, SIDE_O).first)), 1u);
        }
    }
}

TEST(MediumPlayer, AnnouncesForcedWins) {
    // An open three of O: an open four wins in 2.
    {
        const CBoard b = boardWith({{5, 10}, {6, 10}, {7, 10}}, {{12, 4}, {14, 16}});
        for (int style : STYLES) {
            auto [m, log] = Medium(style).ask(b, SIDE_O);
            EXPECT_EQ(classFields(b, THREAT_WINNING, SIDE_O).count(xy(m)), 1u);
            EXPECT_EQ(log, "  Going to win in 2 moves!");
        }
    }
    // (6, 10) gives O a closed four and an open three: win in 3 while X has
    // no four, probably otherwise.
    const Stones o43{{3, 10}, {4, 10}, {5, 10}, {6, 11}, {6, 12}};
    {
        const CBoard b = boardWith(o43, {{2, 10}, {14, 3}});
        ASSERT_TRUE(classFields(b, THREAT_WINNING, SIDE_O).empty());
        ASSERT_EQ(classFields(b, THREAT_FOUR_THREE, SIDE_O), (FieldSet{{6, 10}}));
        ASSERT_TRUE(classFields(b, THREAT_FOUR, SIDE_X).empty());
        for (int style : STYLES) {
            auto [m, log] = Medium(style).ask(b, SIDE_O);
            EXPECT_EQ(xy(m), std::make_pair(6, 10));
            EXPECT_EQ(log, "  Going to win in 3 moves!");
        }
    }
    {
        const CBoard b = boardWith({{3, 10}, {4, 10}, {5, 10}, {6, 11}, {6, 12}, {11, 15}},
                                   {{2, 10}, {12, 15}, {13, 15}, {14, 15}});
        ASSERT_TRUE(classFields(b, THREAT_WINNING, SIDE_X).empty());
        ASSERT_FALSE(classFields(b, THREAT_FOUR, SIDE_X).empty());
        for (int style : STYLES) {
            auto [m, log] = Medium(style).ask(b, SIDE_O);
            EXPECT_EQ(xy(m), std::make_pair(6, 10));
            EXPECT_EQ(log, "  Probably going to win. (In 3 or more moves)");
        }
    }
    // Two open twos crossing at (12, 10): three and three, also a win in 3.
    {
        const CBoard b = boardWith({{10, 10}, {11, 10}, {12, 11}, {12, 12}}, {{4, 4}, {16, 16}});
        ASSERT_TRUE(classFields(b, THREAT_FOUR_THREE, SIDE_O).empty());
        const FieldSet threeThree = classFields(b, THREAT_THREE_THREE, SIDE_O);
        ASSERT_EQ(threeThree.count({12, 10}), 1u);
        for (int style : STYLES) {
            auto [m, log] = Medium(style).ask(b, SIDE_O);
            EXPECT_EQ(threeThree.count(xy(m)), 1u);
            EXPECT_EQ(log, "  Going to win in 3 moves!");
        }
    }
}

TEST(MediumPlayer, OpponentWinningThreatByStyle) {
    // X's broken three (10, 11, _, 13) has one winning field, (12, 10).
    // O has only fours to make: (6, 3) and beyond.
    const CBoard b = boardWith({{3, 3}, {4, 3}, {5, 3}}, {{2, 3}, {10, 10}, {11, 10}, {13, 10}});
    ASSERT_EQ(classFields(b, THREAT_WINNING, SIDE_X), (FieldSet{{12, 10}}));
    ASSERT_TRUE(classFields(b, THREAT_WINNING, SIDE_O).empty());
    ASSERT_TRUE(classFields(b, THREAT_FOUR_THREE, SIDE_O).empty());
    const FieldSet myFours = classFields(b, THREAT_FOUR, SIDE_O);
    ASSERT_FALSE(myFours.empty());
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        rng::seed(seed);
        EXPECT_EQ(xy(Medium(STYLE_DEFENDER).ask(b, SIDE_O).first), std::make_pair(12, 10));
        EXPECT_EQ(xy(Medium(STYLE_NORMAL).ask(b, SIDE_O).first), std::make_pair(12, 10));
        // The Attacker keeps the initiative with a four of its own.
        auto [m, log] = Medium(STYLE_ATTACKER).ask(b, SIDE_O);
        EXPECT_EQ(myFours.count(xy(m)), 1u);
        EXPECT_EQ(log, "");
    }
}

TEST(MediumPlayer, QuietAttackerPresses) {
    // Only open threes to make: the Attacker makes one, Normal weighs worths
    // and takes a field next to both stones instead.
    {
        const CBoard b = boardWith({{10, 10}, {11, 10}}, {{4, 4}, {5, 6}});
        const FieldSet threes = classFields(b, THREAT_OPEN_THREE, SIDE_O);
        ASSERT_FALSE(threes.empty());
        ASSERT_TRUE(classFields(b, THREAT_FOUR, SIDE_O).empty());
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            rng::seed(seed);
            EXPECT_EQ(threes.count(xy(Medium(STYLE_ATTACKER).ask(b, SIDE_O).first)), 1u);
            EXPECT_EQ(threes.count(xy(Medium(STYLE_NORMAL).ask(b, SIDE_O).first)), 0u);
        }
    }
    // A closed three: the Attacker makes a four.
    {
        const CBoard b = boardWith({{3, 3}, {4, 3}, {5, 3}}, {{2, 3}, {15, 15}});
        const FieldSet fours = classFields(b, THREAT_FOUR, SIDE_O);
        ASSERT_FALSE(fours.empty());
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            rng::seed(seed);
            EXPECT_EQ(fours.count(xy(Medium(STYLE_ATTACKER).ask(b, SIDE_O).first)), 1u);
        }
    }
}

TEST(MediumPlayer, SeededGamesRepeatAndBeatChaotic) {
    auto sink = std::make_shared<QueueSink>();
    PlayerDefinition def;
    def.settings = MediumSettings{STYLE_ATTACKER}.toBlock();
    CMediumPlayer medium;
    medium.definition = &def;
    medium.window = sink;
    CRandomPlayer chaotic;
    chaotic.window = sink;

    std::vector<GameMove> first, second;
    rng::seed(4242);
    playGame(chaotic, medium, *sink, &first);
    rng::seed(4242);
    playGame(chaotic, medium, *sink, &second);
    EXPECT_EQ(first, second);

    const int wins = winsOfTwentySeededGames(medium, chaotic, *sink, 2000);
    RecordProperty("wins", wins);
    EXPECT_GE(wins, 19);
}
