#pragma once
// The person at the board. It never computes a move: a request opens the
// board view for input, and the view hands the chosen field straight to the
// game. Its one setting is the input device.

#include "players/Player.h"
#include "players/PlayerSettings.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quintrel {

// Bits of the view's inputFlags: 1 enables the keyboard's confirm keys, 2 mouse clicks.
enum InputFlags : int { INPUT_NONE = 0, INPUT_KEYBOARD = 1, INPUT_MOUSE = 2, INPUT_BOTH = 3 };

// What the human player needs of the board view; the view implements it.
class BoardInput {
public:
    virtual ~BoardInput() = default;
    virtual void setInputFlags(int flags) = 0;
    // Lets the pointer shape follow the new input flags at once.
    virtual void refreshPointer() = 0;
};

// The human's settings record: one signed 32-bit value, the input device.
struct HumanSettings {
    static constexpr const char* CLASS_NAME = "CHumanPlayer";
    static constexpr std::uint32_t SIZE = 4;
    enum Device : std::int32_t { KEYBOARD = 0, MOUSE = 1, BOTH = 2 };

    std::int32_t device = BOTH;

    PlayerSettings toBlock() const;
};

bool validateHumanSettings(const PlayerSettings& block, const std::string& className);
void initHumanSettings(PlayerSettings& block, const std::string& className);

class CHumanPlayer : public CPlayer {
public:
    CHumanPlayer();
    const char* className() const override { return HumanSettings::CLASS_NAME; }

    // Opens the board view for input: 1, or 0 when there is no view yet.
    int requestMove(const CBoard& board, Side side) override;
    // The view's inputFlags for this player's device: 0 gives 1, 1 gives 2, else 3.
    int inputDevice() const;

    // Null until the first move request finds the active view.
    BoardInput* boardView = nullptr;

    // How a request finds the active board view; the UI sets it at start-up.
    using ViewLocator = std::function<BoardInput*()>;
    static void setViewLocator(ViewLocator locator);
};

} // namespace quintrel
