// The Engine player and its brain connection against scripted stand-in
// brains: the protocol exchange, every fault a brain can commit, Stop
// Thinking, the settings record, and no child left behind.

#include "board/Board.h"
#include "players/EnginePlayer.h"
#include "players/EngineSettings.h"
#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "app/SettingsStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace quintrel;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// $1 says what the brain does, $2 is where it logs what it reads (and its pid).
const char* const SCRIPTED_BRAIN = R"(#!/bin/bash
mode=$1; log=$2; echo $$ > "$log.pid"; moves=0
while IFS= read -r line; do
  line=${line%$'\r'}; echo "$line" >> "$log"
  case "$line" in
    START*) if [ "$mode" = refuse-start ]; then echo "ERROR no such board"; else echo OK; fi ;;
    BEGIN|DONE) moves=$((moves+1))
      case "$mode" in
        error) echo "ERROR confused" ;;
        unknown) echo "UNKNOWN what" ;;
        taken) echo "9,9" ;;
        off-board) echo "19,3" ;;
        nonsense) echo "hello" ;;
        silent|deaf) ;;
        crash) kill -SEGV $$ ;;
        dies-later) if [ $moves -ge 2 ]; then exit 3; fi; echo "0,$moves" ;;
        yxstop) read -r stop; echo "${stop%$'\r'}" >> "$log"; echo "0,7" ;;
        *) echo "MESSAGE depth 4 ev 12 speed 3K"; echo "0,$moves" ;;
      esac ;;
    END) [ "$mode" = deaf ] || exit 0 ;;
  esac
done
)";

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("engine-test-" + std::to_string(getpid()));
        fs::create_directories(dir);
        script = (dir / "brain").string();
        std::ofstream(script) << SCRIPTED_BRAIN;
        chmod(script.c_str(), 0755);
        board.clear();
        board.place(Field{10, 10}, SIDE_O); // the brain's "9,9"
    }
    void TearDown() override { fs::remove_all(dir); }

    std::unique_ptr<CEnginePlayer> player(const std::string& mode, int turnMs = 1000) {
        auto p = std::make_unique<CEnginePlayer>();
        p->setCommandLine(script + " " + mode + " '" + logPath() + "'");
        p->setTurnTime(turnMs);
        p->window = sink;
        return p;
    }
    std::string logPath() const { return (dir / "brain log").string(); }
    std::string brainLog() const {
        std::ifstream in(logPath());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    pid_t brainPid() const {
        int pid = 0;
        std::ifstream(logPath() + ".pid") >> pid;
        return pid;
    }
    // What the player posted until its request was answered.
    std::vector<PortMessage> answer(CEnginePlayer& p, Side side) {
        p.requestMove(board, side);
        return awaitAnswer(5s);
    }
    std::vector<PortMessage> awaitAnswer(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::vector<PortMessage> out;
        for (;;) {
            for (auto& m : sink->drain()) out.push_back(std::move(m));
            for (const auto& m : out)
                if (m.id == MSG_MOVE || m.id == MSG_FORFEIT) return out;
            if (std::chrono::steady_clock::now() > end) return out;
            std::this_thread::sleep_for(2ms);
        }
    }
    static const PortMessage* find(const std::vector<PortMessage>& ms, int id) {
        for (const auto& m : ms)
            if (m.id == id) return &m;
        return nullptr;
    }

    fs::path dir;
    std::string script;
    CBoard board;
    std::shared_ptr<QueueSink> sink = std::make_shared<QueueSink>();
};

} // namespace

