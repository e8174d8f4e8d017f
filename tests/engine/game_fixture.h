#pragma once
// A game document wired to the headless UI and a message queue, with
// scripted computer players, for the game_*_test programs.

#include <memory>
#include <string>
#include <vector>

#include "app/MessagePort.h"
#include "app/OptionValues.h"
#include "app/SettingsStore.h"
#include "board/Random.h"
#include "game/HeadlessGameUi.h"
#include "game/QuintrelGam.h"
#include "players/HumanPlayer.h"
#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"

namespace quintrel::testing {

// A computer player that delivers the next field of its script on each
// request (nothing once the script is used up), so games run exactly as planned.
class ScriptedPlayer : public CPlayer {
public:
    ScriptedPlayer(const PlayerDefinition* def, std::vector<Field> script, WindowHandle w)
        : script_(std::move(script)) {
        definition = def;
        window = std::move(w);
    }
    int requestMove(const CBoard&, Side side) override {
        ++requests;
        if (next_ < script_.size()) deliverMove(GameMove{script_[next_++], side});
        return 1;
    }
    void stopThinking() override { ++stops; }
    int requests = 0;
    int stops = 0;

private:
    std::vector<Field> script_;
    std::size_t next_ = 0;
};

inline Field F(int x, int y) { return Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; }

struct GameFixture {
    MemorySettingsStore store;
    CPlayerDatabase db{store};
    HeadlessGameUi ui;
    std::shared_ptr<QueueSink> sink = std::make_shared<QueueSink>();
    std::unique_ptr<CQuintrelGam> game;
    PlayerDefinition scriptDefinition;

    GameFixture() {
        rng::seed(12345);
        CHumanPlayer::setViewLocator([this] { return static_cast<BoardInput*>(&ui); });
        OptionValues options;
        options.load(store);
        game = std::make_unique<CQuintrelGam>(db, options);
        game->attachView(ui, sink);
        db.setExpert(PlayerKindCatalogue::CHAOTIC);
        scriptDefinition.name = "Script";
        // Start with two humans; tests choose their players.
        choose(PlayerKindCatalogue::HUMAN, PlayerKindCatalogue::HUMAN);
        game->onNewDocument();
    }
    ~GameFixture() {
        game.reset();
        CHumanPlayer::setViewLocator(nullptr);
    }

    // As Who Plays does: new players for both sides from the list.
    void choose(int o, int x) {
        auto& p = game->players();
        p.firstIndex = o;
        p.firstPlayer = db.createPlayer(static_cast<std::uint32_t>(o));
        p.secondIndex = x;
        p.secondPlayer = db.createPlayer(static_cast<std::uint32_t>(x));
        p.playerO = p.firstPlayer.get();
        p.playerX = p.secondPlayer.get();
    }
    // A scripted computer for one side (owned by the selection).
    ScriptedPlayer* script(Side side, std::vector<Field> fields) {
        auto player = std::make_unique<ScriptedPlayer>(&scriptDefinition, std::move(fields), sink);
        ScriptedPlayer* raw = player.get();
        auto& p = game->players();
        if (side == SIDE_O) {
            p.firstPlayer = std::move(player);
            p.playerO = raw;
        } else {
            p.secondPlayer = std::move(player);
            p.playerX = raw;
        }
        return raw;
    }

    // Hands every waiting message to the document, as the event loop does.
    void drain(int rounds = 1000) {
        while (rounds-- > 0 && !sink->empty())
            for (const auto& m : sink->drain()) game->handleMessage(m);
    }
    // The human on move clicks f.
    void click(int x, int y) { game->onMoveDelivered(GameMove{F(x, y), game->sideToMove()}); }
};

} // namespace quintrel::testing
