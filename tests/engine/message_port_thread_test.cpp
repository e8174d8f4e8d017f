#include "app/MessagePort.h"
#include "players/RandomPlayer.h"

#include <gtest/gtest.h>

#include <thread>

using namespace quintrel;

namespace {

// A player that only hands out moves, from whatever thread calls it.
struct Sender : CRandomPlayer {
    void send(int count, Side side) {
        for (int i = 0; i < count; ++i)
            deliverMove(GameMove{Field{static_cast<std::uint8_t>(1 + i % 19),
                                       static_cast<std::uint8_t>(1 + i / 19 % 19)},
                                 side});
    }
};

} // namespace

TEST(MessagePort, EachSendersOrderHoldsUnderTwoThreads) {
    constexpr int count = 2000;
    auto sink = std::make_shared<QueueSink>();
    Sender o, x;
    o.window = sink;
    x.window = sink;
    std::thread a([&] { o.send(count, SIDE_O); });
    std::thread b([&] { x.send(count, SIDE_X); });
    a.join();
    b.join();

    auto msgs = sink->drain();
    ASSERT_EQ(msgs.size(), 2u * count);
    int next[2] = {0, 0};
    for (const auto& m : msgs) {
        ASSERT_EQ(m.id, MSG_MOVE);
        GameMove move = GameMove::unpack(m.lParam);
        int i = next[move.side]++;
        ASSERT_EQ(move.field.x, 1 + i % 19);
        ASSERT_EQ(move.field.y, 1 + i / 19 % 19);
    }
    EXPECT_EQ(next[0], count);
    EXPECT_EQ(next[1], count);
}

TEST(MessagePort, PostingToAPortThatGoesAwayIsHarmless) {
    auto sink = std::make_shared<QueueSink>();
    Sender s;
    s.window = sink;
    std::thread sender([&] { s.send(5000, SIDE_X); });
    sink.reset(); // the window closes while the sender is still posting
    sender.join();
    EXPECT_TRUE(s.window.expired());
}