TEST_F(EngineFixture, ProtocolExchangeLogAndProgress) {
    auto p = player("good");
    p->setTurnTime(700);
    const auto first = answer(*p, SIDE_X);
    const auto* move = find(first, MSG_MOVE);
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(GameMove::unpack(move->lParam).field, (Field{1, 2}));
    EXPECT_EQ(GameMove::unpack(move->lParam).side, SIDE_X);
    ASSERT_NE(find(first, MSG_LOG_LINE), nullptr);
    EXPECT_NE(find(first, MSG_LOG_LINE)->text.find("depth 4 ev 12 speed 3K"), std::string::npos);
    ASSERT_NE(find(first, MSG_PROGRESS), nullptr);
    EXPECT_EQ(find(first, MSG_PROGRESS)->text, "depth 4  ev 12  3000 pos/s");

    // The whole position with each request, from the brain's point of view.
    board.place(Field{1, 2}, SIDE_X);
    const pid_t pid = brainPid();
    ASSERT_NE(find(answer(*p, SIDE_O), MSG_MOVE), nullptr);
    EXPECT_EQ(brainPid(), pid) << "one brain serves the whole game";
    board.clear();
    ASSERT_NE(find(answer(*p, SIDE_O), MSG_MOVE), nullptr);
    EXPECT_EQ(brainLog(), "START 19\nINFO timeout_turn 700\nINFO timeout_match 0\nINFO rule 0\n"
                          "INFO game_type 1\nBOARD\n9,9,2\nDONE\n"
                          "INFO timeout_turn 700\nINFO timeout_match 0\nINFO rule 0\n"
                          "INFO game_type 1\nBOARD\n0,1,2\n9,9,1\nDONE\n"
                          "INFO timeout_turn 700\nINFO timeout_match 0\nINFO rule 0\n"
                          "INFO game_type 1\nBEGIN\n");

    // The brain ends with the player, by END.
    p.reset();
    EXPECT_NE(brainLog().find("END"), std::string::npos);
    EXPECT_NE(kill(pid, 0), 0);
}

