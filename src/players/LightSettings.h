#pragma once
// The Light player's settings record: 8 bytes, little-endian.
//   offset 0  style       0 Defender, 1 Normal, 2 Attacker   default 1
//   offset 4  evaluation  0 Primitive, 1 Sensible, 2 Fanatic default 1
// Normal with Fanatic is not a valid pair.

#include "players/PlayerSettings.h"

#include <cstdint>
#include <string>

namespace quintrel {

enum PlayingStyle : std::int32_t { STYLE_DEFENDER = 0, STYLE_NORMAL = 1, STYLE_ATTACKER = 2 };

struct LightSettings {
    static constexpr const char* CLASS_NAME = "CLightPlayer";
    static constexpr std::uint32_t SIZE = 8;
    enum Evaluation : std::int32_t { PRIMITIVE = 0, SENSIBLE = 1, FANATIC = 2 };

    std::int32_t style = STYLE_NORMAL;
    std::int32_t evaluation = SENSIBLE;

    bool isValid() const;
    PlayerSettings toBlock() const;
    // The record of a block; the defaults when the block is not a valid Light block.
    static LightSettings fromBlock(const PlayerSettings& block);
    friend bool operator==(const LightSettings&, const LightSettings&) = default;
};

bool validateLightSettings(const PlayerSettings& block, const std::string& className);
void initLightSettings(PlayerSettings& block, const std::string& className);

} // namespace quintrel
