// The searches' signature: each searching kind, seeded and at a fixed depth a
// little below the bench's, sees exactly the recorded number of positions on
// every saved mid-game position. A change to a search that was meant to keep
// its tree shows here, in seconds, before any match is played.

#include "../../bench/BenchPositions.h"
#include "board/Random.h"
#include "players/MasterSettings.h"
#include "players/PlayerDefinition.h"
#include "players/TreeSettings.h"
#include "search/AlphaBetaPlayer.h"
#include "search/ExtensivePlayer.h"
#include "search/MasterPlayer.h"
#include "search/MiniMaxPlayer.h"

#include <gtest/gtest.h>

#include <memory>

namespace quintrel {
namespace {

struct Recorded {
    const char* file;
    std::uint32_t nodes[4]; // AlphaBeta, MiniMax, Extensive, Master
};

constexpr Recorded RECORDED[] = {
    {"midgame_14.gam", {640, 378, 249, 85240}},   {"midgame_18.gam", {2122, 1186, 5928, 55842}},
    {"midgame_22.gam", {668, 448, 880, 239291}},   {"midgame_26.gam", {7951, 6321, 5796, 572835}},
    {"midgame_30.gam", {1092, 1074, 642, 1}},     {"midgame_34.gam", {239, 160, 1, 1}},
};

template <class Player>
std::uint32_t seen(const CBoard& board, Side side, const PlayerSettings& settings) {
    PlayerDefinition d;
    d.name = "Signature";
    d.settings = settings;
    auto p = std::make_unique<Player>(); // a fresh Master table: the same tree every run
    p->definition = &d;
    rng::seed(12345);
    p->think(board, side);
    return p->statistics().seenPositions;
}

PlayerSettings shallower(TreeSettings s, const char* className) {
    s.maxDepth -= 1;
    return s.toBlock(className);
}

TEST(SearchSignature, EveryKindSeesTheRecordedPositions) {
    for (const Recorded& r : RECORDED) {
        CBoard board;
        Side side = SIDE_O;
        ASSERT_TRUE(loadBenchPosition(r.file, board, side)) << r.file;
        const std::uint32_t nodes[4] = {
            seen<CAlphaBetaPlayer>(board, side,
                                   shallower(TreeSettings::alphaBetaDefaults(), TreeSettings::ALPHABETA_CLASS)),
            seen<CMiniMaxPlayer>(board, side, shallower(TreeSettings::miniMaxDefaults(), TreeSettings::MINIMAX_CLASS)),
            seen<CExtensivePlayer>(board, side,
                                   shallower(TreeSettings::extensiveDefaults(), TreeSettings::EXTENSIVE_CLASS)),
            seen<CMasterPlayer>(board, side, MasterSettings{60000, 4, 1, 16}.toBlock()),
        };
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(nodes[k], r.nodes[k]) << r.file << " kind " << k;
    }
}

} // namespace
} // namespace quintrel
