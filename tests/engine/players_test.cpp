#include "board/Board.h"
#include "board/Random.h"
#include "players/HumanPlayer.h"
#include "players/LightSettings.h"
#include "players/MediumSettings.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "players/RandomPlayer.h"
#include "players/TreeSettings.h"

#include <gtest/gtest.h>

using namespace quintrel;

namespace {

PlayerSettings block(const std::string& tag, std::vector<std::int32_t> values) {
    PlayerSettings s;
    s.tag = tag;
    for (auto v : values)
        appendInt32(s.data, v);
    return s;
}

// A board with stones everywhere except one field.
CBoard boardWithOneEmptyField(Field empty) {
    CBoard b;
    b.clear();
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            b.cells[x][y] = (x + y) % 2;
    b.cells[empty.x][empty.y] = EMPTY;
    return b;
}

struct FakeView : BoardInput {
    int flags = -1;
    int refreshes = 0;
    void setInputFlags(int f) override { flags = f; }
    void refreshPointer() override { ++refreshes; }
};

} // namespace

TEST(Player, DeliveredMovesArePackedAndGoneWindowsIgnored) {
    auto sink = std::make_shared<QueueSink>();
    CRandomPlayer player;
    player.window = sink;
    player.deliverMove(GameMove{Field{8, 10}, SIDE_X});
    auto msgs = sink->drain();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].id, MSG_MOVE);
    EXPECT_EQ(msgs[0].wParam, 12345);
    EXPECT_EQ(msgs[0].lParam, 68104);
    EXPECT_EQ(GameMove::unpack(msgs[0].lParam), (GameMove{Field{8, 10}, SIDE_X}));

    // A message with another tag is not ours: the receiving side drops it.
    sink->post(PortMessage{MSG_MOVE, 4711, 68104, {}});
    EXPECT_TRUE(sink->drain().empty());

    sink.reset();
    player.deliverMove(GameMove{Field{1, 1}, SIDE_O}); // window gone: nothing happens
    CRandomPlayer noWindow;
    noWindow.deliverMove(GameMove{Field{1, 1}, SIDE_O});
    EXPECT_EQ(noWindow.name(), "");
}

TEST(RandomPlayer, FindsTheOnlyEmptyFieldAndKeepsTheSide) {
    auto sink = std::make_shared<QueueSink>();
    CRandomPlayer player;
    player.window = sink;
    EXPECT_EQ(player.isComputer, 1);
    rng::seed(12345);
    for (Field f : {Field{19, 19}, Field{1, 1}, Field{7, 13}}) {
        CBoard b = boardWithOneEmptyField(f);
        for (Side side : {SIDE_O, SIDE_X}) {
            EXPECT_EQ(player.requestMove(b, side), 1);
            auto msgs = sink->drain();
            ASSERT_EQ(msgs.size(), 1u);
            EXPECT_EQ(GameMove::unpack(msgs[0].lParam), (GameMove{f, side}));
        }
    }
}

TEST(RandomPlayer, DrawsXThenYFromTheGenerator) {
    auto sink = std::make_shared<QueueSink>();
    CRandomPlayer player;
    player.window = sink;
    CBoard b;
    b.clear();
    rng::seed(1);
    // First draws from seed 1: 41, 18467 -> x = 41*19/32768+1 = 1, y = 18467*19/32768+1 = 11.
    player.requestMove(b, SIDE_O);
    EXPECT_EQ(GameMove::unpack(sink->drain().at(0).lParam), (GameMove{Field{1, 11}, SIDE_O}));
}

TEST(HumanPlayer, OpensTheViewForItsInputDevice) {
    PlayerDefinition def = PlayerKindCatalogue::entry(PlayerKindCatalogue::HUMAN);
    CHumanPlayer human;
    EXPECT_EQ(human.isComputer, 0);
    CBoard b;
    b.clear();

    // No view anywhere yet: nothing is enabled and the answer is 0.
    CHumanPlayer::setViewLocator(nullptr);
    EXPECT_EQ(human.requestMove(b, SIDE_O), 0);

    FakeView view;
    CHumanPlayer::setViewLocator([&view] { return &view; });
    human.definition = &def;
    EXPECT_EQ(human.requestMove(b, SIDE_O), 1);
    EXPECT_EQ(human.boardView, &view);
    EXPECT_EQ(view.flags, INPUT_BOTH);
    EXPECT_EQ(view.refreshes, 1);
    CHumanPlayer::setViewLocator(nullptr);

    const std::pair<std::int32_t, int> devices[] = {
        {0, INPUT_KEYBOARD}, {1, INPUT_MOUSE}, {2, INPUT_BOTH}, {7, INPUT_BOTH}};
    for (auto [device, flags] : devices) {
        def.settings = block("CHumanPlayer", {device});
        EXPECT_EQ(human.inputDevice(), flags) << device;
        human.requestMove(b, SIDE_X);
        EXPECT_EQ(view.flags, flags);
    }
}

