// quintrel-match: two defined players play a series of games through the game
// document and the headless UI, printing each game's log as the log window
// would show it and a final RESULT line.

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "app/MessagePort.h"
#include "app/OptionValues.h"
#include "app/SettingsStore.h"
#include "board/Random.h"
#include "game/HeadlessGameUi.h"
#include "game/QuintrelGam.h"
#include "app/ChildProcess.h"
#include "players/EnginePlayer.h"
#include "players/HumanPlayer.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/store/QSettingsStore.h"

using namespace quintrel;

namespace {

constexpr int EXIT_USAGE = 2;
// A player that stays silent this long is taken to be stuck.
constexpr auto STALL_LIMIT = std::chrono::minutes(10);

const char* const USAGE =
    "usage: quintrel-match [--games N] [--seed S] [--swap] [--quiet] [--save-dir DIR]\n"
    "                      [--turn-ms MS] [--settings FILE.ini] O-PLAYER X-PLAYER\n";

const char* const HELP =
    "Plays N games (default 1) between two defined players and ends with\n"
    "  RESULT <O-name> <wins> <X-name> <wins> draws <n> games <n>\n"
    "\n"
    "  --games N        number of games\n"
    "  --seed S         seed of the random generator (default: the time)\n"
    "  --swap           the players exchange sides every other game; wins are\n"
    "                   counted per player\n"
    "  --quiet          print only the RESULT line, not the games' logs\n"
    "  --save-dir DIR   save every game as DIR/game-NNN.gam\n"
    "  --turn-ms MS     time per move, 1 to 3600000 ms, for every player that has\n"
    "                   one (Master), in this run only; the settings stay as stored\n"
    "  --settings FILE  read the defined players from this INI settings file\n"
    "\n"
    "Player names come from the list of defined players in the settings store.\n"
    "Without --settings or QUINTREL_SETTINGS the tool uses a private in-memory\n"
    "store holding the default players (Human, Chaotic, Light, Medium,\n"
    "MiniMax, AlphaBeta, Extensive, Master), so it never reads or changes your own\n"
    "settings unless you ask it to. Exit code 2: bad arguments or players.\n"
    "A player \"engine:COMMAND LINE\" (quoted as one argument) is an external\n"
    "Gomocup brain run as an Engine player; a brain that fails loses the game.\n";

// The window the players post to: a queue the match loop sleeps on.
class WaitingSink : public MessageSink {
public:
    void post(PortMessage msg) override {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(msg));
        }
        ready_.notify_one();
    }
    // The oldest message, waiting up to timeout for one. One at a time, so
    // that a modal box meanwhile sees the rest as the event loop would.
    std::optional<PortMessage> next(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!ready_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return std::nullopt;
        PortMessage m = std::move(queue_.front());
        queue_.pop_front();
        return m;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<PortMessage> queue_;
};

struct Options {
    int games = 1;
    std::optional<unsigned> seed;
    bool swap = false;
    bool quiet = false;
    std::string saveDir;
    std::string settings;
    int turnMs = 0; // 0: each player's own settings
    std::string names[2];
};

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "quintrel-match: %s\n%s", message.c_str(), USAGE);
    std::exit(EXIT_USAGE);
}

bool parseNumber(const std::string& text, long long low, long long high, long long& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    out = v;
    return true;
}

