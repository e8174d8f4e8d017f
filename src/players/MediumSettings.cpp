#include "players/MediumSettings.h"

namespace quintrel {

PlayerSettings MediumSettings::toBlock() const {
    PlayerSettings block;
    block.tag = CLASS_NAME;
    appendInt32(block.data, style);
    return block;
}

MediumSettings MediumSettings::fromBlock(const PlayerSettings& block) {
    if (!validateMediumSettings(block, CLASS_NAME)) return MediumSettings{};
    return MediumSettings{block.int32At(0)};
}

bool validateMediumSettings(const PlayerSettings& block, const std::string& className) {
    if (block.tag != className || block.size() != MediumSettings::SIZE) return false;
    return MediumSettings{block.int32At(0)}.isValid();
}

void initMediumSettings(PlayerSettings& block, const std::string& className) {
    block = MediumSettings{}.toBlock();
    block.tag = className;
}

} // namespace quintrel
