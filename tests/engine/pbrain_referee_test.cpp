// pbrain-referee against scripted stand-in brains: the extra INFO lines, the
// pause before each command, the search reports of other brains' MESSAGE
// forms, the openings that --seed alone varies, and fives judged by the rule.

#include "../../tools/pbrain-referee/Referee.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A brain that plays along one row (x,ROW for x = 0, 1, ...), logs every line
// it reads to LOG and sends REPORT ('_' for blanks) as MESSAGE. With DROP
// set it loses whatever arrives within 50 ms of its answers.
const char* const ROW_BRAIN = R"(#!/bin/bash
n=0
answer() {
  echo "$1"
  if [ -n "$DROP" ]; then while read -t 0.05 -r junk; do :; done; fi
}
while IFS= read -r line; do
  line=${line%$'\r'}
  echo "$line" >> "$LOG"
  case "$line" in
    START*) answer OK ;;
    BEGIN|TURN*|DONE) echo "MESSAGE ${REPORT//_/ }"; answer "$n,$ROW"; n=$((n+1)) ;;
    END) exit 0 ;;
  esac
done
)";

class Referee : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("referee-test-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "row-brain") << ROW_BRAIN;
        chmod((dir / "row-brain").c_str(), 0755);
    }
    void TearDown() override { fs::remove_all(dir); }

    // The command line of a row brain; its log is dir/NAME.log.
    std::string brain(const std::string& name, int row, const std::string& report,
                      bool drop = false) const {
        return "env LOG=" + (dir / (name + ".log")).string() + " ROW=" + std::to_string(row) +
               " REPORT=" + report + (drop ? " DROP=1 " : " ") + (dir / "row-brain").string();
    }
    std::string log(const std::string& name) const {
        std::ifstream in(dir / (name + ".log"));
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The referee's whole output.
    static std::string run(const std::string& args) {
        FILE* p = popen((std::string(PBRAIN_REFEREE) + " " + args + " 2>&1").c_str(), "r");
        std::string out;
        char chunk[4096];
        for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, p)) > 0;)
            out.append(chunk, n);
        pclose(p);
        return out;
    }

    fs::path dir;
};

} // namespace

TEST_F(Referee, InfoLinesRelayDelayAndOtherBrainsReports) {
    // A brain that drops what comes at once still hears every INFO line.
    const std::string out =
        run("--games 2 --relay-delay 120 --info level=3 --info-a name=first --info-b name=second "
            "\"" + brain("a", 0, "depth=6", true) + "\" \"" +
            brain("b", 18, "Depth_12-20_|_Eval_3_|_Speed_8K") + "\"");
    SCOPED_TRACE(out);
    EXPECT_NE(out.find("draws 0 games 2"), std::string::npos);
    for (const auto& [name, own, other] :
         {std::tuple{"a", "INFO name first", "INFO name second"},
          std::tuple{"b", "INFO name second", "INFO name first"}}) {
        const std::string lines = log(name);
        SCOPED_TRACE(lines);
        EXPECT_NE(lines.find("INFO timeout_turn 1000"), std::string::npos);
        EXPECT_NE(lines.find("INFO level 3"), std::string::npos);
        EXPECT_NE(lines.find(own), std::string::npos);
        EXPECT_EQ(lines.find(other), std::string::npos);
    }
    // Every move of both carried a report: depth 6 for a, 12 at 8000 pos/s for b.
    std::istringstream lines(out);
    int tallies = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find("row-brain: moves ");
        if (at == std::string::npos) continue;
        int moves = 0, searches = 0;
        double depth = 0;
        long long speed = -1;
        ASSERT_EQ(std::sscanf(line.c_str() + at,
                              "row-brain: moves %d, mean %*d ms, longest %*d ms, late %*d, searches "
                              "%d, mean depth %lf, stopped by time %*d, mean speed %lld pos/s",
                              &moves, &searches, &depth, &speed),
                  4)
            << line;
        EXPECT_EQ(moves, searches);
        EXPECT_EQ(depth, tallies == 0 ? 6.0 : 12.0);
        EXPECT_EQ(speed, tallies == 0 ? 0 : 8000);
        ++tallies;
    }
    EXPECT_EQ(tallies, 2);
}

