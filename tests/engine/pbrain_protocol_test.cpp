// pbrain-quintrel as a manager meets it: a child process behind two pipes.
// Every command and its error answers, the position kept on every error, the
// time limits kept through the player's own stop, and a whole game of the
// brain against itself under the referee.

#include "../../tools/pbrain-referee/Referee.h"

#include "app/RegistryKey.h"
#include "app/SafeFile.h"
#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "players/TreeSettings.h"
#include "ui/store/QSettingsStore.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

using namespace quintrel;
using namespace quintrel::referee;
using namespace std::chrono_literals;

namespace {

// A settings file whose AlphaBeta searches to the given depth.
std::string settingsWithAlphaBetaDepth(unsigned depth) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("pbrain-test-" + std::to_string(getpid()) + "-" + std::to_string(depth) + ".ini");
    std::filesystem::remove(path);
    QSettingsStore store(QString::fromStdString(path.string()));
    CPlayerDatabase db(store);
    db.load();
    TreeSettings s = TreeSettings::alphaBetaDefaults();
    s.maxDepth = depth;
    EXPECT_TRUE(db.definition(PlayerKindCatalogue::ALPHABETA)
                    ->adoptSettings(s.toBlock(TreeSettings::ALPHABETA_CLASS)));
    EXPECT_TRUE(db.save());
    store.flush();
    return path.string();
}

class Brain {
public:
    explicit Brain(std::vector<std::string> args) : process_(withProgram(std::move(args))) {}

    // The answer to one command, or "<none>" when none came in time.
    std::string ask(const std::string& line, std::chrono::milliseconds wait = 10s) {
        process_.send(line);
        return answer(wait);
    }
    std::string answer(std::chrono::milliseconds wait = 10s) {
        return process_.readAnswer(Clock::now() + wait).value_or("<none>");
    }
    void tell(const std::string& line) { process_.send(line); }
    BrainProcess& process() { return process_; }

private:
    static std::vector<std::string> withProgram(std::vector<std::string> args) {
        args.insert(args.begin(), PBRAIN_QUINTREL);
        return args;
    }
    BrainProcess process_;
};

bool isMove(const std::string& answer) {
    return parseMove(answer).has_value();
}

long long msSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// A middle-game position with both sides' threats, sent as a BOARD block.
void sendMiddleGame(Brain& b) {
    b.tell("BOARD");
    for (const char* line : {"9,9,1", "10,10,2", "10,9,1", "8,9,2", "11,8,1", "12,7,2", "9,10,1",
                             "9,8,2", "8,10,1", "7,11,2", "10,11,1", "11,12,2"})
        b.tell(line);
}

} // namespace

