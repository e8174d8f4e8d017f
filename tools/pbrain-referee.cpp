// pbrain-referee: plays two pbrain programs against each other, so that our
// players can be measured against each other or against other brains under
// the same referee and time limits a Gomoku manager would set.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "pbrain-referee/Referee.h"
#include "players/BrainReport.h"

using namespace quintrel::referee;

namespace {

constexpr int EXIT_USAGE = 2;

const char* const USAGE =
    "usage: pbrain-referee [--games N] [--size N] [--rule R] [--timeout-turn MS] [--timeout-match MS]\n"
    "                      [--opening STONES] [--openings FILE] [--seed S] [--transcript]\n"
    "                      [--record FILE] [--info KEY=VALUE] [--info-a KEY=VALUE] [--info-b KEY=VALUE]\n"
    "                      [--relay-delay MS]\n"
    "                      \"BRAIN-1 [ARGS]\" \"BRAIN-2 [ARGS]\"\n";

const char* const HELP =
    "Plays N games (default 2) between two brains, which take turns to begin, on a\n"
    "board of --size N (5 to 22, default 19) under --rule R: 0 freestyle (five or\n"
    "more wins, the default), 1 standard (exactly five), 4 renju (black wins with\n"
    "exactly five and loses by an overline, a double four or a double three).\n"
    "Each brain is a command line, started anew for every game: split at blanks,\n"
    "with \"...\" or '...' around a word that holds blanks; a leading \"engine:\"\n"
    "is allowed, as in quintrel-match.\n"
    "With --opening, every pair of games starts from the same random position of\n"
    "that many stones near the centre (seeded by --seed), each brain having the\n"
    "first stone once: deterministic players then still meet varied games.\n"
    "--seed without --opening plays such openings of 4 stones.\n"
    "--openings FILE plays each of its lines (\"x,y x,y ...\", 0-based, black first;\n"
    "# starts a comment) twice, colours swapped; N defaults to twice the lines.\n"
    "--record FILE appends every game won by a five to FILE as one line of its\n"
    "stones (opening first, black first, in the format of --openings), for\n"
    "quintrel-tune games; other games as a comment line.\n"
    "--info sends \"INFO KEY VALUE\" to both brains at the start of every game,\n"
    "--info-a to BRAIN-1 only, --info-b to BRAIN-2 only; each may be repeated.\n"
    "--relay-delay passes each command to a brain no sooner than MS (default 10)\n"
    "after its last line, for brains that drop a command arriving at once.\n"
    "A brain loses by an illegal answer, or by no answer within the turn time\n"
    "plus five seconds; answers later than the turn time are counted as late.\n"
    "Ends with\n"
    "  RESULT <brain-1> <wins> <brain-2> <wins> draws <n> games <n>\n"
    "and per brain its moves, mean and longest answer time, late answers and,\n"
    "from the MESSAGE lines that report a search, the number of searches, their\n"
    "mean depth, how many the time limit stopped and the mean speed.\n";

// Without --opening, --seed alone plays this many opening stones.
constexpr int SEEDED_OPENING = 4;

struct Options {
    int games = 2;
    GameOptions game;
    bool transcript = false;
    std::string record; // --record's file, "" when none
    std::optional<int> opening;
    std::vector<std::vector<std::pair<int, int>>> openings; // from --openings
    std::optional<unsigned> seed;
    std::string brains[2];
    std::vector<std::string> info[2]; // "key value" for BRAIN-1 and BRAIN-2
    int relayDelayMs = 10;
};

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "pbrain-referee: %s\n%s", message.c_str(), USAGE);
    std::exit(EXIT_USAGE);
}

long long number(const std::string& text, const std::string& option, long long low,
                 long long high) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || errno != 0 || *end != '\0' || v < low || v > high)
        usageError(option + " wants a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high));
    return v;
}

// "KEY=VALUE" as the "KEY VALUE" of an INFO line.
std::string infoLine(const std::string& text, const std::string& option) {
    const std::size_t eq = text.find('=');
    if (eq == 0 || eq == std::string::npos || text.find_first_of(" \t\r\n") < eq ||
        text.find_first_of("\r\n") != std::string::npos)
        usageError(option + " wants KEY=VALUE, the key without blanks: " + text);
    return text.substr(0, eq) + " " + text.substr(eq + 1);
}

