#include "players/HumanPlayer.h"

#include "players/PlayerDefinition.h"

namespace quintrel {

namespace {
CHumanPlayer::ViewLocator& viewLocator() {
    static CHumanPlayer::ViewLocator locator;
    return locator;
}
} // namespace

PlayerSettings HumanSettings::toBlock() const {
    PlayerSettings block;
    block.tag = CLASS_NAME;
    appendInt32(block.data, device);
    return block;
}

bool validateHumanSettings(const PlayerSettings& block, const std::string& className) {
    if (block.tag != className || block.size() != HumanSettings::SIZE) return false;
    auto device = block.int32At(0);
    return device >= HumanSettings::KEYBOARD && device <= HumanSettings::BOTH;
}

void initHumanSettings(PlayerSettings& block, const std::string& className) {
    block = HumanSettings{}.toBlock();
    block.tag = className;
}

CHumanPlayer::CHumanPlayer() {
    isComputer = 0;
}

void CHumanPlayer::setViewLocator(ViewLocator locator) {
    viewLocator() = std::move(locator);
}

int CHumanPlayer::requestMove(const CBoard&, Side) {
    if (!boardView && viewLocator()) boardView = viewLocator()();
    if (!boardView) return 0;
    boardView->setInputFlags(inputDevice());
    boardView->refreshPointer();
    return 1;
}

int CHumanPlayer::inputDevice() const {
    if (!definition || definition->settings.size() != HumanSettings::SIZE) return INPUT_BOTH;
    switch (definition->settings.int32At(0)) {
    case HumanSettings::KEYBOARD:
        return INPUT_KEYBOARD;
    case HumanSettings::MOUSE:
        return INPUT_MOUSE;
    default:
        return INPUT_BOTH;
    }
}

} // namespace quintrel
