#pragma once
// The tree players' settings record, little-endian, no padding: 28 bytes for
// MiniMax and AlphaBeta, 36 for Extensive, whose two extra fields come last.
//   offset  field       valid        MiniMax AlphaBeta Extensive
//    0      maxDepth    1..40           3       4         7
//    4      maxBranch   0 or 2..100     0       0         0
//    8      ordering    0..3            0       1         1
//   12      reduction   0..4            3       3         4
//   16      quality     2..6            2       2         2
//   20      aging       any             1       1         1
//   24      attack      any             1       1         1
//   28      fullDepth   1..maxDepth                       4
//   32      weighted    any                               1

#include "players/PlayerSettings.h"

#include <cstdint>
#include <string>

namespace quintrel {

struct TreeSettings {
    static constexpr const char* MINIMAX_CLASS = "CMiniMaxPlayer";
    static constexpr const char* ALPHABETA_CLASS = "CAlphaBetaPlayer";
    static constexpr const char* EXTENSIVE_CLASS = "CExtensivePlayer";
    static constexpr std::uint32_t SIZE = 28;
    static constexpr std::uint32_t EXTENSIVE_SIZE = 36;
    static constexpr std::uint32_t MAX_DEPTH = 40;

    enum Ordering : std::int32_t {
        UNSORTED = 0,
        ABSOLUTE_BEST = 1,
        OPPONENTS_BEST = 2,
        MY_BEST = 3
    };
    enum Reduction : std::int32_t {
        NO_REDUCTION = 0,
        RECTANGULAR = 1,
        WIDE_CONTURE = 2,
        CONTURE = 3,
        QUALITY = 4
    };

    std::uint32_t maxDepth = 3;
    std::uint32_t maxBranch = 0; // 0: all moves
    std::int32_t ordering = UNSORTED;
    std::int32_t reduction = CONTURE;
    std::uint32_t quality = 2;
    std::int32_t aging = 1;
    std::int32_t attack = 1;
    // Extensive only (the 36-byte form)
    bool extensive = false;
    std::int32_t fullDepth = 0;
    std::int32_t weighted = 0;

    static TreeSettings miniMaxDefaults();
    static TreeSettings alphaBetaDefaults();
    static TreeSettings extensiveDefaults();
    // The defaults of the kind named; MiniMax's for an unknown name.
    static TreeSettings defaultsFor(const std::string& className);

    bool isValid() const;
    PlayerSettings toBlock(const std::string& className) const;
    // The record of a block; the defaults of the block's tag when the block is
    // not valid for it.
    static TreeSettings fromBlock(const PlayerSettings& block);
    friend bool operator==(const TreeSettings&, const TreeSettings&) = default;
};

// MiniMax and AlphaBeta share one validation (28 bytes), Extensive has its own (36).
bool validateTreeSettings(const PlayerSettings& block, const std::string& className);
bool validateExtensiveSettings(const PlayerSettings& block, const std::string& className);
void initMiniMaxSettings(PlayerSettings& block, const std::string& className);
void initAlphaBetaSettings(PlayerSettings& block, const std::string& className);
void initExtensiveSettings(PlayerSettings& block, const std::string& className);

} // namespace quintrel
