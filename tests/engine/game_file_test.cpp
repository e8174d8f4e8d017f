// The ".gam" file: layout, every load check, open and save through the
// document, ask-before-discard, and random and mutated files.

#include <gtest/gtest.h>

#include <csignal>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
#include <optional>
#include <sys/resource.h>
#include <fstream>
#include <random>

#include "game_fixture.h"

namespace quintrel::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A scratch folder removed with the test.
struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() /
               ("quintrel-game-file-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Files may grow to a few bytes only, as on a disk that is nearly full.
struct DiskNearlyFull {
    rlimit old{};
    void (*oldHandler)(int);
    explicit DiskNearlyFull(rlim_t bytes) : oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{bytes, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskNearlyFull() {
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};

Bytes header(std::uint32_t version, std::int32_t last, std::int32_t current) {
    Bytes b{4, 'G', 'A', 'M', ' '};
    for (std::uint32_t v : {version, static_cast<std::uint32_t>(last), static_cast<std::uint32_t>(current)})
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return b;
}

// The document's whole observable game, to prove a refused file changed nothing.
struct Snapshot {
    Bytes record;
    std::vector<int> cells;
    int side;
    std::uint8_t flags;
    std::size_t logLines;
    explicit Snapshot(const GameFixture& f)
        : record(f.game->storeBytes()), side(f.game->sideToMove()), flags(f.game->historyFlags()),
          logLines(f.ui.log.size()) {
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) cells.push_back(f.game->board().cell(x, y));
    }
    bool operator==(const Snapshot&) const = default;
};

TEST(GameFile, ThreeMovesOneTakenBackIsTheDocumentedExample) {
    GameFixture f;
    auto& g = *f.game;
    f.click(8, 10);
    f.click(9, 10);
    f.click(10, 10);
    g.moveBack();
    const Bytes expected{0x04, 'G', 'A', 'M', ' ', 0x00, 0x01, 0x00, 0x00, 0x02, 0x00, 0x00,
                         0x00, 0x02, 0x00, 0x00, 0x00, 8,    10,   9,    10,   10,   10};
    EXPECT_EQ(g.storeBytes(), expected);

    TempDir dir;
    const std::string path = dir.file("three.gam");
    ASSERT_TRUE(g.saveAs(path));
    EXPECT_FALSE(g.isModified());
    EXPECT_EQ(g.title(), "three.gam");
    EXPECT_FALSE(fs::exists(path + ".saving"));

    GameFixture other;
    ASSERT_TRUE(other.game->openFile(path));
    auto& h = *other.game;
    EXPECT_EQ(h.last(), 2);
    EXPECT_EQ(h.current(), 2);
    EXPECT_EQ(h.board().cell(8, 10), SIDE_O);
    EXPECT_EQ(h.board().cell(9, 10), SIDE_X);
    EXPECT_EQ(h.board().cell(10, 10), EMPTY);
    EXPECT_EQ(h.sideToMove(), SIDE_O);
    EXPECT_TRUE(h.canMoveForward());
    EXPECT_EQ(h.historyFlags(), 0);
    EXPECT_EQ(other.ui.mark, F(9, 10));
    EXPECT_TRUE(other.ui.boxes.empty());
    EXPECT_EQ(other.ui.pane1, "Human on move.");
    EXPECT_EQ(h.path(), path);
    EXPECT_FALSE(h.isModified());
    h.moveForward();
    EXPECT_EQ(h.move(2), (GameMove{F(10, 10), SIDE_O}));
}

TEST(GameFile, EveryCheckRefusesTheFileAndLeavesTheGameAlone) {
    GameFixture f;
    f.click(3, 3);
    f.click(4, 4);
    const Snapshot before(f);

    Bytes good = header(256, 1, 2);
    for (std::uint8_t c : {5, 5, 6, 6}) good.push_back(c);
    std::vector<std::pair<const char*, Bytes>> bad;
    auto variant = [&](const char* what, auto change) {
        Bytes b = good;
        change(b);
        bad.emplace_back(what, b);
    };
    variant("version 257", [](Bytes& b) { b[5] = 1; b[6] = 1; });
    variant("current = last + 2", [](Bytes& b) { b[13] = 3; });
    variant("negative current", [](Bytes& b) { b[13] = 0xFF; b[14] = 0xFF; b[15] = 0xFF; b[16] = 0xFF; });
    variant("last = -1", [](Bytes& b) { b[9] = 0xFF; b[10] = 0xFF; b[11] = 0xFF; b[12] = 0xFF; b[13] = 0; });
    variant("last = 362", [](Bytes& b) { b[9] = 0x6A; b[10] = 0x01; });
    variant("lower-case tag", [](Bytes& b) { b[1] = 'g'; });
    variant("tag length 3", [](Bytes& b) { b[0] = 3; });
    variant("x = 0", [](Bytes& b) { b[17] = 0; });
    variant("y = 20", [](Bytes& b) { b[20] = 20; });
    variant("x = 20 in the last pair", [](Bytes& b) { b[19] = 20; });
    variant("repeated field", [](Bytes& b) { b[19] = 5; b[20] = 5; });
    variant("ends early", [](Bytes& b) { b.pop_back(); });
    variant("header only", [](Bytes& b) { b.resize(17); });

    TempDir dir;
    for (const auto& [what, bytes] : bad) {
        SCOPED_TRACE(what);
        const std::string path = dir.file("bad.gam");
        writeBytes(path, bytes);
        f.ui.boxes.clear();
        EXPECT_FALSE(f.game->openFile(path));
        ASSERT_EQ(f.ui.boxes.size(), 1u);
        EXPECT_EQ(f.ui.boxes[0].text, "Unexpected file format.");
        EXPECT_EQ(f.ui.boxes[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(Snapshot(f) == before);
        EXPECT_EQ(f.game->path(), "");
    }

    // The same file, well formed, loads; trailing bytes are ignored.
    good.push_back(0x77);
    const std::string path = dir.file("good.gam");
    writeBytes(path, good);
    EXPECT_TRUE(f.game->openFile(path));
    EXPECT_EQ(f.game->last(), 1);
    EXPECT_EQ(f.game->board().cell(6, 6), SIDE_X);
}

TEST(GameFile, EmptyAndMissingFiles) {
    GameFixture f;
    TempDir dir;
    const std::string empty = dir.file("empty.gam");
    writeBytes(empty, {});
    EXPECT_FALSE(f.game->openFile(empty));
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].text, "File  " + empty + "  is empty.\nIt is not a valid Quintrel++ game.");
    EXPECT_EQ(f.ui.boxes[0].icon, MessageIcon::Exclamation);

    EXPECT_FALSE(f.game->openFile(dir.file("missing.gam")));
    ASSERT_EQ(f.ui.boxes.size(), 2u);
    EXPECT_EQ(f.ui.boxes[1].text, "Unable to open " + dir.file("missing.gam") + ", the file was not found.");
    EXPECT_FALSE(f.game->openFile(dir.path.string()));
    ASSERT_EQ(f.ui.boxes.size(), 3u);
    EXPECT_EQ(f.ui.boxes[2].text, "Unable to read from " + dir.path.string() + ", it is opened by someone else.");
    EXPECT_EQ(f.game->last(), -1);
}

TEST(GameFile, SavedFiveLoadsAsAFinishedGameWithoutABox) {
    GameFixture f;
    for (int i = 1; i <= 4; ++i) {
        f.click(i, 1);
        f.click(i, 10);
    }
    f.click(5, 1);
    const Bytes saved = f.game->storeBytes();

    GameFixture other;
    ASSERT_TRUE(other.game->loadBytes(saved));
    EXPECT_EQ(other.game->historyFlags(), HISTORY_FINISHED);
    EXPECT_TRUE(other.ui.boxes.empty());
    EXPECT_TRUE(other.ui.blinking);
    EXPECT_EQ(other.ui.pane1, "Player O has won.");
    EXPECT_FALSE(other.game->thinking());
    EXPECT_EQ(other.ui.flags, INPUT_NONE);
}

TEST(GameFile, LoadingWithAComputerOnMoveHandsItsSideToTheHuman) {
    GameFixture f;
    f.choose(PlayerKindCatalogue::HUMAN, PlayerKindCatalogue::CHAOTIC);
    f.game->onNewDocument();
    Bytes file = header(256, 0, 1);
    file.push_back(10);
    file.push_back(10);
    ASSERT_TRUE(f.game->loadBytes(file));
    EXPECT_EQ(f.game->sideToMove(), SIDE_X);
    EXPECT_EQ(f.game->players().playerX->isComputer, 0);
    EXPECT_FALSE(f.game->computing());
}

TEST(GameFile, FailedSaveKeepsThePreviousFile) {
    GameFixture f;
    f.click(10, 10);
    TempDir dir;
    const std::string path = dir.file("game.gam");
    ASSERT_TRUE(f.game->saveAs(path));
    const Bytes first = *readFileBytes(path);

    f.click(11, 11);
    // The disk fills up while the temporary file is written.
    auto full = std::make_optional<DiskNearlyFull>(20);
    EXPECT_FALSE(f.game->save());
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].text, "Unable to write to " + path + ", it is read-only or opened by someone else.");
    EXPECT_EQ(*readFileBytes(path), first);
    EXPECT_TRUE(f.game->isModified());

    full.reset();
    EXPECT_TRUE(f.game->save());
    EXPECT_EQ(readFileBytes(path)->size(), 21u);

    EXPECT_FALSE(f.game->saveAs(dir.file("no/such/folder.gam")));
    EXPECT_TRUE(fs::exists(path));
}