TEST(PbrainProtocol, EveryCommandAndItsErrorAnswers) {
    Brain b({"--player", "Light"});
    ASSERT_TRUE(b.process().started());

    const std::string about = b.ask("ABOUT");
    EXPECT_EQ(about.rfind("name=\"Quintrel++\"", 0), 0u) << about;
    for (const char* key : {"version=\"", "author=\"", "country=\""})
        EXPECT_NE(about.find(key), std::string::npos);

    // Nothing is played before a game starts, and Light plays only the 19 x 19 board.
    EXPECT_EQ(b.ask("TURN 1,1").rfind("ERROR", 0), 0u);
    EXPECT_EQ(b.ask("START 20"), "ERROR Light plays only the 19 x 19 freestyle board");
    EXPECT_EQ(b.ask("START"), "ERROR unsupported size");
    EXPECT_EQ(b.ask("START 23"), "ERROR unsupported size");
    EXPECT_EQ(b.ask("RECTSTART 20,15").rfind("ERROR", 0), 0u);
    EXPECT_EQ(b.ask("RECTSTART 19,19"), "OK");
    EXPECT_EQ(b.ask("start 19"), "OK"); // commands in any case

    // TURN places the opponent's stone and answers ours; faults change nothing.
    const std::string first = b.ask("turn 9,9");
    ASSERT_TRUE(isMove(first)) << first;
    EXPECT_NE(first, "9,9");
    EXPECT_EQ(b.ask("TURN 9,9"), "ERROR field 9,9 is occupied");
    EXPECT_EQ(b.ask("TURN " + first), "ERROR field " + first + " is occupied");
    EXPECT_EQ(b.ask("TURN 19,3"), "ERROR field 19,3 is off the board (0..18)");
    EXPECT_EQ(b.ask("TURN -1,3").rfind("ERROR field -1,3 is off the board", 0), 0u);
    for (const char* bad :
         {"TURN 3", "TURN 3,4,5", "TURN x,y", "TURN 3;4", "TURN", "TURN 99999999999999999999,4"})
        EXPECT_EQ(b.ask(bad).rfind("ERROR malformed coordinates", 0), 0u) << bad;
    const std::string second = b.ask("TURN 3,4"); // 3,4 was left empty by "3,4,5"
    ASSERT_TRUE(isMove(second)) << second;
    EXPECT_EQ(b.ask("BEGIN"), "ERROR BEGIN needs an empty board");

    // TAKEBACK removes any stone.
    EXPECT_EQ(b.ask("TAKEBACK 3,4"), "OK");
    EXPECT_EQ(b.ask("TAKEBACK 3,4"), "ERROR field 3,4 is empty");
    EXPECT_EQ(b.ask("TAKEBACK 3,40").rfind("ERROR", 0), 0u);
    EXPECT_EQ(b.ask("TAKEBACK three").rfind("ERROR malformed", 0), 0u);
    EXPECT_TRUE(isMove(b.ask("TURN 3,4")));

    // A rule we do not play refuses the next move, placing nothing; so
    // does one that only Master plays.
    b.tell("INFO rule 8");
    EXPECT_NE(b.ask("TURN 0,0").find("rule 8 is not played"), std::string::npos);
    b.tell("INFO rule 4");
    EXPECT_EQ(b.ask("TURN 0,0"), "ERROR Light plays only the 19 x 19 freestyle board");
    b.tell("INFO RULE 0");
    const std::string corner = b.ask("TURN 0,0");
    EXPECT_TRUE(isMove(corner)) << corner;

    // INFO is never answered, whatever its key or value; unknown commands are.
    for (const char* info :
         {"INFO max_memory 83886080", "INFO game_type 1", "INFO folder /tmp/x", "INFO evaluate 3,3",
          "INFO no_such_key 5", "INFO timeout_turn many", "INFO"})
        b.tell(info);
    b.tell("yxstop"); // nothing to stop: no answer either
    EXPECT_EQ(b.ask("ABOUT"), about);
    EXPECT_EQ(b.ask("FOO bar"), "UNKNOWN command FOO is not supported");
    EXPECT_EQ(b.ask("yxshowforbid"), "FORBID ."); // no renju, nothing forbidden
    EXPECT_EQ(b.ask(std::string(10000, 'Z')).rfind("UNKNOWN", 0), 0u);
    EXPECT_EQ(b.ask(std::string("TURN 1\0,1", 9)).rfind("ERROR malformed", 0), 0u);
    EXPECT_EQ(b.ask("DONE").rfind("UNKNOWN", 0), 0u);

    // A faulty BOARD block is refused as a whole and the old position stays.
    for (const auto& block : std::vector<std::vector<std::string>>{
             {"5,5,1", "5,5,2"}, {"5,5,3"}, {"5,5"}, {"5,19,1"}, {"5,5,1", "bogus"}}) {
        b.tell("BOARD");
        for (const auto& line : block)
            b.tell(line);
        EXPECT_EQ(b.ask("DONE").rfind("ERROR", 0), 0u);
    }
    EXPECT_EQ(b.ask("TURN 0,0"), "ERROR field 0,0 is occupied");

    // A good block replaces the position; lines in any order, any line ending.
    b.tell("BOARD");
    b.process().sendRaw("10,10,2\r9,10,2\n9,9,1\r\n");
    const std::string fromBoard = b.ask("done");
    ASSERT_TRUE(isMove(fromBoard)) << fromBoard;
    EXPECT_EQ(std::set<std::string>({"9,9", "9,10", "10,10"}).count(fromBoard), 0u);
    EXPECT_EQ(b.ask("TURN 10,10"), "ERROR field 10,10 is occupied");
    EXPECT_TRUE(isMove(b.ask("TURN 0,0"))); // the old position is gone

    // RESTART empties the board; CR alone ends a line too.
    b.process().sendRaw("RESTART\r");
    EXPECT_EQ(b.answer(), "OK");
    b.process().sendRaw("BEGIN\n");
    EXPECT_TRUE(isMove(b.answer()));

    b.tell("END");
    EXPECT_EQ(b.process().waitExit(Clock::now() + 2s), 0);
}

