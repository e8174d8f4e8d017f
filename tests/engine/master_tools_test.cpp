// Master in the headless tools: quintrel-match's --turn-ms for one run, and
// pbrain-quintrel, whose default player it is, answering inside the turn
// time with its statistics line.

#include "../../tools/pbrain-referee/Referee.h"

#include "app/OptionValues.h"
#include "players/MasterSettings.h"
#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "ui/store/QSettingsStore.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace quintrel;
using namespace quintrel::referee;
using namespace std::chrono_literals;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string output;
};

ToolRun runTool(const char* tool, const std::string& args) {
    ToolRun r;
    FILE* pipe = popen((std::string(tool) + " " + args + " 2>&1").c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe))
        r.output += buffer;
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(MasterTools, MatchTurnTimeHoldsForTheRunAndLeavesTheSettingsAlone) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("master-tools-" + std::to_string(getpid()) + ".ini");
    std::filesystem::remove(path);
    {
        QSettingsStore store(QString::fromStdString(path.string()));
        CPlayerDatabase db(store);
        db.load();
        OptionValues options; // the file holds all a run reads
        options.load(store);
        store.flush();
    }
    const std::string before = fileText(path);
    ASSERT_NE(before.find("CMasterPlayer"), std::string::npos);

    const ToolRun run = runTool(QUINTREL_MATCH, "--games 2 --swap --seed 7 --turn-ms 100 --settings " + path.string() +
                             " Master Light");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("RESULT Master "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(" Light "), std::string::npos);
    EXPECT_EQ(fileText(path), before);
    std::filesystem::remove(path);

    for (const char* bad : {"0", "3600001", "fast"})
        EXPECT_EQ(runTool(QUINTREL_MATCH, std::string("--turn-ms ") + bad + " Master Light").exitCode, 2) << bad;
}

TEST(MasterTools, BrainPlaysMasterByDefaultWithinTheTurnTime) {
    BrainProcess brain({PBRAIN_QUINTREL});
    ASSERT_TRUE(brain.started());
    brain.send("START 19");
    ASSERT_EQ(brain.readAnswer(Clock::now() + 10s).value_or("<none>"), "OK");
    constexpr long long LIMIT = 300;
    brain.send("INFO timeout_turn " + std::to_string(LIMIT));
    brain.send("BOARD");
    for (const char* line : {"9,9,1", "10,10,2", "10,9,1", "8,9,2", "11,8,1", "12,7,2", "9,10,1"})
        brain.send(line);
    brain.messages.clear();
    const auto sent = Clock::now();
    brain.send("DONE");
    const std::string move = brain.readAnswer(Clock::now() + 10s).value_or("<none>");
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
    EXPECT_TRUE(parseMove(move).has_value()) << move;
    EXPECT_LE(ms, LIMIT * 11 / 10);
    // Master's own statistics, not the brain's note that it had to play alone.
    ASSERT_EQ(brain.messages.size(), 1u);
    unsigned long seen = 0, time = 0, speed = 0, branch = 0, depth = 0, breaks = 0, saved = 0;
    int score = 0;
    EXPECT_EQ(std::sscanf(brain.messages[0].c_str(), "MESSAGE %lu %lu %lu %lu %lu %lu %lu %d", &seen, &time,
                          &speed, &branch, &depth, &breaks, &saved, &score),
              8)
        << brain.messages[0];
    EXPECT_LE(time, static_cast<unsigned long>(LIMIT));
    brain.send("END");
    EXPECT_EQ(brain.waitExit(Clock::now() + 5s), 0);
}

// The tuning tool: self-play writes one sample per quiet position (the
// result for the mover and both sides' features), the fit reads them back
// into a table, and a file that is not samples is refused.
TEST(MasterTools, TuneWritesSamplesAndFitsThem) {
    const auto dir = std::filesystem::temp_directory_path() / ("quintrel-tune-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string openings = (dir / "openings.txt").string(), data = (dir / "samples.txt").string();
    std::ofstream(openings) << "9,9 10,10 8,10\n9,8 10,8 8,8  # a comment\n";
    const ToolRun played = runTool(QUINTREL_TUNE, "play --ms 20 --threads 2 " + openings + " " + data);
    ASSERT_EQ(played.exitCode, 0) << played.output;
    std::istringstream lines(fileText(data));
    int samples = 0;
    for (std::string line; std::getline(lines, line); ++samples) {
        std::istringstream numbers(line);
        double result = -1;
        numbers >> result;
        EXPECT_TRUE(result == 0 || result == 0.5 || result == 1) << line;
        int count = 0;
        for (int v; numbers >> v; ++count)
            EXPECT_GE(v, 0) << line;
        EXPECT_EQ(count, 22) << line;
    }
    EXPECT_GT(samples, 0);
    const ToolRun fitted = runTool(QUINTREL_TUNE, "fit " + data);
    EXPECT_EQ(fitted.exitCode, 0);
    EXPECT_NE(fitted.output.find("constexpr Weights FITTED_WEIGHTS = {{"), std::string::npos) << fitted.output;
    // A game played elsewhere: black's five on row 9; the last plies are left out.
    std::ofstream(openings) << "0,9 0,0 1,9 1,0 2,9 2,0 3,9 3,0 4,9\n";
    std::filesystem::remove(data);
    ASSERT_EQ(runTool(QUINTREL_TUNE, "games " + openings + " " + data).exitCode, 0);
    std::istringstream imported(fileText(data));
    std::vector<double> results;
    for (std::string line; std::getline(imported, line);)
        results.push_back(std::stod(line));
    EXPECT_EQ(results, (std::vector<double>{0.0, 1.0}));
    std::ofstream(openings) << "0,9 0,0 0,9\n";
    EXPECT_EQ(runTool(QUINTREL_TUNE, "games " + openings + " " + data).exitCode, 2);
    std::ofstream(data) << "1.0 2 3\n";
    const ToolRun refused = runTool(QUINTREL_TUNE, "fit " + data);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.output.find("not a sample: 1.0 2 3"), std::string::npos) << refused.output;
    std::filesystem::remove_all(dir);
}