Options parseArguments(int argc, char** argv) {
    Options o;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usageError(arg + " needs a value");
            return argv[++i];
        };
        long long n = 0;
        if (arg == "--help" || arg == "-h") {
            std::printf("%s\n%s", USAGE, HELP);
            std::exit(0);
        } else if (arg == "--games") {
            if (!parseNumber(value(), 1, 1000000, n)) usageError("--games wants a whole number from 1 to 1000000");
            o.games = static_cast<int>(n);
        } else if (arg == "--seed") {
            if (!parseNumber(value(), 0, 4294967295LL, n)) usageError("--seed wants a whole number from 0 to 4294967295");
            o.seed = static_cast<unsigned>(n);
        } else if (arg == "--swap") {
            o.swap = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--save-dir") {
            o.saveDir = value();
        } else if (arg == "--settings") {
            o.settings = value();
        } else if (arg == "--turn-ms") {
            if (!parseNumber(value(), 1, 3600000, n)) usageError("--turn-ms wants a whole number from 1 to 3600000");
            o.turnMs = static_cast<int>(n);
        } else if (arg.size() > 1 && arg[0] == '-') {
            usageError("unknown option " + arg);
        } else if (positional < 2) {
            o.names[positional++] = arg;
        } else {
            usageError("too many player names: " + arg);
        }
    }
    if (positional < 2) usageError("two player names are needed, for O and for X");
    return o;
}

std::string definedNames(const CPlayerDatabase& db) {
    std::string out;
    for (const auto& d : db.definitions()) out += (out.empty() ? "" : ", ") + d.name;
    return out;
}

// Brains named on the command line ("engine:COMMAND LINE"): definitions of
// this run only, numbered after the database's list, never stored.
std::vector<PlayerDefinition> engineDefinitions;

std::uint32_t addEngine(const CPlayerDatabase& db, const std::string& commandLine) {
    const auto words = splitCommandLine(commandLine);
    if (words.empty()) usageError("engine: needs the command line of a brain");
    PlayerDefinition d;
    d.name = std::filesystem::path(words[0]).filename().string();
    EngineSettings s;
    s.command = commandLine;
    if (!s.isValid()) usageError("engine: " + *s.problem());
    d.settings = s.toBlock();
    engineDefinitions.reserve(2); // players point into the list: it never moves
    engineDefinitions.push_back(std::move(d));
    return static_cast<std::uint32_t>(db.count() + engineDefinitions.size() - 1);
}

std::unique_ptr<CPlayer> createPlayer(const CPlayerDatabase& db, std::uint32_t index) {
    if (index < db.count()) return db.createPlayer(index);
    auto p = std::make_unique<CEnginePlayer>();
    p->definition = &engineDefinitions.at(index - db.count());
    p->window = db.notifyWindow();
    return p;
}

// The list position of a computer player that this build can make.
std::uint32_t findPlayer(const CPlayerDatabase& db, const std::string& name) {
    if (name.rfind("engine:", 0) == 0) return addEngine(db, name.substr(7));
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        const PlayerDefinition& d = *db.definition(i);
        if (d.name != name) continue;
        if (d.className() == HumanSettings::CLASS_NAME)
            usageError("\"" + name + "\" is a human player and cannot play here; choose computer players");
        if (!db.createPlayer(i))
            usageError("player \"" + name + "\" of kind " + d.className() + " cannot be created in this build");
        return i;
    }
    usageError("no defined player is named \"" + name + "\" (defined players: " + definedNames(db) + ")");
}

enum class Outcome { OWins, XWins, Draw };

class Match {
public:
    Match(CPlayerDatabase& db, const OptionValues& options, bool quiet, int turnMs)
        : turnMs_(turnMs), game_(db, options) {
        if (!quiet) ui_.echo = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
        // The result box is modal: what the players post meanwhile is shown at
        // once, so a searching player's statistics join its winning move's line.
        ui_.whileModal = [this] {
            settlePlayers();
            drainWaiting();
        };
        game_.attachView(ui_, sink_);
    }

