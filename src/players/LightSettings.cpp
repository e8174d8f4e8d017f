#include "players/LightSettings.h"

namespace quintrel {

bool LightSettings::isValid() const {
    return style >= STYLE_DEFENDER && style <= STYLE_ATTACKER && evaluation >= PRIMITIVE &&
           evaluation <= FANATIC && !(style == STYLE_NORMAL && evaluation == FANATIC);
}

PlayerSettings LightSettings::toBlock() const {
    PlayerSettings block;
    block.tag = CLASS_NAME;
    appendInt32(block.data, style);
    appendInt32(block.data, evaluation);
    return block;
}

LightSettings LightSettings::fromBlock(const PlayerSettings& block) {
    if (!validateLightSettings(block, CLASS_NAME)) return LightSettings{};
    return LightSettings{block.int32At(0), block.int32At(4)};
}

bool validateLightSettings(const PlayerSettings& block, const std::string& className) {
    if (block.tag != className || block.size() != LightSettings::SIZE) return false;
    return LightSettings{block.int32At(0), block.int32At(4)}.isValid();
}

void initLightSettings(PlayerSettings& block, const std::string& className) {
    block = LightSettings{}.toBlock();
    block.tag = className;
}

} // namespace quintrel