TEST_F(Referee, SeedAloneVariesTheOpenings) {
    auto boards = [&](const std::string& seed) {
        const std::string out = run("--games 2 --transcript --seed " + seed + " \"" +
                                    brain("a", 0, "x") + "\" \"" + brain("b", 18, "x") + "\"");
        std::string stones;
        std::istringstream lines(out);
        int x, y, who;
        for (std::string line; std::getline(lines, line);)
            if (std::sscanf(line.c_str(), "A> %d,%d,%d", &x, &y, &who) == 3) stones += line + " ";
        return stones;
    };
    const std::string one = boards("1");
    EXPECT_FALSE(one.empty());
    EXPECT_EQ(boards("1"), one);
    EXPECT_NE(boards("2"), one);
}

// Black plays along row 0 beside its opening stone at 5,0, white along row 1:
// black's fifth stone makes six. It wins under freestyle, is no win under
// standard (white's next five wins), and loses as an overline under renju.
TEST_F(Referee, SixIsJudgedByTheRule) {
    struct Case {
        long long rule;
        int winner;
        const char* reason;
        std::size_t moves;
    };
    for (const Case& c : {Case{0, 0, "five", 9}, Case{1, 1, "five", 10}, Case{4, 1, "forbidden to black (overline)", 9}}) {
        quintrel::referee::BrainProcess black({"/bin/sh", "-c", brain("black", 0, "x")});
        quintrel::referee::BrainProcess white({"/bin/sh", "-c", brain("white", 1, "x")});
        quintrel::referee::BrainProcess* brains[2] = {&black, &white};
        quintrel::referee::GameOptions o;
        o.size = 15;
        o.rule = c.rule;
        o.opening = {{5, 0}, {10, 10}};
        const auto game = quintrel::referee::playGame(brains, o);
        EXPECT_EQ(game.winner, c.winner) << "rule " << c.rule;
        EXPECT_NE(game.reason.find(c.reason), std::string::npos) << "rule " << c.rule << ": " << game.reason;
        EXPECT_EQ(game.moves.size(), c.moves) << "rule " << c.rule;
        EXPECT_EQ(game.transcript.at(0), "A> START 15");
        for (auto* b : brains)
            b->send("END");
    }
}

// Each line of an openings file starts two games, colours swapped; the
// number of games follows the file.
TEST_F(Referee, OpeningsFilePlaysEachLineTwice) {
    std::ofstream(dir / "openings.txt") << "# two openings\n9,9 10,10 3,3  # eval 0\n\n4,5 6,7 8,9 6,7\n";
    const std::string out = run("--transcript --record " + (dir / "record.txt").string() + " --openings " +
                                (dir / "openings.txt").string() + " \"" + brain("a", 0, "x") + "\" \"" +
                                brain("b", 18, "x") + "\"");
    EXPECT_NE(out.find("games 4"), std::string::npos) << out;
    // The record holds each game won by a five, from its opening as placed on
    // (the repeated point left out).
    std::ifstream record(dir / "record.txt");
    int games = 0;
    for (std::string line; std::getline(record, line); ++games) {
        EXPECT_EQ(line.rfind(games < 2 ? "9,9 10,10 3,3 " : "4,5 6,7 8,9 ", 0), 0u) << line;
        EXPECT_NE(line.find("# game " + std::to_string(games + 1)), std::string::npos) << line;
        std::istringstream points(line.substr(0, line.find('#')));
        std::vector<std::string> seen;
        for (std::string p; points >> p; seen.push_back(p))
            EXPECT_EQ(std::find(seen.begin(), seen.end(), p), seen.end()) << line;
    }
    EXPECT_EQ(games, 4);
    std::vector<std::string> firstStones;
    std::istringstream lines(out);
    int x, y, who;
    std::string previous;
    for (std::string line; std::getline(lines, line); previous = line)
        if (previous == "B> BOARD" && std::sscanf(line.c_str(), "B> %d,%d,%d", &x, &y, &who) == 3)
            firstStones.push_back(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(who));
    // White moves first after three stones: it holds one, the other brain two.
    EXPECT_EQ(firstStones, (std::vector<std::string>{"9,9,2", "9,9,2", "4,5,2", "4,5,2"})) << out;
    EXPECT_NE(run("--openings " + (dir / "none.txt").string() + " x y").find("cannot read"), std::string::npos);
}

TEST_F(Referee, BadInfoArgumentsAreRefused) {
    for (const char* bad : {"--info level", "--info =3", "--info \"a b=3\"", "--relay-delay -1", "--rule 3", "--size 4"})
        EXPECT_NE(run(std::string(bad) + " x y").find("usage:"), std::string::npos) << bad;
}
