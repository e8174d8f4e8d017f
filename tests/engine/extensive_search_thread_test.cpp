// Extensive player on its thinking thread: the root's remark reaches the log
// line after the move; a stop unwinds the multi-pass search at once and still
// delivers an empty field.

#include "SearchTestUtil.h"
#include "ThreadTestRig.h"

#include "search/ExtensivePlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;
using namespace std::chrono_literals;

TEST(ExtensiveThread, RemarkFollowsTheMove) {
    Rig rig;
    CExtensivePlayer p;
    PlayerDefinition d =
        definitionWith(TreeSettings::extensiveDefaults(), TreeSettings::EXTENSIVE_CLASS);
    p.definition = &d;
    p.window = rig.sink;

    const CBoard openThree = boardWith({{5, 10}, {6, 10}, {7, 10}}, {{12, 14}, {13, 4}});
    ASSERT_EQ(p.requestMove(openThree, SIDE_O), 1);
    ASSERT_TRUE(rig.waitForLog(10s));
    p.stopThinking();

    ASSERT_GE(rig.seen.size(), 2u);
    EXPECT_EQ(rig.seen[0].id, MSG_MOVE);
    const int packed = rig.seen[0].lParam;
    EXPECT_TRUE(packed == F(4, 10).packed() || packed == F(8, 10).packed()) << packed;
    EXPECT_EQ(rig.seen.back().id, MSG_LOG);
    EXPECT_TRUE(endsWith(rig.seen.back().text, " 1598  Victory in 2")) << rig.seen.back().text;
    EXPECT_TRUE(rig.of(MSG_PROGRESS).empty()); // decided without a root loop
}

TEST(ExtensiveThread, StopDeliversAnEmptyFieldAndSaysInterrupted) {
    Rig rig;
    CExtensivePlayer p;
    TreeSettings deep = TreeSettings::extensiveDefaults();
    deep.maxDepth = 40;
    deep.fullDepth = 12;
    PlayerDefinition d = definitionWith(deep, TreeSettings::EXTENSIVE_CLASS);
    p.definition = &d;
    p.window = rig.sink;

    const CBoard b = midGame();
    ASSERT_EQ(p.requestMove(b, SIDE_O), 1);
    // Let the root loop begin, then stop.
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (rig.of(MSG_PROGRESS).empty() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    p.stopThinking();
    EXPECT_FALSE(p.isThinking());

    const auto moves = rig.of(MSG_MOVE);
    const auto logs = rig.of(MSG_LOG);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(logs.size(), 1u);
    const Field f{static_cast<std::uint8_t>(moves[0].lParam & 0xFF),
                  static_cast<std::uint8_t>((moves[0].lParam >> 8) & 0xFF)};
    ASSERT_TRUE(f.onBoard());
    EXPECT_EQ(b.cells[f.x][f.y], EMPTY);
    EXPECT_TRUE(endsWith(logs[0].text, "Interrupted...")) << logs[0].text;
}

} // namespace
} // namespace quintrel