// Master plays every board and rule; under renju black's fouls are listed
// and refused, and a refused command leaves the position as it was.
TEST(PbrainProtocol, MasterPlaysEveryBoardAndRenjuFoulsAreRefused) {
    Brain b({"--player", "Master"});
    b.tell("INFO timeout_turn 200");
    for (const char* start : {"START 15", "START 5", "START 22", "RECTSTART 20,15"}) {
        ASSERT_EQ(b.ask(start), "OK") << start;
        for (const char* rule : {"0", "1", "2", "4"}) {
            b.tell(std::string("INFO rule ") + rule);
            const std::string answer = b.ask("BEGIN");
            EXPECT_TRUE(isMove(answer)) << start << " rule " << rule << ": " << answer;
            b.ask("RESTART");
        }
    }
    EXPECT_EQ(b.ask("START 15"), "OK");
    EXPECT_EQ(b.ask("TURN 15,3"), "ERROR field 15,3 is off the board (0..14)");
    b.tell("INFO rule 4");
    // Black has two open twos crossing at 7,7: a double three there. With
    // as many stones each, black is to move, and is us (1).
    const std::vector<std::string> black = {"5,7", "6,7", "7,5", "7,6"}, white = {"0,0", "14,14", "0,14", "14,0"};
    b.tell("YXBOARD");
    for (std::size_t i = 0; i < black.size(); ++i) {
        b.tell(black[i] + ",1");
        b.tell(white[i] + ",2");
    }
    b.tell("DONE");
    EXPECT_EQ(b.ask("YXSHOWFORBID"), "FORBID 0707.");
    // The same with black the opponent, a stone ahead: its foul is refused and places nothing.
    b.tell("YXBOARD");
    for (std::size_t i = 0; i < black.size(); ++i) {
        b.tell(black[i] + ",2");
        b.tell(white[i] + ",1");
    }
    b.tell("0,7,2");
    b.tell("DONE");
    EXPECT_EQ(b.ask("YXSHOWFORBID"), "FORBID ."); // white to move
    EXPECT_EQ(b.ask("TURN 7,7"), "ERROR field 7,7 is forbidden to black (double three)");
    const std::string answer = b.ask("TURN 8,8");
    ASSERT_TRUE(isMove(answer)) << answer;
    EXPECT_EQ(b.ask("TURN " + answer), "ERROR field " + answer + " is occupied");
    // A BOARD block whose black stones make a foul in their order is refused whole.
    b.tell("BOARD");
    for (const char* line : {"5,7,1", "0,0,2", "6,7,1", "14,14,2", "7,5,1", "0,14,2", "7,6,1", "14,0,2", "7,7,1"})
        b.tell(line);
    EXPECT_EQ(b.ask("DONE"), "ERROR field 7,7 is forbidden to black (double three)");
    EXPECT_EQ(b.ask("TURN 8,8"), "ERROR field 8,8 is occupied");
    b.tell("END");
    EXPECT_EQ(b.process().waitExit(Clock::now() + 2s), 0);
}

