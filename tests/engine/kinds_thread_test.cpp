// Every kind that thinks on a worker, through the player interface alone:
// a request starts thinking, a reset ends it at once and for good, a request
// while thinking ends the earlier job first, and a player destroyed while
// thinking waits for its worker. Our own searches deliver each job's move
// before its log line, however early they are ended. Run under
// ThreadSanitizer with the rest of the thread tests.

#include "ThreadTestRig.h"

#include "players/EnginePlayer.h"
#include "players/MasterSettings.h"
#include "search/AlphaBetaPlayer.h"
#include "search/ExtensivePlayer.h"
#include "search/MasterPlayer.h"
#include "search/MiniMaxPlayer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace quintrel {
namespace {

using namespace quintrel::testing;
using namespace std::chrono_literals;

// A brain that starts a game and then never answers a move.
const std::filesystem::path SILENT_BRAIN =
    std::filesystem::temp_directory_path() / ("silent-brain-" + std::to_string(getpid()));

struct Kind {
    const char* name;
    std::function<std::unique_ptr<CPlayer>()> make;
    PlayerSettings settings;
    bool ownSearch = true; // delivers a move and a log line for every job it ends
};

class EveryThinkingKind : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        std::ofstream(SILENT_BRAIN)
            << "#!/bin/sh\nwhile read -r line; do case \"$line\" in START*) echo OK ;; END*) exit 0 ;; esac; done\n";
        chmod(SILENT_BRAIN.c_str(), 0755);
    }
    static void TearDownTestSuite() { std::filesystem::remove(SILENT_BRAIN); }
};

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"MiniMax", [] { return std::make_unique<CMiniMaxPlayer>(); },
         endless().toBlock(TreeSettings::MINIMAX_CLASS)},
        {"AlphaBeta", [] { return std::make_unique<CAlphaBetaPlayer>(); },
         endless().toBlock(TreeSettings::ALPHABETA_CLASS)},
        {"Extensive", [] { return std::make_unique<CExtensivePlayer>(); },
         endless().toBlock(TreeSettings::EXTENSIVE_CLASS)},
        {"Master", [] { return std::make_unique<CMasterPlayer>(); }, MasterSettings{60000, 99, 2, 8}.toBlock()},
        {"Engine",
         [] {
             auto p = std::make_unique<CEnginePlayer>();
             p->setCommandLine(SILENT_BRAIN.string());
             p->setTurnTime(60000);
             return p;
         },
         PlayerSettings{}, false},
    };
    return all;
}

TEST_P(EveryThinkingKind, ResetEndsThinkingAndDestroyingWaitsForTheWorker) {
    const Kind& kind = kinds()[static_cast<std::size_t>(GetParam())];
    PlayerDefinition d;
    d.name = kind.name;
    d.settings = kind.settings;
    const CBoard b = midGame();
    Rig rig;
    std::string expected;
    for (int round = 0; round < 6; ++round) {
        auto p = kind.make();
        if (kind.settings.size()) p->definition = &d;
        p->window = rig.sink;
        ASSERT_EQ(p->requestMove(b, round % 2 ? SIDE_X : SIDE_O), 1) << kind.name;
        if (round % 3 == 0) {
            std::this_thread::sleep_for(20ms); // well into the search
            ASSERT_EQ(p->requestMove(b, SIDE_X), 1) << kind.name;
            expected += "ML";
        }
        expected += "ML";
        if (round % 3 == 1) {
            p->reset();
            rig.collect();
            const std::size_t seen = rig.seen.size();
            std::this_thread::sleep_for(5ms);
            rig.collect();
            EXPECT_EQ(rig.seen.size(), seen) << kind.name << ": nothing arrives after a reset";
        }
        // round % 3 == 2: destroyed at once, still thinking
    }
    if (kind.ownSearch) {
        EXPECT_EQ(rig.deliveries(), expected) << kind.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryThinkingKind, ::testing::Range(0, static_cast<int>(kinds().size())),
                         [](const auto& info) { return std::string(kinds()[static_cast<std::size_t>(info.param)].name); });

} // namespace
} // namespace quintrel