std::vector<std::vector<std::pair<int, int>>> readOpenings(const std::string& path) {
    std::string error;
    auto openings = quintrel::referee::readOpenings(path, quintrel::master::MAX_SIDE, error);
    if (openings.empty()) usageError(error);
    return openings;
}

Options parseArguments(int argc, char** argv) {
    Options o;
    bool gamesGiven = false;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usageError(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::printf("%s\n%s", USAGE, HELP);
            std::exit(0);
        } else if (arg == "--games") {
            o.games = static_cast<int>(number(value(), arg, 1, 100000));
            gamesGiven = true;
        } else if (arg == "--size") {
            o.game.size = static_cast<int>(number(value(), arg, quintrel::master::MIN_SIDE, quintrel::master::MAX_SIDE));
        } else if (arg == "--rule") {
            o.game.rule = number(value(), arg, 0, 4);
            quintrel::master::Rule rule;
            if (!quintrel::master::ruleFromProtocol(o.game.rule, rule))
                usageError("--rule wants 0 (freestyle), 1 (standard) or 4 (renju)");
        } else if (arg == "--timeout-turn") {
            o.game.timeoutTurn = number(value(), arg, 0, 3600000);
        } else if (arg == "--timeout-match") {
            o.game.timeoutMatch = number(value(), arg, 0, 360000000);
        } else if (arg == "--opening") {
            o.opening = static_cast<int>(number(value(), arg, 0, 20));
        } else if (arg == "--openings") {
            o.openings = readOpenings(value());
        } else if (arg == "--seed") {
            o.seed = static_cast<unsigned>(number(value(), arg, 0, 4294967295LL));
        } else if (arg == "--info" || arg == "--info-a" || arg == "--info-b") {
            const std::string line = infoLine(value(), arg);
            if (arg != "--info-b") o.info[0].push_back(line);
            if (arg != "--info-a") o.info[1].push_back(line);
        } else if (arg == "--relay-delay") {
            o.relayDelayMs = static_cast<int>(number(value(), arg, 0, 10000));
        } else if (arg == "--transcript") {
            o.transcript = true;
        } else if (arg == "--record") {
            o.record = value();
        } else if (arg.size() > 1 && arg[0] == '-') {
            usageError("unknown option " + arg);
        } else if (positional < 2) {
            o.brains[positional++] = arg;
        } else {
            usageError("more than two brains: " + arg);
        }
    }
    if (positional < 2) usageError("two brain command lines are needed");
    if (!o.openings.empty() && !gamesGiven) o.games = 2 * static_cast<int>(o.openings.size());
    return o;
}

std::vector<std::string> words(const std::string& commandLine) {
    const bool engine = commandLine.rfind("engine:", 0) == 0;
    return quintrel::splitCommandLine(engine ? commandLine.substr(7) : commandLine);
}

struct Tally {
    int wins = 0;
    int moves = 0;
    long long totalMs = 0;
    long long maxMs = 0;
    int late = 0;
    int searches = 0; // moves whose messages report a search
    long long depthSum = 0;
    int interrupted = 0;
    int speeds = 0;
    long long speedSum = 0;

    void add(const PlayedMove& m, long long timeoutTurn) {
        ++moves;
        totalMs += m.ms;
        maxMs = std::max(maxMs, m.ms);
        if (m.ms > timeoutTurn) ++late;
        // A brain may report several iterations of one search: its last
        // report stands for the move.
        std::optional<quintrel::BrainReport> last;
        for (const auto& text : m.messages)
            if (auto r = quintrel::parseBrainReport(text)) last = r;
        if (!last) return;
        ++searches;
        depthSum += last->depth;
        if (last->stoppedByTime) ++interrupted;
        if (last->speed) {
            ++speeds;
            speedSum += *last->speed;
        }
    }
};