TEST(GameFile, AskBeforeDiscard) {
    GameFixture f;
    f.click(10, 10);
    // With the default options nothing is asked.
    EXPECT_TRUE(f.game->askBeforeDiscard());
    EXPECT_TRUE(f.ui.boxes.empty());

    f.ui.options = [](OptionValues& o, CPlayerDatabase&) {
        o.ask = 1;
        return true;
    };
    f.game->options();
    f.ui.answer = MessageAnswer::Cancel;
    EXPECT_FALSE(f.game->commandNew());
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].text, "Save changes to Untitled?");
    EXPECT_EQ(f.game->last(), 0);

    // Yes without a name asks for one; cancelling that aborts too.
    f.ui.answer = MessageAnswer::Yes;
    EXPECT_FALSE(f.game->commandNew());
    EXPECT_EQ(f.game->last(), 0);

    TempDir dir;
    f.ui.savePath = dir.file("kept.gam");
    EXPECT_TRUE(f.game->commandNew());
    EXPECT_EQ(f.game->last(), -1);
    EXPECT_EQ(readFileBytes(dir.file("kept.gam"))->size(), 19u);

    // A saved game is named by its file name, not its whole path.
    f.click(10, 10);
    ASSERT_TRUE(f.game->saveAs(dir.file("named.gam")));
    f.click(11, 11);
    f.ui.boxes.clear();
    f.ui.answer = MessageAnswer::Cancel;
    EXPECT_FALSE(f.game->commandNew());
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].text, "Save changes to named.gam?");

    f.ui.answer = MessageAnswer::No;
    EXPECT_TRUE(f.game->commandNew());
    EXPECT_EQ(f.game->last(), -1);
}

