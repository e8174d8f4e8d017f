// pbrain-quintrel: one of our defined players as a "brain" for Gomoku
// managers and analysis boards, speaking their text protocol on standard
// input and output (one command per line; replies flushed one by one).

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include <unistd.h>

#include <QString>

#include "app/SettingsStore.h"
#include "board/Random.h"
#include "pbrain-quintrel/Brain.h"
#include "players/HumanPlayer.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/store/QSettingsStore.h"

using namespace quintrel;

namespace {

constexpr int EXIT_USAGE = 2;
// Longer lines are cut here; the rest of such a line is read and dropped.
constexpr std::size_t MAX_LINE = 4096;

const char* const USAGE = "usage: pbrain-quintrel [--player NAME] [--settings FILE.ini]\n";

const char* const HELP =
    "Plays one defined player in a Gomoku manager over the pbrain protocol:\n"
    "commands on standard input, answers on standard output.\n"
    "\n"
    "  --player NAME    the defined player (default \"Master\")\n"
    "  --settings FILE  read the defined players from this INI settings file\n"
    "\n"
    "Without --settings or QUINTREL_SETTINGS the default players are used\n"
    "(Chaotic, Light, Medium, MiniMax, AlphaBeta, Extensive, Master). Exit code 2:\n"
    "bad arguments or a player that cannot play here.\n";

struct Options {
    std::string player = "Master";
    std::string settings;
};

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "pbrain-quintrel: %s\n%s", message.c_str(), USAGE);
    std::exit(EXIT_USAGE);
}

Options parseArguments(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usageError(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::printf("%s\n%s", USAGE, HELP);
            std::exit(0);
        } else if (arg == "--player") {
            o.player = value();
        } else if (arg == "--settings") {
            o.settings = value();
        } else {
            usageError("unknown argument " + arg);
        }
    }
    return o;
}

std::unique_ptr<CPlayer> makePlayer(const CPlayerDatabase& db, const std::string& name) {
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        const PlayerDefinition& d = *db.definition(i);
        if (d.name != name) continue;
        if (d.className() == HumanSettings::CLASS_NAME)
            usageError("\"" + name + "\" is a human player; choose a computer player");
        auto player = db.createPlayer(i);
        if (!player)
            usageError("player \"" + name + "\" of kind " + d.className() +
                       " cannot be created in this build");
        return player;
    }
    std::string names;
    for (const auto& n : db.names(false))
        names += (names.empty() ? "" : ", ") + n;
    usageError("no defined player is named \"" + name + "\" (defined players: " + names + ")");
}

// Lines end with CR LF, LF or CR; empty lines are dropped.
void readInput(std::shared_ptr<pbrain::Inbox> inbox) {
    std::string line;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\r' || c == '\n') {
                if (!line.empty()) inbox->pushLine(std::move(line));
                line.clear();
            } else if (line.size() < MAX_LINE) {
                line += c;
            }
        }
    }
    if (!line.empty()) inbox->pushLine(std::move(line));
    inbox->closeInput();
}

bool writeLine(const std::string& line) {
    const std::string text = line + "\n";
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return false;
    return std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = parseArguments(argc, argv);
    // A manager that went away must not kill us in the middle of a write.
    std::signal(SIGPIPE, SIG_IGN);
    rng::seedWithTime();

    std::string settingsError;
    auto store = openToolStore(o.settings, settingsError);
    if (!store) usageError(settingsError);
    CPlayerDatabase db(*store);
    db.load();
    store->flush();

    auto inbox = std::make_shared<pbrain::Inbox>();
    std::thread(readInput, inbox).detach();
    pbrain::Brain brain(makePlayer(db, o.player), inbox, writeLine);
    brain.run();
    // At once, as the manager asks: a search still running is simply dropped,
    // and the input reader may still be blocked in its read.
    std::fflush(stdout);
    std::_Exit(0);
}
