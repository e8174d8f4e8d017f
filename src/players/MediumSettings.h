#pragma once
// The Medium player's settings record: 4 bytes, little-endian.
//   offset 0  style  0 Defender, 1 Normal, 2 Attacker  default 2

#include "players/LightSettings.h"
#include "players/PlayerSettings.h"

#include <cstdint>
#include <string>

namespace quintrel {

struct MediumSettings {
    static constexpr const char* CLASS_NAME = "CMediumPlayer";
    static constexpr std::uint32_t SIZE = 4;

    std::int32_t style = STYLE_ATTACKER;

    bool isValid() const { return style >= STYLE_DEFENDER && style <= STYLE_ATTACKER; }
    PlayerSettings toBlock() const;
    // The record of a block; the defaults when the block is not a valid Medium block.
    static MediumSettings fromBlock(const PlayerSettings& block);
    friend bool operator==(const MediumSettings&, const MediumSettings&) = default;
};

bool validateMediumSettings(const PlayerSettings& block, const std::string& className);
void initMediumSettings(PlayerSettings& block, const std::string& className);

} // namespace quintrel