TEST(PlayerSettings, KindValidationFollowsEachRecord) {
    const std::string human = "CHumanPlayer";
    EXPECT_TRUE(validateHumanSettings(block(human, {0}), human));
    EXPECT_TRUE(validateHumanSettings(block(human, {2}), human));
    EXPECT_FALSE(validateHumanSettings(block(human, {3}), human));
    EXPECT_FALSE(validateHumanSettings(block(human, {-1}), human));
    EXPECT_FALSE(validateHumanSettings(block(human, {1, 1}), human));
    EXPECT_FALSE(validateHumanSettings(block("CLightPlayer", {1}), human));

    const std::string light = "CLightPlayer";
    EXPECT_TRUE(validateLightSettings(block(light, {1, 1}), light));
    EXPECT_FALSE(validateLightSettings(block(light, {1, 2}), light)); // Normal with Fanatic
    EXPECT_TRUE(validateLightSettings(block(light, {0, 2}), light));
    EXPECT_TRUE(validateLightSettings(block(light, {2, 2}), light));
    EXPECT_FALSE(validateLightSettings(block(light, {3, 0}), light));
    EXPECT_FALSE(validateLightSettings(block(light, {1}), light));
    EXPECT_EQ(LightSettings::fromBlock(block(light, {0, 2})), (LightSettings{0, 2}));
    EXPECT_EQ(LightSettings::fromBlock(block(light, {1, 2})), LightSettings{});

    const std::string medium = "CMediumPlayer";
    EXPECT_TRUE(validateMediumSettings(block(medium, {0}), medium));
    EXPECT_FALSE(validateMediumSettings(block(medium, {3}), medium));
    EXPECT_FALSE(validateMediumSettings(block(medium, {2, 0}), medium));
    EXPECT_EQ(MediumSettings::fromBlock(block(medium, {1})).style, STYLE_NORMAL);

    const std::string ab = "CAlphaBetaPlayer";
    EXPECT_TRUE(validateTreeSettings(block(ab, {4, 0, 1, 3, 2, 1, 1}), ab));
    EXPECT_TRUE(validateTreeSettings(block(ab, {40, 100, 3, 4, 6, 0, 0}), ab));
    EXPECT_TRUE(validateTreeSettings(block(ab, {1, 2, 0, 0, 2, 7, -3}), ab)); // flags unchecked
    EXPECT_FALSE(validateTreeSettings(block(ab, {0, 0, 1, 3, 2, 1, 1}), ab));
    EXPECT_FALSE(validateTreeSettings(block(ab, {41, 0, 1, 3, 2, 1, 1}), ab));
    EXPECT_FALSE(validateTreeSettings(block(ab, {4, 1, 1, 3, 2, 1, 1}), ab));
    EXPECT_FALSE(validateTreeSettings(block(ab, {4, 101, 1, 3, 2, 1, 1}), ab));
    EXPECT_FALSE(validateTreeSettings(block(ab, {4, 0, 4, 3, 2, 1, 1}), ab));
    EXPECT_FALSE(validateTreeSettings(block(ab, {4, 0, 1, 5, 2, 1, 1}), ab));
    EXPECT_FALSE(validateTreeSettings(block(ab, {4, 0, 1, 3, 7, 1, 1}), ab));
    EXPECT_FALSE(validateTreeSettings(block(ab, {4, 0, 1, 3, 2, 1, 1}), "CMiniMaxPlayer"));
    EXPECT_FALSE(validateTreeSettings(block(ab, {4, 0, 1, 3, 2, 1, 1, 4, 1}), ab));

    const std::string ext = "CExtensivePlayer";
    EXPECT_TRUE(validateExtensiveSettings(block(ext, {7, 0, 1, 4, 2, 1, 1, 4, 1}), ext));
    EXPECT_TRUE(validateExtensiveSettings(block(ext, {7, 0, 1, 4, 2, 1, 1, 7, 0}), ext));
    EXPECT_FALSE(validateExtensiveSettings(block(ext, {7, 0, 1, 4, 2, 1, 1, 8, 1}), ext));
    EXPECT_FALSE(validateExtensiveSettings(block(ext, {7, 0, 1, 4, 2, 1, 1, 0, 1}), ext));
    EXPECT_FALSE(validateExtensiveSettings(block(ext, {7, 0, 1, 4, 2, 1, 1}), ext));
    auto deep = TreeSettings::fromBlock(block(ext, {9, 10, 2, 1, 3, 0, 1, 5, 0}));
    EXPECT_EQ(deep.maxDepth, 9u);
    EXPECT_EQ(deep.maxBranch, 10u);
    EXPECT_EQ(deep.fullDepth, 5);
    EXPECT_EQ(deep.weighted, 0);
    EXPECT_EQ(deep.toBlock(ext), block(ext, {9, 10, 2, 1, 3, 0, 1, 5, 0}));
    EXPECT_EQ(TreeSettings::fromBlock(block(ext, {0})), TreeSettings::extensiveDefaults());
}

