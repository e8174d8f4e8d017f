#include "game/PlayerSelection.h"

#include "players/Player.h"
#include "catalogue/PlayerDatabase.h"

namespace quintrel {

namespace {

// A kind that cannot make a player yet leaves the side to the human
// definition rather than to nobody.
std::unique_ptr<CPlayer> makePlayer(CPlayerDatabase& db, int& index) {
    if (auto p = db.createPlayer(static_cast<std::uint32_t>(index))) return p;
    index = db.humanIndex();
    return db.createPlayer(static_cast<std::uint32_t>(index));
}

} // namespace

PlayerSelection::PlayerSelection(CPlayerDatabase& db) : database(&db) {
    if (!db.isLoaded()) {
        db.load();
        db.createHumanPlayer();
    }
    firstIndex = db.humanIndex();
    secondIndex = static_cast<int>(db.expertIndex());
    firstPlayer = makePlayer(db, firstIndex);
    secondPlayer = makePlayer(db, secondIndex);
    playerO = firstPlayer.get();
    playerX = secondPlayer.get();
}

PlayerSelection::~PlayerSelection() = default;

void PlayerSelection::setWindow(const WindowHandle& window) {
    if (firstPlayer) firstPlayer->window = window;
    if (secondPlayer) secondPlayer->window = window;
    database->setNotifyWindow(window);
}

void PlayerSelection::setPriority(int priority) {
    if (priority < -1 || priority > 2) return;
    if (firstPlayer) firstPlayer->priority = priority;
    if (secondPlayer) secondPlayer->priority = priority;
    database->setThreadPriority(priority);
}

} // namespace quintrel
