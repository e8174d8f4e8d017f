#include "players/TreeSettings.h"

namespace quintrel {

namespace {

TreeSettings parse(const PlayerSettings& block) {
    TreeSettings s;
    s.maxDepth = block.uint32At(0);
    s.maxBranch = block.uint32At(4);
    s.ordering = block.int32At(8);
    s.reduction = block.int32At(12);
    s.quality = block.uint32At(16);
    s.aging = block.int32At(20);
    s.attack = block.int32At(24);
    s.extensive = block.size() == TreeSettings::EXTENSIVE_SIZE;
    if (s.extensive) {
        s.fullDepth = block.int32At(28);
        s.weighted = block.int32At(32);
    }
    return s;
}

} // namespace

TreeSettings TreeSettings::miniMaxDefaults() {
    return TreeSettings{};
}

TreeSettings TreeSettings::alphaBetaDefaults() {
    TreeSettings s;
    s.maxDepth = 4;
    s.ordering = ABSOLUTE_BEST;
    return s;
}

TreeSettings TreeSettings::extensiveDefaults() {
    TreeSettings s;
    s.maxDepth = 7;
    s.ordering = ABSOLUTE_BEST;
    s.reduction = QUALITY;
    s.extensive = true;
    s.fullDepth = 4;
    s.weighted = 1;
    return s;
}

TreeSettings TreeSettings::defaultsFor(const std::string& className) {
    if (className == ALPHABETA_CLASS) return alphaBetaDefaults();
    if (className == EXTENSIVE_CLASS) return extensiveDefaults();
    return miniMaxDefaults();
}

bool TreeSettings::isValid() const {
    if (maxDepth < 1 || maxDepth > MAX_DEPTH) return false;
    if (maxBranch == 1 || maxBranch > 100) return false;
    if (ordering < UNSORTED || ordering > MY_BEST) return false;
    if (reduction < NO_REDUCTION || reduction > QUALITY) return false;
    if (quality < 2 || quality > 6) return false;
    if (extensive && (fullDepth < 1 || static_cast<std::uint32_t>(fullDepth) > maxDepth))
        return false;
    return true;
}

PlayerSettings TreeSettings::toBlock(const std::string& className) const {
    PlayerSettings block;
    block.tag = className;
    for (auto v : {static_cast<std::int32_t>(maxDepth), static_cast<std::int32_t>(maxBranch),
                   ordering, reduction, static_cast<std::int32_t>(quality), aging, attack})
        appendInt32(block.data, v);
    if (extensive) {
        appendInt32(block.data, fullDepth);
        appendInt32(block.data, weighted);
    }
    return block;
}

TreeSettings TreeSettings::fromBlock(const PlayerSettings& block) {
    bool ok = block.tag == EXTENSIVE_CLASS ? validateExtensiveSettings(block, block.tag)
                                           : validateTreeSettings(block, block.tag);
    return ok ? parse(block) : defaultsFor(block.tag);
}

bool validateTreeSettings(const PlayerSettings& block, const std::string& className) {
    return block.tag == className && block.size() == TreeSettings::SIZE && parse(block).isValid();
}

bool validateExtensiveSettings(const PlayerSettings& block, const std::string& className) {
    return block.tag == className && block.size() == TreeSettings::EXTENSIVE_SIZE &&
           parse(block).isValid();
}

void initMiniMaxSettings(PlayerSettings& block, const std::string& className) {
    block = TreeSettings::miniMaxDefaults().toBlock(className);
}

void initAlphaBetaSettings(PlayerSettings& block, const std::string& className) {
    block = TreeSettings::alphaBetaDefaults().toBlock(className);
}

void initExtensiveSettings(PlayerSettings& block, const std::string& className) {
    block = TreeSettings::extensiveDefaults().toBlock(className);
}

} // namespace quintrel