TEST(PlayerKindCatalogue, SevenKindsInOrderWithTheirDefaults) {
    const auto& kinds = PlayerKindCatalogue::entries();
    ASSERT_EQ(kinds.size(), 9u);
    const char* names[] = {"Human",   "Chaotic",   "Light",    "Medium",
                           "MiniMax", "AlphaBeta", "Extensive"};
    const char* classes[] = {"CHumanPlayer",    "CRandomPlayer",  "CLightPlayer",
                             "CMediumPlayer",   "CMiniMaxPlayer", "CAlphaBetaPlayer",
                             "CExtensivePlayer"};
    const std::uint32_t sizes[] = {4, 0, 8, 4, 28, 28, 36};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(kinds[i].name, names[i]);
        EXPECT_EQ(kinds[i].className(), classes[i]);
        EXPECT_EQ(kinds[i].kind->settingsSize, sizes[i]);
        EXPECT_EQ(kinds[i].settings.tag, classes[i]);
        EXPECT_EQ(kinds[i].settings.size(), sizes[i]);
        EXPECT_EQ(kinds[i].hasSettingsDialog, i == 1 ? 0 : 1);
        EXPECT_EQ(PlayerKindCatalogue::findKind(classes[i]), &kinds[i]);
        if (kinds[i].validateSettings) {
            EXPECT_TRUE(kinds[i].validateSettings(kinds[i].settings, classes[i])) << classes[i];
        }
    }
    EXPECT_EQ(kinds[1].description, "Randomly playing player");
    EXPECT_EQ(kinds[2].description, "Staticaly playing player");
    EXPECT_EQ(kinds[6].description, "Alpha-beta with extensive heuristic");
    EXPECT_EQ(PlayerKindCatalogue::findKind("clightplayer"), nullptr);
    EXPECT_EQ(PlayerKindCatalogue::findKind("CPlayer"), nullptr);
    EXPECT_EQ(kinds[5].settings, block("CAlphaBetaPlayer", {4, 0, 1, 3, 2, 1, 1}));
    EXPECT_EQ(kinds[4].settings, block("CMiniMaxPlayer", {3, 0, 0, 3, 2, 1, 1}));
    EXPECT_EQ(kinds[6].settings, block("CExtensivePlayer", {7, 0, 1, 4, 2, 1, 1, 4, 1}));
    EXPECT_EQ(kinds[3].settings, block("CMediumPlayer", {2}));

    // A copy is a complete default definition.
    PlayerDefinition copy = kinds[2];
    EXPECT_EQ(copy.settings, kinds[2].settings);
    auto player = copy.createPlayer();
    if (player) {
        EXPECT_STREQ(player->className(), "CLightPlayer");
        EXPECT_EQ(player->definition, &copy);
    }
}

TEST(PlayerDefinition, AdoptsOnlyBlocksItsKindAccepts) {
    PlayerDefinition light = PlayerKindCatalogue::entry(PlayerKindCatalogue::LIGHT);
    EXPECT_FALSE(light.adoptSettings(block("CLightPlayer", {1, 2})));
    EXPECT_FALSE(light.adoptSettings(block("CMediumPlayer", {0, 0})));
    EXPECT_FALSE(light.adoptSettings(block("", {0, 0})));
    EXPECT_EQ(light.settings, block("CLightPlayer", {1, 1}));
    EXPECT_TRUE(light.adoptSettings(block("CLightPlayer", {2, 0})));
    EXPECT_EQ(light.settings, block("CLightPlayer", {2, 0}));
    light.resetSettingsToDefaults();
    EXPECT_EQ(light.settings, block("CLightPlayer", {1, 1}));

    PlayerDefinition empty;
    EXPECT_FALSE(empty.adoptSettings(block("", {})));
    EXPECT_TRUE(empty.adoptSettings(block("Anything", {1})));
    EXPECT_EQ(empty.createPlayer(), nullptr);
    EXPECT_FALSE(empty.runSettingsDialog());

    // Settings dialogs are the UI's; without one, editing is a cancel.
    PlayerDefinition human = PlayerKindCatalogue::entry(PlayerKindCatalogue::HUMAN);
    human.name = "Me";
    EXPECT_FALSE(human.runSettingsDialog());
    std::string caption;
    PlayerKindCatalogue::setSettingsEditor(
        "CHumanPlayer",
        [&caption](PlayerSettings& s, const std::string& name, const std::string& cls) {
            caption = "Settings of " + name;
            s = block(cls, {1});
            return true;
        });
    EXPECT_TRUE(human.runSettingsDialog());
    EXPECT_EQ(caption, "Settings of Me");
    EXPECT_EQ(human.settings, block("CHumanPlayer", {1}));
    PlayerKindCatalogue::setSettingsEditor("CHumanPlayer", nullptr);

    PlayerSettings s;
    EXPECT_FALSE(s.decode({'a', 'b'}));
    EXPECT_TRUE(s.decode({'a', 0}));
    EXPECT_EQ(s.tag, "a");
    EXPECT_TRUE(s.data.empty());
    EXPECT_TRUE(s.decode({0, 1, 0, 2}));
    EXPECT_EQ(s.tag, "");
    EXPECT_EQ(s.data, (std::vector<std::uint8_t>{1, 0, 2}));
}