// Loading either refuses a file and changes nothing, or installs a game that
// keeps every invariant of the record.
void checkLoad(GameFixture& f, const Bytes& bytes, int& installed) {
    const Snapshot before(f);
    if (!f.game->loadBytes(bytes)) {
        ASSERT_TRUE(Snapshot(f) == before);
        return;
    }
    ++installed;
    const auto& g = *f.game;
    ASSERT_GE(g.last(), 0);
    ASSERT_LE(g.current(), g.last() + 1);
    int stones = 0;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) stones += g.board().cell(x, y) != EMPTY;
    ASSERT_EQ(stones, g.current());
    for (int i = 0; i < g.current(); ++i)
        ASSERT_EQ(g.board().cell(g.move(i).field), g.move(i).side);
    ASSERT_EQ(g.sideToMove(), g.current() % 2);
    ASSERT_EQ(g.storeBytes(), Bytes(bytes.begin(), bytes.begin() + 17 + 2 * (g.last() + 1)));
}

TEST(GameFile, RandomAndMutatedFilesNeverCorruptTheGame) {
    GameFixture f;
    std::mt19937 gen(20261207);
    auto byte = [&] { return static_cast<std::uint8_t>(gen() & 0xFF); };

    // A valid game of distinct fields to mutate from.
    Bytes base = header(256, 39, 25);
    std::vector<int> fields(361);
    for (int i = 0; i < 361; ++i) fields[i] = i;
    std::shuffle(fields.begin(), fields.end(), gen);
    for (int i = 0; i < 40; ++i) {
        base.push_back(static_cast<std::uint8_t>(fields[i] % 19 + 1));
        base.push_back(static_cast<std::uint8_t>(fields[i] / 19 + 1));
    }
    int installed = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes b;
        if (round % 10 == 0) {
            b.resize(gen() % 64);
            for (auto& c : b) c = byte();
            if (b.size() > 5 && round % 20 == 0) std::copy_n(base.begin(), 5, b.begin());
        } else {
            b = base;
            const int edits = 1 + static_cast<int>(gen() % 3);
            for (int e = 0; e < edits; ++e) {
                switch (gen() % 4) {
                case 0: b[gen() % b.size()] = byte(); break;
                case 1: b.resize(gen() % (b.size() + 1)); break;
                // An earlier edit may have cut the file short: only bytes still there change.
                case 2: {
                    const std::size_t at = 17 + gen() % 80;
                    const auto value = static_cast<std::uint8_t>(1 + gen() % 19);
                    if (at < b.size()) b[at] = value;
                    break;
                }
                default: {
                    const std::size_t at = 9 + gen() % 8;
                    const auto value = static_cast<std::uint8_t>(gen() % 45);
                    if (at < b.size()) b[at] = value;
                    break;
                }
                }
                if (b.empty()) break;
            }
        }
        checkLoad(f, b, installed);
        if (::testing::Test::HasFatalFailure()) return;
    }
    // Both outcomes are exercised.
    EXPECT_GT(installed, 300);
    EXPECT_LT(installed, 2700);
}

