#include "board/Board.h"
#include "board/BoardQueries.h"
#include "board/Random.h"
#include "players/LightPlayer.h"
#include "players/LightSettings.h"
#include "players/PlayerDefinition.h"
#include "players/RandomPlayer.h"

#include "PlayerGameLoop.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <set>
#include <utility>
#include <vector>

using namespace quintrel;
using quintrel::testing::playGame;
using quintrel::testing::winsOfTwentySeededGames;

namespace {

using Stones = std::initializer_list<std::pair<int, int>>;

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

// Every allowed (style, evaluation) pair.
std::vector<LightSettings> allSettings() {
    std::vector<LightSettings> out;
    for (int e = LightSettings::PRIMITIVE; e <= LightSettings::FANATIC; ++e)
        for (int s = STYLE_DEFENDER; s <= STYLE_ATTACKER; ++s)
            if (LightSettings{s, e}.isValid()) out.push_back(LightSettings{s, e});
    return out;
}

GameMove lightMove(const CBoard& b, Side side, LightSettings s) {
    GameMove m;
    EXPECT_TRUE(CLightPlayer::chooseMove(b, side, s, m));
    EXPECT_EQ(m.side, side);
    return m;
}

std::set<std::pair<int, int>> fieldsOf(const FieldList& list) {
    std::set<std::pair<int, int>> out;
    for (int i = 0; i < list.count; ++i)
        out.insert({list.fields[i].x, list.fields[i].y});
    return out;
}

std::pair<int, int> xy(GameMove m) {
    return {m.field.x, m.field.y};
}

} // namespace

TEST(LightPlayer, OpeningIsAFieldOfTheCentreSquare) {
    CBoard empty = boardWith({}, {});
    for (const LightSettings& s : allSettings()) {
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            rng::seed(seed * 7919);
            const GameMove m = lightMove(empty, SIDE_O, s);
            EXPECT_GE(m.field.x, 8);
            EXPECT_LE(m.field.x, 12);
            EXPECT_GE(m.field.y, 8);
            EXPECT_LE(m.field.y, 12);
        }
    }
    std::set<std::pair<int, int>> seen;
    rng::seed(99);
    for (int i = 0; i < 400; ++i)
        seen.insert(xy(lightMove(empty, SIDE_O, LightSettings{})));
    EXPECT_EQ(seen.size(), 25u);

    // x is the first draw, y the second.
    rng::seed(7);
    const int rx = rng::next(), ry = rng::next();
    rng::seed(7);
    EXPECT_EQ(xy(lightMove(empty, SIDE_X, LightSettings{})),
              std::make_pair(8 + rx % 5, 8 + ry % 5));
}

TEST(LightPlayer, FivesComeFirst) {
    // O: four closed on the left, five at (7, 3). X: four closed by O, five at (14, 12).
    const CBoard both = boardWith({{3, 3}, {4, 3}, {5, 3}, {6, 3}, {9, 12}},
                                  {{2, 3}, {10, 12}, {11, 12}, {12, 12}, {13, 12}});
    // O only blocks: X's only five is (14, 12).
    const CBoard block =
        boardWith({{9, 12}, {4, 4}, {15, 4}}, {{10, 12}, {11, 12}, {12, 12}, {13, 12}});
    for (const LightSettings& s : allSettings()) {
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            rng::seed(seed);
            EXPECT_EQ(xy(lightMove(both, SIDE_O, s)), std::make_pair(7, 3))
                << "style " << s.style << " evaluation " << s.evaluation;
            EXPECT_EQ(xy(lightMove(block, SIDE_O, s)), std::make_pair(14, 12))
                << "style " << s.style << " evaluation " << s.evaluation;
        }
    }
}