// YXNBEST: the best moves as messages, the first of them answered, the
// position kept; with show_detail each iteration is told while Master thinks.
TEST(PbrainProtocol, MasterTellsItsBestMovesAndItsIterations) {
    Brain b({"--player", "Master"});
    b.tell("INFO timeout_turn 300");
    ASSERT_EQ(b.ask("START 15"), "OK");
    EXPECT_EQ(b.ask("YXNBEST 0"), "ERROR YXNBEST needs the number of moves, 1 to 10");
    b.tell("YXBOARD");
    for (const char* line : {"7,7,1", "8,8,2", "8,7,1", "6,7,2"}) b.tell(line);
    b.tell("DONE");
    b.tell("INFO show_detail 1");
    const std::string best = b.ask("YXNBEST 3");
    ASSERT_TRUE(isMove(best)) << best;
    std::vector<std::string> nbest, iterations;
    for (const auto& m : b.process().messages)
        (m.rfind("MESSAGE NBEST ", 0) == 0 ? nbest : iterations).push_back(m);
    ASSERT_EQ(nbest.size(), 3u);
    EXPECT_EQ(nbest[0].rfind("MESSAGE NBEST 1 " + best + " ", 0), 0u) << nbest[0];
    EXPECT_NE(nbest[0].find(" pv " + best), std::string::npos) << nbest[0];
    ASSERT_FALSE(iterations.empty());
    for (const auto& m : iterations) {
        int depth = 0, x = -1, y = -1;
        unsigned long long nodes = 0;
        char sign = 0;
        EXPECT_EQ(std::sscanf(m.c_str(), "MESSAGE depth %d nodes %llu best %d,%d %c", &depth, &nodes, &x, &y, &sign), 5)
            << m;
    }
    b.process().messages.clear();
    // Nothing was placed: the answer is still a free field to play.
    EXPECT_TRUE(isMove(b.ask("TURN " + best)));
    EXPECT_FALSE(b.process().messages.empty()) << "iterations told while thinking on a turn";
    Brain light({"--player", "Light"});
    ASSERT_EQ(light.ask("START 19"), "OK");
    EXPECT_EQ(light.ask("YXNBEST 2"), "ERROR CLightPlayer gives no best moves; Master does");
}

