#pragma once
// The Engine player's settings record, little-endian, of variable length:
//   offset    field        valid                    default
//    0        version      1                        1
//    4        turnMs       100..600000              1000   time per move
//    8        matchMs      0..86400000              0      whole match, 0 = none
//   12        commandSize  0..4096                  0
//   16        command      commandSize bytes        ""     program and arguments
//   16+c      infoSize     0..16384                 0
//   20+c      info         infoSize bytes           ""     "key value" lines
// Texts are UTF-8 without zero bytes; the command is one line; every info
// line that is not blank starts with a key of no blanks. The version comes
// first so a later layout can be told from this one.

#include "players/PlayerSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintrel {

struct EngineSettings {
    static constexpr const char* CLASS_NAME = "CEnginePlayer";
    static constexpr std::uint32_t MIN_SIZE = 20;
    static constexpr std::int32_t VERSION = 1;
    static constexpr std::int32_t MIN_TURN_MS = 100, MAX_TURN_MS = 600000;
    static constexpr std::int32_t MAX_MATCH_MS = 86400000;
    static constexpr std::size_t MAX_COMMAND = 4096, MAX_INFO = 16384;

    std::int32_t turnMs = 1000;
    std::int32_t matchMs = 0;
    std::string command;
    std::string info;

    bool isValid() const;
    // Why the record is not valid, in the dialog's words; nullopt when it is.
    std::optional<std::string> problem() const;
    // The info text as "key value" lines, blank lines dropped, blanks trimmed.
    std::vector<std::string> infoLines() const;
    PlayerSettings toBlock() const;
    // The record of a block; the defaults when the block is not a valid Engine block.
    static EngineSettings fromBlock(const PlayerSettings& block);
    friend bool operator==(const EngineSettings&, const EngineSettings&) = default;
};

bool validateEngineSettings(const PlayerSettings& block, const std::string& className);
void initEngineSettings(PlayerSettings& block, const std::string& className);

} // namespace quintrel