TEST(LightPlayer, OpenFoursByStyle) {
    // Both sides have an open three: O can make (2, 3) or (6, 3), X (9, 12) or (13, 12).
    const CBoard b = boardWith({{3, 3}, {4, 3}, {5, 3}}, {{10, 12}, {11, 12}, {12, 12}});
    const std::set<std::pair<int, int>> mine{{2, 3}, {6, 3}}, theirs{{9, 12}, {13, 12}};
    FieldList probe;
    ASSERT_FALSE(listFiveFields(b, SIDE_O, probe));
    listOpenFourFields(b, SIDE_O, probe);
    ASSERT_EQ(fieldsOf(probe), mine);
    listOpenFourFields(b, SIDE_X, probe);
    ASSERT_EQ(fieldsOf(probe), theirs);

    for (const LightSettings& s : allSettings()) {
        for (std::uint32_t seed = 1; seed <= 10; ++seed) {
            rng::seed(seed);
            const auto expected =
                s.evaluation == LightSettings::PRIMITIVE && s.style == STYLE_DEFENDER ? theirs
                                                                                      : mine;
            EXPECT_EQ(expected.count(xy(lightMove(b, SIDE_O, s))), 1u)
                << "style " << s.style << " evaluation " << s.evaluation;
        }
    }
}

TEST(LightPlayer, SensibleAndFanaticWeighWorths) {
    const auto expectNoLadder = [](const CBoard& b) {
        FieldList l;
        for (Side s : {SIDE_O, SIDE_X}) {
            ASSERT_FALSE(listFiveFields(b, s, l));
            ASSERT_FALSE(listOpenFourFields(b, s, l));
            ASSERT_FALSE(listDoubleThreatFields(b, s, l));
            ASSERT_FALSE(listComboThreatFields(b, s, l));
        }
        ASSERT_FALSE(listAttackFields(b, SIDE_O, l));
    };
    const LightSettings attacker{STYLE_ATTACKER, LightSettings::SENSIBLE};
    const LightSettings normal{STYLE_NORMAL, LightSettings::SENSIBLE};
    const LightSettings defender{STYLE_DEFENDER, LightSettings::SENSIBLE};

    // m = 3 (a lone O stone), o = 4 (two X stones a long knight's move apart): the
    // Attacker attacks (o < 6 and m + 1 >= o), Normal and Defender answer X.
    {
        const CBoard b = boardWith({{4, 4}}, {{10, 10}, {13, 9}});
        expectNoLadder(b);
        FieldList a, o;
        ASSERT_EQ(listBestWorthFields(b, SIDE_O, a), 3);
        ASSERT_EQ(listBestWorthFields(b, SIDE_X, o), 4);
        for (std::uint32_t seed = 1; seed <= 10; ++seed) {
            rng::seed(seed);
            EXPECT_EQ(fieldsOf(a).count(xy(lightMove(b, SIDE_O, attacker))), 1u);
            EXPECT_EQ(fieldsOf(o).count(xy(lightMove(b, SIDE_O, normal))), 1u);
            EXPECT_EQ(fieldsOf(o).count(xy(lightMove(b, SIDE_O, defender))), 1u);
        }
    }
    // m = 4, o = 6: the Attacker defends. Fanatic Normal and Attacker still
    // play their own best fields.
    {
        const CBoard b = boardWith({{5, 5}, {8, 4}}, {{10, 10}, {9, 8}, {9, 6}});
        expectNoLadder(b);
        FieldList a, o;
        ASSERT_EQ(listBestWorthFields(b, SIDE_O, a), 4);
        ASSERT_EQ(listBestWorthFields(b, SIDE_X, o), 6);
        ASSERT_EQ(fieldsOf(o), (std::set<std::pair<int, int>>{{9, 9}}));
        for (std::uint32_t seed = 1; seed <= 10; ++seed) {
            rng::seed(seed);
            EXPECT_EQ(xy(lightMove(b, SIDE_O, attacker)), std::make_pair(9, 9));
            EXPECT_EQ(fieldsOf(a).count(
                          xy(lightMove(b, SIDE_O, {STYLE_ATTACKER, LightSettings::FANATIC}))),
                      1u);
            // X to move: its 6 beats O's 4. The Sensible Defender attacks;
            // the Fanatic Defender still answers O's best fields.
            EXPECT_EQ(xy(lightMove(b, SIDE_X, defender)), std::make_pair(9, 9));
            EXPECT_EQ(fieldsOf(a).count(
                          xy(lightMove(b, SIDE_X, {STYLE_DEFENDER, LightSettings::FANATIC}))),
                      1u);
        }
    }
}