// Distinct fields in the 7 x 7 square around the centre (the whole board when smaller).
std::vector<std::pair<int, int>> randomOpening(std::mt19937& random, int stones, int size) {
    const int centre = size / 2;
    std::uniform_int_distribution<int> near(std::max(0, centre - 3), std::min(size - 1, centre + 3));
    std::vector<std::pair<int, int>> fields;
    while (static_cast<int>(fields.size()) < stones) {
        const std::pair<int, int> f{near(random), near(random)};
        if (std::find(fields.begin(), fields.end(), f) == fields.end()) fields.push_back(f);
    }
    return fields;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = parseArguments(argc, argv);
    Tally tally[2];
    int draws = 0;
    std::mt19937 random(o.seed ? *o.seed : static_cast<unsigned>(std::random_device{}()));
    const int openingStones = o.opening.value_or(o.seed ? SEEDED_OPENING : 0);
    std::FILE* record = o.record.empty() ? nullptr : std::fopen(o.record.c_str(), "a");
    if (!o.record.empty() && !record) usageError("cannot write " + o.record);
    GameOptions options = o.game;
    for (int g = 0; g < o.games; ++g) {
        const int first = g % 2;
        if (first == 0)
            options.opening = !o.openings.empty()
                                  ? o.openings[static_cast<std::size_t>(g / 2) % o.openings.size()]
                                  : randomOpening(random, openingStones, o.game.size);
        options.info[0] = o.info[first];
        options.info[1] = o.info[1 - first];
        BrainProcess a(words(o.brains[first]));
        BrainProcess b(words(o.brains[1 - first]));
        if (!a.started() || !b.started()) usageError("a brain could not be started");
        BrainProcess* brains[2] = {&a, &b};
        for (auto* p : brains)
            p->relayDelay = std::chrono::milliseconds(o.relayDelayMs);
        const GameRecord game = playGame(brains, options);
        for (auto* p : brains) {
            p->send("END");
            p->waitExit(Clock::now() + std::chrono::seconds(2));
        }
        if (o.transcript)
            for (const auto& line : game.transcript)
                std::printf("%s\n", line.c_str());
        for (const auto& m : game.moves)
            tally[m.brain == 0 ? first : 1 - first].add(m, o.game.timeoutTurn);
        const int winner = game.winner < 0 ? -1 : (game.winner == 0 ? first : 1 - first);
        if (winner < 0)
            ++draws;
        else
            ++tally[winner].wins;
        if (record) {
            // A five's game tells its winner by the last stone; another ending does not.
            if (game.reason == "five") {
                for (const auto& [x, y] : game.opening)
                    std::fprintf(record, "%d,%d ", x, y);
                for (const auto& m : game.moves)
                    std::fprintf(record, "%d,%d ", m.x, m.y);
                std::fprintf(record, "# game %d\n", g + 1);
            } else {
                std::fprintf(record, "# game %d: %s\n", g + 1, game.reason.c_str());
            }
            std::fflush(record);
        }
        std::printf("game %d: %s begins; %s (%s) after %zu moves\n", g + 1, o.brains[first].c_str(),
                    winner < 0 ? "draw" : (o.brains[winner] + " wins").c_str(), game.reason.c_str(),
                    game.moves.size());
        std::fflush(stdout);
    }
    if (record && std::fclose(record) != 0) usageError("cannot write " + o.record);
    std::printf("RESULT %s %d %s %d draws %d games %d\n", o.brains[0].c_str(), tally[0].wins,
                o.brains[1].c_str(), tally[1].wins, draws, o.games);
    for (int i = 0; i < 2; ++i) {
        const Tally& t = tally[i];
        std::printf(
            "%s: moves %d, mean %lld ms, longest %lld ms, late %d, searches %d, mean depth %.1f, "
            "stopped by time %d, mean speed %lld pos/s\n",
            o.brains[i].c_str(), t.moves, t.moves ? t.totalMs / t.moves : 0, t.maxMs, t.late,
            t.searches, t.searches ? static_cast<double>(t.depthSum) / t.searches : 0.0,
            t.interrupted, t.speeds ? t.speedSum / t.speeds : 0);
    }
    return 0;
}