// Random sessions: sizes, rules, moves, takebacks, blocks and garbage. The
// test keeps its own copy of the position and every answer must fit it, so
// a refused command that changed the brain's position shows in a later one.
TEST(PbrainFuzz, RandomSessionsKeepThePositionOnEveryError) {
    Brain b({"--player", "Master"});
    b.tell("INFO timeout_turn 30");
    std::mt19937 random(11);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    master::Setup model; // toMove: our colour
    model.width = 0;
    long long rule = 0;
    auto at = [&](int x, int y) {
        return std::find_if(model.stones.begin(), model.stones.end(),
                            [&](const master::Stone& s) { return s.at == master::Point{x, y}; });
    };
    auto judge = [&](int x, int y, int side) {
        master::Setup s = model;
        s.toMove = side;
        return master::isFoul(master::judgeMove(s, {x, y}));
    };
    auto play = [&](const std::string& answer) { // our move, checked against the model
        const auto m = parseMove(answer, model.width);
        ASSERT_TRUE(m && at(m->first, m->second) == model.stones.end() && !judge(m->first, m->second, model.toMove))
            << answer;
        model.stones.push_back({{m->first, m->second}, model.toMove});
    };
    int answered = 0;
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int n = model.width, x = pick(n + 4) - 2, y = pick(n + 4) - 2;
        const std::string xy = std::to_string(x) + "," + std::to_string(y);
        const bool free = x >= 0 && y >= 0 && x < n && y < n && at(x, y) == model.stones.end();
        const bool playable = master::ruleFromProtocol(rule, model.rule);
        const int what = n ? pick(10) : 0;
        if (what == 0) {
            const int size = pick(22) + 3;
            const std::string answer = b.ask("START " + std::to_string(size));
            ASSERT_EQ(answer, size < 5 || size > 22 ? "ERROR unsupported size" : "OK");
            if (answer == "OK") model = master::Setup{size, size, model.rule, {}, 0};
        } else if (what == 1) {
            rule = std::vector<long long>{0, 1, 2, 4, 8, 3}[static_cast<std::size_t>(pick(6))];
            b.tell("INFO rule " + std::to_string(rule));
        } else if (what <= 5) {
            const int theirs = model.stones.empty() ? 0 : 1 - model.toMove;
            const bool refused = !free || !playable || judge(x, y, theirs) ||
                                 static_cast<int>(model.stones.size()) + 1 >= n * n;
            const std::string answer = b.ask("TURN " + xy);
            if (refused) {
                EXPECT_EQ(answer.rfind("ERROR", 0), 0u) << "TURN " << xy << ": " << answer;
                continue;
            }
            model.stones.push_back({{x, y}, theirs});
            model.toMove = 1 - theirs;
            play(answer);
            ++answered;
        } else if (what == 6) {
            const auto stone = at(x, y);
            const std::string answer = b.ask("TAKEBACK " + xy);
            ASSERT_EQ(answer.substr(0, 2), stone == model.stones.end() ? "ER" : "OK") << "TAKEBACK " << xy;
            if (stone != model.stones.end()) model.stones.erase(stone);
        } else if (what == 7) {
            // The position so far in its order and one more line, good or bad. With
            // more of the opponent's stones than ours, the opponent is black.
            const int who = pick(3) + 1;
            b.tell("BOARD");
            int own = who == 1;
            for (const auto& s : model.stones) {
                b.tell(std::to_string(s.at.x) + "," + std::to_string(s.at.y) + "," + (s.side == model.toMove ? "1" : "2"));
                own += s.side == model.toMove;
            }
            b.tell(xy + "," + std::to_string(who));
            const std::string answer = b.ask("DONE");
            if (answer.rfind("ERROR", 0) == 0) continue;
            ASSERT_TRUE(free && who < 3 && playable) << "BOARD with " << xy << ": " << answer;
            model.stones.push_back({{x, y}, who == 1 ? model.toMove : 1 - model.toMove});
            const int ours = static_cast<int>(model.stones.size()) - own > own ? 1 : 0;
            if (ours != model.toMove)
                for (auto& s : model.stones)
                    s.side = 1 - s.side;
            model.toMove = ours;
            play(answer);
            ++answered;
        } else if (what == 8) {
            const std::string garbage[] = {"TURN " + xy + ",1", "TAKEBACK", "START x", "\x01\x02", "TURN ,"};
            const std::string answer = b.ask(garbage[pick(5)]);
            EXPECT_TRUE(answer.rfind("ERROR", 0) == 0 || answer.rfind("UNKNOWN", 0) == 0) << answer;
        } else {
            std::string forbid = "FORBID ";
            const auto black = std::count_if(model.stones.begin(), model.stones.end(),
                                             [](const master::Stone& s) { return s.side == 0; });
            master::Setup blackToMove = model;
            blackToMove.toMove = 0;
            if (2 * black == static_cast<long>(model.stones.size()))
                for (const auto& p : master::forbiddenPoints(blackToMove)) {
                    char pair[8];
                    std::snprintf(pair, sizeof pair, "%02d%02d", p.x, p.y);
                    forbid += pair;
                }
            EXPECT_EQ(b.ask("YXSHOWFORBID"), forbid + ".");
        }
    }
    EXPECT_GT(answered, 100); // the sessions do reach the search
    b.tell("END");
    EXPECT_EQ(b.process().waitExit(Clock::now() + 2s), 0);
}