TEST(LightPlayer, SettingsComeFromTheDefinitionAtEveryMove) {
    PlayerSettings block = LightSettings{STYLE_NORMAL, LightSettings::FANATIC}.toBlock();
    EXPECT_FALSE(validateLightSettings(block, CLightPlayer::CLASS_NAME));
    block = LightSettings{STYLE_DEFENDER, LightSettings::FANATIC}.toBlock();
    EXPECT_TRUE(validateLightSettings(block, CLightPlayer::CLASS_NAME));
    block = LightSettings{STYLE_ATTACKER, LightSettings::FANATIC}.toBlock();
    EXPECT_TRUE(validateLightSettings(block, CLightPlayer::CLASS_NAME));

    PlayerDefinition def;
    def.name = "Light";
    def.settings = LightSettings{STYLE_NORMAL, LightSettings::PRIMITIVE}.toBlock();
    auto sink = std::make_shared<QueueSink>();
    CLightPlayer player;
    player.definition = &def;
    player.window = sink;

    const CBoard b = boardWith({{3, 3}, {4, 3}, {5, 3}}, {{10, 12}, {11, 12}, {12, 12}});
    rng::seed(3);
    EXPECT_EQ(player.requestMove(b, SIDE_O), 1);
    auto msgs = sink->drain();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].id, MSG_MOVE);
    GameMove m = GameMove::unpack(msgs[0].lParam);
    EXPECT_EQ(m.side, SIDE_O);
    EXPECT_TRUE(m.field == at(2, 3) || m.field == at(6, 3));

    // An edit of the definition counts from the next move: a Primitive Defender blocks.
    def.settings = LightSettings{STYLE_DEFENDER, LightSettings::PRIMITIVE}.toBlock();
    player.requestMove(b, SIDE_O);
    msgs = sink->drain();
    ASSERT_EQ(msgs.size(), 1u);
    m = GameMove::unpack(msgs[0].lParam);
    EXPECT_TRUE(m.field == at(9, 12) || m.field == at(13, 12));

    // With its window gone the move is dropped quietly.
    sink.reset();
    EXPECT_EQ(player.requestMove(b, SIDE_O), 1);
}

TEST(LightPlayer, AlwaysAnswersWhenTheProcedureChoosesNothing) {
    // X has no stone, so its best-worth list is empty; a Primitive Defender
    // never attacks, so its procedure would choose no field.
    const CBoard b = boardWith({{10, 10}, {3, 17}}, {});
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        rng::seed(seed);
        const GameMove m = lightMove(b, SIDE_O, {STYLE_DEFENDER, LightSettings::PRIMITIVE});
        EXPECT_TRUE(m.field.onBoard());
        EXPECT_EQ(b.cell(m.field), EMPTY);
    }
}

TEST(LightPlayer, SeededGamesRepeatAndBeatChaotic) {
    auto sink = std::make_shared<QueueSink>();
    PlayerDefinition def;
    def.settings = LightSettings{STYLE_NORMAL, LightSettings::SENSIBLE}.toBlock();
    CLightPlayer light;
    light.definition = &def;
    light.window = sink;
    CRandomPlayer chaotic;
    chaotic.window = sink;

    std::vector<GameMove> first, second;
    rng::seed(4242);
    playGame(light, chaotic, *sink, &first);
    rng::seed(4242);
    playGame(light, chaotic, *sink, &second);
    EXPECT_EQ(first, second);

    const int wins = winsOfTwentySeededGames(light, chaotic, *sink, 1000);
    RecordProperty("wins", wins);
    EXPECT_GE(wins, 19);
}
