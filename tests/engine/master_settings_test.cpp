// The Master player's settings record: which blocks validation accepts, the
// catalogue's defaults, and the time per move a run may set over them.

#include "players/MasterSettings.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "search/MasterPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace quintrel;

namespace {

PlayerSettings block(const std::string& tag, std::vector<std::int32_t> values) {
    PlayerSettings b;
    b.tag = tag;
    for (std::int32_t v : values) appendInt32(b.data, v);
    return b;
}

} // namespace

TEST(MasterSettings, ValidationChecksTagSizeVersionAndEveryRange) {
    const std::string cls = MasterSettings::CLASS_NAME;
    struct Case {
        std::vector<std::int32_t> values; // version, time, depth, threads, hash
        bool valid;
    };
    const Case cases[] = {
        {{1, 1000, 99, 1, 64}, true},   {{1, 100, 1, 1, 8}, true},      {{1, 60000, 99, 64, 1024}, true},
        {{0, 1000, 99, 1, 64}, false},  {{2, 1000, 99, 1, 64}, false},  {{1, 99, 99, 1, 64}, false},
        {{1, 60001, 99, 1, 64}, false}, {{1, 1000, 0, 1, 64}, false},   {{1, 1000, 100, 1, 64}, false},
        {{1, 1000, 99, 0, 64}, false},  {{1, 1000, 99, 65, 64}, false}, {{1, 1000, 99, 1, 7}, false},
        {{1, 1000, 99, 1, 1025}, false}, {{1, 1000, 99, 1}, false},     {{1, 1000, 99, 1, 64, 0}, false},
    };
    for (const Case& c : cases) {
        const PlayerSettings b = block(cls, c.values);
        EXPECT_EQ(validateMasterSettings(b, cls), c.valid) << ::testing::PrintToString(c.values);
        // An invalid block reads as the defaults; a valid one round-trips.
        const MasterSettings read = MasterSettings::fromBlock(b);
        if (c.valid) {
            EXPECT_EQ(read.toBlock(), b);
        } else {
            EXPECT_EQ(read, MasterSettings{});
        }
    }
    EXPECT_FALSE(validateMasterSettings(block(cls, {1, 1000, 99, 1, 64}), "CExtensivePlayer"));
    EXPECT_FALSE(validateMasterSettings(block("CExtensivePlayer", {1, 1000, 99, 1, 64}), cls));

    // The catalogue's eighth kind carries the defaults.
    const PlayerDefinition& kind = PlayerKindCatalogue::entry(PlayerKindCatalogue::MASTER);
    EXPECT_EQ(kind.name, "Master");
    EXPECT_EQ(kind.description, "Threat search with time control");
    EXPECT_EQ(kind.settings, block(cls, {1, 1000, 99, 1, 64}));
    EXPECT_EQ(kind.hasSettingsDialog, 1);
    EXPECT_EQ(PlayerKindCatalogue::findKind(cls), &kind);
    auto player = kind.createPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_STREQ(player->className(), "CMasterPlayer");
}

TEST(MasterSettings, TurnTimeOverridesTheStoredTimeForTheRunOnly) {
    PlayerDefinition d = PlayerKindCatalogue::entry(PlayerKindCatalogue::MASTER);
    d.settings = MasterSettings{5000, 12, 64, 128}.toBlock();
    const PlayerSettings stored = d.settings;
    CMasterPlayer p;
    p.definition = &d;
    EXPECT_EQ(p.loadSettings(), (MasterSettings{5000, 12, 64, 128}));
    p.setTurnTime(250);
    EXPECT_EQ(p.loadSettings(), (MasterSettings{250, 12, 64, 128}));
    EXPECT_EQ(d.settings, stored);
    p.setTurnTime(0);
    EXPECT_EQ(p.loadSettings().timeMs, 5000);
    // More threads than the machine has run as its cores.
    EXPECT_EQ(p.loadSettings().usableThreads(), std::min(64, MasterSettings::machineCores()));
}