TEST(PbrainProtocol, EndOfInputEndsTheBrainAfterItsLastAnswer) {
    Brain b({"--player", "AlphaBeta"});
    b.process().sendRaw("START 19\nBEGIN\n");
    b.process().closeInput();
    EXPECT_EQ(b.answer(), "OK");
    EXPECT_TRUE(isMove(b.answer()));
    EXPECT_EQ(b.process().waitExit(Clock::now() + 5s), 0);
}

TEST(PbrainProtocol, CommandLineFaultsAreReported) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--player", "Nobody"},
                                                 {"--player", "Human"},
                                                 {"--bogus"},
                                                 {"--player"}}) {
        Brain b(args);
        EXPECT_EQ(b.process().waitExit(Clock::now() + 5s), 2);
    }
}

// Users point the brain at the game's own settings: it reads them and never
// writes them back, repaired or not, and refuses a path that is no file.
TEST(PbrainProtocol, SettingsAreReadAndNeverWritten) {
    const std::string settings = settingsWithAlphaBetaDepth(3);
    {
        QSettingsStore store(QString::fromStdString(settings));
        CRegistryKey(store, KEY_PLAYERS).writeText("Player04_Class", "CMiniMaxPlayr");
    }
    const auto before = readRegularFile(settings, SIZE_MAX);
    {
        Brain b({"--settings", settings});
        EXPECT_EQ(b.ask("START 19"), "OK");
        b.tell("END");
        EXPECT_EQ(b.process().waitExit(Clock::now() + 5s), 0);
    }
    EXPECT_EQ(readRegularFile(settings, SIZE_MAX).bytes, before.bytes);
    EXPECT_FALSE(std::filesystem::exists(settings + ".damaged"));
    std::filesystem::remove(settings);

    for (const std::string& path : {std::filesystem::temp_directory_path().string(), std::string("/dev/null")}) {
        Brain b({"--settings", path});
        EXPECT_EQ(b.process().waitExit(Clock::now() + 5s), 2) << path;
    }
}

TEST(PbrainTime, SearchIsStoppedWithinTheTurnTimeAndOnYxstop) {
    const std::string settings = settingsWithAlphaBetaDepth(8);
    Brain b({"--settings", settings, "--player", "AlphaBeta"});
    ASSERT_EQ(b.ask("START 19"), "OK");
    std::filesystem::remove(settings); // read at start-up

    for (long long limit : {200LL, 1000LL}) {
        b.tell("INFO timeout_turn " + std::to_string(limit));
        sendMiddleGame(b);
        b.process().messages.clear();
        const auto sent = Clock::now();
        const std::string move = b.ask("DONE");
        const long long ms = msSince(sent);
        EXPECT_TRUE(isMove(move)) << move;
        EXPECT_LE(ms, limit * 11 / 10) << "timeout_turn " << limit;
        EXPECT_GE(ms, limit / 2) << "the search should use its time";
        // Stopped through its interrupt; on a machine too busy for that to
        // unwind in time, the brain says it played without the search.
        ASSERT_EQ(b.process().messages.size(), 1u);
        const std::string& note = b.process().messages[0];
        EXPECT_TRUE(note.find("Interrupted...") != std::string::npos ||
                    note.find("did not stop in time") != std::string::npos)
            << note;
    }

    // A share of the match time left bounds the move too.
    b.tell("INFO timeout_turn 30000");
    b.tell("INFO timeout_match 100000");
    b.tell("INFO time_left 2400");
    sendMiddleGame(b);
    auto sent = Clock::now();
    EXPECT_TRUE(isMove(b.ask("DONE")));
    EXPECT_LE(msSince(sent), 2400 / 12 * 11 / 10);

    // yxstop plays the best move found so far, now; other commands sent
    // meanwhile wait for the move.
    b.tell("INFO timeout_match 0");
    sendMiddleGame(b);
    b.tell("DONE");
    std::this_thread::sleep_for(300ms);
    b.tell("ABOUT");
    b.process().messages.clear();
    sent = Clock::now();
    const std::string stopped = b.ask("yxstop", 5s);
    EXPECT_TRUE(isMove(stopped)) << stopped;
    EXPECT_LE(msSince(sent), 200);
    ASSERT_EQ(b.process().messages.size(), 1u);
    EXPECT_NE(b.process().messages[0].find("Interrupted..."), std::string::npos)
        << b.process().messages[0];
    EXPECT_EQ(b.answer().rfind("name=\"Quintrel++\"", 0), 0u);

    // timeout_turn 0: as fast as it can.
    b.tell("INFO timeout_turn 0");
    sendMiddleGame(b);
    sent = Clock::now();
    EXPECT_TRUE(isMove(b.ask("DONE")));
    EXPECT_LE(msSince(sent), 100);

    // END while thinking ends the brain at once.
    b.tell("INFO timeout_turn 60000");
    sendMiddleGame(b);
    b.tell("DONE");
    std::this_thread::sleep_for(100ms);
    sent = Clock::now();
    b.tell("END");
    EXPECT_EQ(b.process().waitExit(Clock::now() + 2s), 0);
    EXPECT_LE(msSince(sent), 500);
}

