#include "players/Player.h"

#include "players/PlayerDefinition.h"

namespace quintrel {

void CPlayer::deliverMove(GameMove m) const {
    PortMessage msg;
    msg.id = MSG_MOVE;
    msg.wParam = MSG_TAG;
    msg.lParam = m.packed();
    postMessage(window, std::move(msg));
}

std::string CPlayer::name() const {
    return definition ? definition->name : std::string();
}

} // namespace quintrel