TEST_F(EngineFixture, EveryFaultLosesTheGameAndLeavesNoChild) {
    const struct {
        const char* mode;
        const char* says;
    } cases[] = {
        {"error", "answered \"ERROR confused\" to DONE"},
        {"unknown", "answered \"UNKNOWN what\" to DONE"},
        {"nonsense", "answered \"hello\" to DONE"},
        {"taken", "played 9,9, a field already taken"},
        {"off-board", "played 19,3, a field off the board"},
        {"crash", "was killed by signal 11"},
        {"refuse-start", "answered \"ERROR no such board\" to START 19"},
        {"silent", "gave no answer to DONE in time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        fs::remove(logPath());
        auto p = player(c.mode, 200);
        const auto started = std::chrono::steady_clock::now();
        const auto got = answer(*p, SIDE_X);
        const auto* lost = find(got, MSG_FORFEIT);
        ASSERT_NE(lost, nullptr);
        EXPECT_EQ(find(got, MSG_MOVE), nullptr);
        EXPECT_EQ(lost->lParam, SIDE_X);
        EXPECT_EQ(lost->text.rfind("The brain \"" + script, 0), 0u) << lost->text;
        EXPECT_NE(lost->text.find(c.says), std::string::npos) << lost->text;
        if (std::string(c.mode) == "silent") {
            EXPECT_GE(std::chrono::steady_clock::now() - started, 1200ms); // the turn plus the grace
        }
        p->reset();
        EXPECT_NE(kill(brainPid(), 0), 0) << "the brain is gone once it lost";
    }

    // A brain that cannot be started; one that dies after its first move.
    auto missing = std::make_unique<CEnginePlayer>();
    missing->setCommandLine((dir / "no-such-brain").string() + " --fast");
    missing->window = sink;
    const auto got = answer(*missing, SIDE_O);
    ASSERT_NE(find(got, MSG_FORFEIT), nullptr);
    EXPECT_NE(find(got, MSG_FORFEIT)->text.find("could not be started: cannot run"), std::string::npos);

    auto dies = player("dies-later");
    ASSERT_NE(find(answer(*dies, SIDE_X), MSG_MOVE), nullptr);
    const auto second = answer(*dies, SIDE_X);
    ASSERT_NE(find(second, MSG_FORFEIT), nullptr);
    EXPECT_NE(find(second, MSG_FORFEIT)->text.find("ended with exit code 3 after DONE"), std::string::npos);
}

TEST_F(EngineFixture, StopThinkingAndBrainsThatWillNotLeave) {
    // yxstop brings the brain's move.
    auto p = player("yxstop", 60000);
    p->requestMove(board, SIDE_X);
    std::this_thread::sleep_for(100ms);
    p->stopThinking();
    const auto got = awaitAnswer(2s);
    ASSERT_NE(find(got, MSG_MOVE), nullptr);
    EXPECT_EQ(GameMove::unpack(find(got, MSG_MOVE)->lParam).field, (Field{1, 8}));
    EXPECT_NE(brainLog().find("DONE\nyxstop"), std::string::npos);

    // A brain deaf to yxstop: the most valuable field after a second, said in the log.
    auto deaf = player("deaf", 60000);
    deaf->requestMove(board, SIDE_X);
    std::this_thread::sleep_for(100ms);
    const auto stopped = std::chrono::steady_clock::now();
    deaf->stopThinking();
    const auto seen = awaitAnswer(5s);
    ASSERT_NE(find(seen, MSG_MOVE), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 2s);
    const Field f = GameMove::unpack(find(seen, MSG_MOVE)->lParam).field;
    EXPECT_TRUE(f.onBoard() && board.isEmpty(f));
    ASSERT_NE(find(seen, MSG_LOG_LINE), nullptr);
    EXPECT_NE(find(seen, MSG_LOG_LINE)->text.find("most valuable empty field"), std::string::npos);
    const pid_t pid = brainPid();
    deaf.reset();
    EXPECT_NE(kill(pid, 0), 0) << "a brain that ignores END is killed";
}

TEST(EngineSettingsRecord, RoundTripAndInvalidBlocksGoBackToDefaults) {
    EngineSettings s;
    s.turnMs = 2500;
    s.matchMs = 60000;
    s.command = "/opt/brains/pbrain-x --level \"very strong\"";
    s.info = "max_depth 8\n\n  strength   3 \n";
    const PlayerSettings block = s.toBlock();
    EXPECT_TRUE(validateEngineSettings(block, EngineSettings::CLASS_NAME));
    EXPECT_EQ(EngineSettings::fromBlock(block), s);
    EXPECT_EQ(s.infoLines(), (std::vector<std::string>{"max_depth 8", "strength 3"}));

    auto broken = [&](auto change) {
        PlayerSettings b = block;
        change(b);
        return b;
    };
    const PlayerSettings bad[] = {
        broken([](PlayerSettings& b) { b.data[0] = 2; }),                  // another version
        broken([](PlayerSettings& b) { b.data[4] = 50; b.data[5] = 0; }),  // 50 ms a move
        broken([](PlayerSettings& b) { b.data.pop_back(); }),              // cut short
        broken([](PlayerSettings& b) { b.data.push_back(0); }),            // too long
        broken([](PlayerSettings& b) { b.data[12] = 0xFF; }),              // command length
        broken([](PlayerSettings& b) { b.data[20] = '\n'; }),              // two-line command
        broken([](PlayerSettings& b) { b.tag = "CMasterPlayer"; }),
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(validateEngineSettings(b, EngineSettings::CLASS_NAME));
        EXPECT_EQ(EngineSettings::fromBlock(b), EngineSettings{});
    }
    PlayerSettings fresh;
    initEngineSettings(fresh, EngineSettings::CLASS_NAME);
    EXPECT_EQ(EngineSettings::fromBlock(fresh), EngineSettings{});
}

TEST(EngineKind, NinthKindWithoutADefaultPlayer) {
    const PlayerDefinition& kind = PlayerKindCatalogue::entry(PlayerKindCatalogue::ENGINE);
    EXPECT_EQ(kind.name, "Engine");
    EXPECT_EQ(kind.description, "External Gomocup brain");
    EXPECT_EQ(PlayerKindCatalogue::findKind("CEnginePlayer"), &kind);
    EXPECT_EQ(kind.hasSettingsDialog, 1);
    EXPECT_EQ(EngineSettings::fromBlock(kind.settings), EngineSettings{});
    const auto player = kind.createPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_STREQ(player->className(), "CEnginePlayer");

    MemorySettingsStore store;
    CPlayerDatabase db(store);
    db.load();
    for (const auto& d : db.definitions())
        EXPECT_NE(d.className(), "CEnginePlayer");
}