    // Plays one game between the players at list positions o and x.
    std::optional<Outcome> play(std::uint32_t o, std::uint32_t x) {
        auto& p = game_.players();
        p.firstIndex = static_cast<int>(o);
        p.secondIndex = static_cast<int>(x);
        p.firstPlayer = createPlayer(game_.database(), o);
        p.secondPlayer = createPlayer(game_.database(), x);
        if (turnMs_ > 0) {
            p.firstPlayer->setTurnTime(turnMs_);
            p.secondPlayer->setTurnTime(turnMs_);
        }
        p.playerO = p.firstPlayer.get();
        p.playerX = p.secondPlayer.get();
        ui_.boxes.clear();
        game_.onNewDocument();

        auto silentSince = std::chrono::steady_clock::now();
        while (game_.historyFlags() != HISTORY_FINISHED) {
            if (!game_.computing()) return std::nullopt; // nobody would ever move
            auto message = sink_->next(std::chrono::milliseconds(500));
            if (message) {
                silentSince = std::chrono::steady_clock::now();
                // The mover's statistics follow its move from the search thread;
                // waiting for that thread to end keeps them ahead of the reply
                // the next player posts at once, so they land on the right line.
                if (message->id == MSG_MOVE) settlePlayers();
                game_.handleMessage(*message);
            } else if (std::chrono::steady_clock::now() - silentSince > STALL_LIMIT) {
                return std::nullopt;
            }
        }
        settlePlayers();
        drainWaiting();
        ui_.flushEcho();

        const auto* box = ui_.lastBox();
        if (!box || box->text.rfind(" Player", 0) != 0) return Outcome::Draw;
        // " Player X (name) has lost: ..." when a player could not go on.
        if (box->text.find(") has lost: ") != std::string::npos)
            return box->text.rfind(" Player X", 0) == 0 ? Outcome::OWins : Outcome::XWins;
        return game_.move(game_.last()).side == SIDE_O ? Outcome::OWins : Outcome::XWins;
    }

    bool save(const std::string& path) { return game_.saveAs(path); }

    const HeadlessGameUi& ui() const { return ui_; }

private:
    void drainWaiting() {
        while (auto m = sink_->next(std::chrono::milliseconds(0))) game_.handleMessage(*m);
    }

    // A searching player posts its statistics after its move; resetting waits
    // until its search has ended, so everything it sends is in the queue.
    void settlePlayers() {
        game_.players().playerO->reset();
        game_.players().playerX->reset();
    }

    HeadlessGameUi ui_;
    int turnMs_;
    std::shared_ptr<WaitingSink> sink_ = std::make_shared<WaitingSink>();
    CQuintrelGam game_;
};

} // namespace

int main(int argc, char** argv) {
    const Options o = parseArguments(argc, argv);
    if (o.seed) rng::seed(*o.seed);
    else rng::seedWithTime();

    std::string settingsError;
    auto store = openToolStore(o.settings, settingsError);
    if (!store) usageError(settingsError);
    CPlayerDatabase db(*store);
    db.load();
    const std::uint32_t index[2] = {findPlayer(db, o.names[0]), findPlayer(db, o.names[1])};
    if (!o.saveDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(o.saveDir, ec);
        if (!std::filesystem::is_directory(o.saveDir)) usageError("cannot make the folder " + o.saveDir);
    }

    OptionValues options;
    options.load(*store);
    int wins[2] = {0, 0};
    int draws = 0;
    {
        Match match(db, options, o.quiet, o.turnMs);
        for (int g = 0; g < o.games; ++g) {
            // With --swap the first named player takes X in every other game.
            const int first = o.swap && g % 2 == 1 ? 1 : 0;
            const auto outcome = match.play(index[first], index[1 - first]);
            if (!outcome) {
                std::fprintf(stderr, "quintrel-match: game %d stalled: no move arrived\n", g + 1);
                return 1;
            }
            if (*outcome == Outcome::Draw) ++draws;
            else ++wins[*outcome == Outcome::OWins ? first : 1 - first];
            if (!o.saveDir.empty()) {
                char name[32];
                std::snprintf(name, sizeof name, "game-%03d.gam", g + 1);
                const std::string path = (std::filesystem::path(o.saveDir) / name).string();
                if (!match.save(path)) {
                    const auto* box = match.ui().lastBox();
                    std::fprintf(stderr, "quintrel-match: %s\n", box ? box->text.c_str() : path.c_str());
                    return 1;
                }
            }
        }
    }
    std::printf("RESULT %s %d %s %d draws %d games %d\n", o.names[0].c_str(), wins[0], o.names[1].c_str(), wins[1],
                draws, o.games);
    return 0;
}
