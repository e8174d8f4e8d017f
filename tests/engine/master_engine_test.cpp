// The strong engine's table and clock: a stored entry reads back, a deeper
// one is kept, a torn entry reads as a miss; a search answers within its
// time per move, and a forced move at once.

#include "master/Engine.h"
#include "master/Table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

namespace quintrel::master {

// Writes an entry's two words as a torn write leaves them: the check word
// of one store with the data word of another.
struct TableInspector {
    static void tear(TransTable& t, std::uint64_t key, std::uint64_t otherKey) {
        TransTable::Entry& e = t.entries[key & t.mask];
        const TransTable::Entry& other = t.entries[otherKey & t.mask];
        e.data = other.data;
    }
};

namespace {

TEST(MasterTable, StoreProbeReplaceAndATornEntryIsAMiss) {
    TransTable t;
    t.resize(1);
    TableHit hit;
    const std::uint64_t key = 0x123456789ABCDEFull;
    EXPECT_FALSE(t.probe(key, hit));
    t.store(key, 321, -29990, 7, BOUND_EXACT);
    ASSERT_TRUE(t.probe(key, hit));
    EXPECT_EQ(hit.move, 321);
    EXPECT_EQ(hit.score, -29990);
    EXPECT_EQ(hit.depth, 7);
    EXPECT_EQ(hit.bound, BOUND_EXACT);
    // A shallower bound keeps the deeper entry; an exact result replaces it,
    // and a store without a move keeps the move known.
    t.store(key, 5, 10, 3, BOUND_LOWER);
    ASSERT_TRUE(t.probe(key, hit));
    EXPECT_EQ(hit.depth, 7);
    t.store(key, -1, 10, 3, BOUND_EXACT);
    ASSERT_TRUE(t.probe(key, hit));
    EXPECT_EQ(hit.depth, 3);
    EXPECT_EQ(hit.move, 321);
    // Another position in the same slot takes it over; the first is then a miss.
    const std::uint64_t rival = key + (std::uint64_t{1} << 40);
    t.store(rival, 9, 1, 1, BOUND_UPPER);
    EXPECT_FALSE(t.probe(key, hit));
    ASSERT_TRUE(t.probe(rival, hit));
    EXPECT_EQ(hit.move, 9);
    // Check word from one store, data from another: neither key reads it.
    const std::uint64_t elsewhere = key + 1;
    t.store(elsewhere, 77, 2, 2, BOUND_EXACT);
    TableInspector::tear(t, rival, elsewhere);
    EXPECT_FALSE(t.probe(rival, hit));
    t.clear();
    EXPECT_FALSE(t.probe(elsewhere, hit));
}

// A crowded middle game with no forced line, and one with a five to make.
Setup middleGame(bool fiveToMake) {
    Setup s;
    const int stones[][3] = {{9, 9, 0}, {10, 10, 1}, {10, 9, 0}, {8, 9, 1}, {11, 8, 1}, {9, 10, 0},
                             {8, 11, 1}, {10, 11, 0}, {12, 9, 1}, {7, 10, 0}, {9, 12, 1}, {11, 11, 0}};
    for (const auto& st : stones)
        s.stones.push_back({{st[0], st[1]}, st[2]});
    if (fiveToMake)
        for (int x = 2; x < 6; ++x)
            s.stones.push_back({{x, 2}, 0});
    return s;
}

TEST(MasterClock, AnswersWithinTheTurnAndAForcedMoveAtOnce) {
    using Clock = std::chrono::steady_clock;
    std::atomic<int> stop{0};
    auto engine = std::make_unique<Engine>();
    for (int turnMs : {100, 200, 1000}) {
        // A loaded machine can hold the thread past its deadline once; an
        // engine that overruns its clock does so every time.
        std::int64_t ms = 0;
        for (int attempt = 0; attempt < 3 && (attempt == 0 || ms > turnMs); ++attempt) {
            const auto start = Clock::now();
            const Result r = engine->search(middleGame(false), Limits{turnMs, 99, 1, 16}, stop);
            ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            EXPECT_FALSE(r.forced);
            EXPECT_GE(r.depth, 1) << "turn " << turnMs;
        }
        EXPECT_LE(ms, turnMs) << "turn " << turnMs;
    }
    const auto start = Clock::now();
    const Result r = engine->search(middleGame(true), Limits{60000, 99, 1, 16}, stop);
    EXPECT_LE(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 50);
    EXPECT_TRUE(r.forced);
    EXPECT_EQ(r.proved, 1);
    EXPECT_TRUE(r.move == (Point{1, 2}) || r.move == (Point{6, 2}));
}

// Without a clock, an open three of theirs is still answered by a defence
// the threat searches and their own short search leave.
TEST(MasterAnalysis, AThreeIsStoppedWithoutAClock) {
    master::Setup s;
    s.stones = {{{8, 9}, 1}, {{9, 9}, 1}, {{10, 9}, 1}, {{9, 10}, 0}, {{12, 13}, 0}};
    const Result r = Engine().search(s, Limits{0, 4, 1, 16}, std::atomic<int>{0});
    EXPECT_EQ(r.move.y, 9);
    EXPECT_TRUE(r.move.x == 6 || r.move.x == 7 || r.move.x == 11 || r.move.x == 12) << r.move.x;
}

// Several best moves at a fixed depth, without a clock: the first is the
// search's answer, each is another move, and each line is a game that can
// be played from the position; every iteration is reported.
TEST(MasterAnalysis, BestMovesAreDistinctLinesFromTheSearch) {
    std::atomic<int> stop{0};
    const master::Setup position = middleGame(false);
    int reports = 0;
    const Result r = Engine().search(position, Limits{0, 5, 1, 16, 3}, stop, {}, [&](const Result& each) {
        EXPECT_EQ(each.depth, ++reports);
    });
    EXPECT_EQ(reports, 5);
    ASSERT_EQ(r.lines.size(), 3u);
    EXPECT_EQ(r.lines[0].move, r.move);
    EXPECT_EQ(r.lines[0].score, r.score);
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        const Line& line = r.lines[i];
        ASSERT_FALSE(line.pv.empty());
        EXPECT_EQ(line.pv[0], line.move);
        if (i > 0) {
            EXPECT_LE(line.score, r.lines[0].score);
        }
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(line.move, r.lines[j].move);
        Position board;
        board.setUp(position);
        for (const Point p : line.pv) {
            ASSERT_TRUE(board.empty(cellOf(p.x, p.y))) << "line " << i;
            board.play(cellOf(p.x, p.y));
        }
    }
}

} // namespace
} // namespace quintrel::master