TEST(PbrainGame, WholeGameAgainstItselfThroughTheReferee) {
    // Far more than the default AlphaBeta needs, even under a sanitizer: every
    // move carries its own statistics.
    constexpr long long TURN_MS = 3000;
    Brain a({"--player", "AlphaBeta"});
    Brain b({"--player", "AlphaBeta"});
    BrainProcess* brains[2] = {&a.process(), &b.process()};
    GameOptions options;
    options.timeoutTurn = TURN_MS;
    const GameRecord game = playGame(brains, options);

    std::string transcript;
    for (const auto& line : game.transcript)
        transcript += line + "\n";
    SCOPED_TRACE(transcript);
    EXPECT_TRUE(game.reason == "five" || game.reason == "full board") << game.reason;
    ASSERT_GE(game.moves.size(), 9u); // five for the winner needs at least nine stones
    EXPECT_EQ(game.winner >= 0, game.reason == "five");
    if (game.winner >= 0) {
        EXPECT_EQ(game.moves.back().brain, game.winner);
    }

    // The transcript: START and the limits to both, then BEGIN and TURNs alternating.
    EXPECT_EQ(game.transcript.at(0), "A> START 19");
    EXPECT_EQ(game.transcript.at(1), "A< OK");
    int turns = 0;
    for (const auto& line : game.transcript)
        turns += line.find("> TURN ") != std::string::npos;
    EXPECT_EQ(turns, static_cast<int>(game.moves.size()) - 1);

    // Every move answered in time with its statistics line: the columns and a remark.
    int lastScore = 0;
    for (std::size_t i = 0; i < game.moves.size(); ++i) {
        const PlayedMove& m = game.moves[i];
        EXPECT_EQ(m.brain, static_cast<int>(i % 2));
        EXPECT_LE(m.ms, TURN_MS * 11 / 10) << "move " << i + 1;
        ASSERT_EQ(m.messages.size(), 1u) << "move " << i + 1;
        unsigned long seen = 0, time = 0, speed = 0, branch = 0, depth = 0, breaks = 0, saved = 0;
        EXPECT_EQ(std::sscanf(m.messages[0].c_str(), "MESSAGE %lu %lu %lu %lu %lu %lu %lu %d",
                              &seen, &time, &speed, &branch, &depth, &breaks, &saved, &lastScore),
                  8)
            << m.messages[0];
        EXPECT_GE(seen, 1u);
    }
    // The winner's last search saw the win coming.
    if (game.winner >= 0) {
        EXPECT_GT(lastScore, 800);
        EXPECT_NE(game.moves.back().messages[0].find("Probably winning"), std::string::npos);
    }

    for (auto* p : brains) {
        p->send("END");
        EXPECT_EQ(p->waitExit(Clock::now() + 2s), 0);
    }
}
