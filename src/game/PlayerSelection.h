#pragma once
// Who plays which side. The selection owns the two players chosen in Who
// Plays; playerO and playerX point at those, or at the database's own human
// player or Expert while sides are handed over or Autoplay runs. savedO and
// savedX hold the pair Autoplay replaced; both are null when none runs.

#include <memory>

#include "app/MessagePort.h"

namespace quintrel {

class CPlayer;
class CPlayerDatabase;

class PlayerSelection {
public:
    // Loads the database first when it has never been loaded, then makes the
    // human definition the first player (O) and the Expert the second (X).
    explicit PlayerSelection(CPlayerDatabase& database);
    ~PlayerSelection();
    // playerO/playerX point into this object.
    PlayerSelection(const PlayerSelection&) = delete;
    PlayerSelection& operator=(const PlayerSelection&) = delete;

    // Passed to both owned players and to the database for the players it makes later.
    void setWindow(const WindowHandle& window);
    // Only -1..2 is accepted; anything else is ignored.
    void setPriority(int priority);

    CPlayer* onMove(int side) const { return side == 0 ? playerO : playerX; }

    CPlayerDatabase* database;
    std::unique_ptr<CPlayer> firstPlayer;
    int firstIndex = 0;
    std::unique_ptr<CPlayer> secondPlayer;
    int secondIndex = 0;
    CPlayer* playerO = nullptr;
    CPlayer* playerX = nullptr;
    CPlayer* savedO = nullptr;
    CPlayer* savedX = nullptr;
};

} // namespace quintrel