// Opening never blocks and never reads more than the largest game.
TEST(GameFile, OnlyRegularFilesOpenAndNoMoreThanAGameIsRead) {
    GameFixture f;
    f.click(3, 3);
    const Snapshot before(f);
    TempDir dir;
    const std::string fifo = dir.file("pipe.gam");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        f.ui.boxes.clear();
        auto opened = std::async(std::launch::async, [&] { return f.game->openFile(path); });
        if (opened.wait_for(std::chrono::seconds(1)) != std::future_status::ready) {
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)); // release a reader stuck in open
            FAIL() << "opening blocked";
        }
        EXPECT_FALSE(opened.get());
        ASSERT_EQ(f.ui.boxes.size(), 1u);
        EXPECT_EQ(f.ui.boxes[0].text, "Unexpected file format.");
        EXPECT_TRUE(Snapshot(f) == before);
    }

    // A valid game followed by a gigabyte (sparse, so it costs no disk) loads
    // from its first bytes alone.
    Bytes game = header(256, 0, 1);
    game.insert(game.end(), {7, 7});
    const std::string huge = dir.file("huge.gam");
    writeBytes(huge, game);
    fs::resize_file(huge, 1u << 30);
    EXPECT_EQ(readFileBytes(huge)->size(), MAX_GAME_FILE_SIZE);
    EXPECT_TRUE(f.game->openFile(huge));
    EXPECT_EQ(f.game->board().cell(7, 7), SIDE_O);
}

// Saving writes only where the user pointed, through links the user made.
TEST(GameFile, SavingNeverWritesThroughAPlantedLinkNorOverAnythingButAFile) {
    GameFixture f;
    f.click(10, 10);
    TempDir dir;
    const std::string victim = dir.file("victim.txt");
    writeBytes(victim, {'k', 'e', 'e', 'p'});
    const std::string path = dir.file("game.gam");
    fs::create_symlink(victim, path + ".saving");
    ASSERT_TRUE(f.game->saveAs(path));
    EXPECT_EQ(*readFileBytes(victim), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(readFileBytes(path)->size(), 19u);

    // A link chosen as the target: the file it names is written, the link stays.
    const std::string link = dir.file("link.gam");
    fs::create_symlink("game.gam", link);
    f.click(11, 11);
    ASSERT_TRUE(f.game->saveAs(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFileBytes(path)->size(), 21u);

    // Folders and devices are refused; a failed save leaves no temporary file.
    fs::create_directory(dir.file("folder.gam"));
    for (const std::string& target : {dir.file("folder.gam"), std::string("/dev/null")}) {
        f.ui.boxes.clear();
        EXPECT_FALSE(f.game->saveAs(target));
        ASSERT_EQ(f.ui.boxes.size(), 1u);
        EXPECT_EQ(f.ui.boxes[0].text, "Unable to write to " + target + ", it is read-only or opened by someone else.");
    }
    {
        DiskNearlyFull full(20);
        EXPECT_FALSE(f.game->saveAs(path));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 5);
}

} // namespace
} // namespace quintrel::testing
