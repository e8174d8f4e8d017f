#pragma once
// The Master player's settings record: 20 bytes, little-endian.
//   offset  field      valid        default
//    0      version    1            1
//    4      timeMs     100..60000   1000   time per move
//    8      maxDepth   1..99        99     iterations; the time ends them first
//   12      threads    1..64        1      more than the machine's cores run as its cores
//   16      hashMb     8..1024      64     transposition table
// The version comes first so a later layout can be told from this one.

#include "players/PlayerSettings.h"

#include <cstdint>
#include <string>

namespace quintrel {

struct MasterSettings {
    static constexpr const char* CLASS_NAME = "CMasterPlayer";
    static constexpr std::uint32_t SIZE = 20;
    static constexpr std::int32_t VERSION = 1;
    static constexpr std::int32_t MIN_TIME_MS = 100, MAX_TIME_MS = 60000;
    static constexpr std::int32_t MAX_DEPTH = 99;
    static constexpr std::int32_t MAX_THREADS = 64;
    static constexpr std::int32_t MIN_HASH_MB = 8, MAX_HASH_MB = 1024;

    std::int32_t timeMs = 1000;
    std::int32_t maxDepth = MAX_DEPTH;
    std::int32_t threads = 1;
    std::int32_t hashMb = 64;

    bool isValid() const;
    PlayerSettings toBlock() const;
    // The record of a block; the defaults when the block is not a valid Master block.
    static MasterSettings fromBlock(const PlayerSettings& block);
    // The threads a search really runs: at most the machine's cores.
    int usableThreads() const;
    // The machine's cores, at least 1: the most threads worth setting.
    static int machineCores();
    friend bool operator==(const MasterSettings&, const MasterSettings&) = default;
};

bool validateMasterSettings(const PlayerSettings& block, const std::string& className);
void initMasterSettings(PlayerSettings& block, const std::string& className);

} // namespace quintrel
