#pragma once
// Where players post what they produce: moves, log lines, progress and the
// field being examined. A port is held weakly by its senders, so posting to a
// window that is gone is a silent no-op, from any thread.

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quintrel {

constexpr int MSG_MOVE = 1027;     // lParam: GameMove::packed()
constexpr int MSG_LOG = 1028;      // text: a line appended to the log
constexpr int MSG_PROGRESS = 1029; // text: "%3u/%3u"
constexpr int MSG_EXAMINED = 1030; // lParam bits 0-15: x | y << 8
constexpr int MSG_LOG_LINE = 1031; // text: a new line of the log
constexpr int MSG_FORFEIT = 1032;  // lParam: the side that loses; text: what its player did
constexpr std::intptr_t MSG_TAG = 12345;

struct PortMessage {
    int id = 0;
    std::intptr_t wParam = MSG_TAG;
    std::int32_t lParam = 0;
    std::string text; // owned by the message; the receiver takes it
};

// The receiving end. post() is thread-safe, never blocks for long and keeps
// the order of messages from one sender.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void post(PortMessage msg) = 0;
};

// A player's "window": a weak handle, empty or expired when there is none.
using WindowHandle = std::weak_ptr<MessageSink>;

inline void postMessage(const WindowHandle& window, PortMessage msg) {
    if (auto sink = window.lock()) sink->post(std::move(msg));
}

// The test and headless double: a mutex-guarded queue the owner drains.
class QueueSink : public MessageSink {
public:
    void post(PortMessage msg) override {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(msg));
    }
    // Messages in arrival order; those not tagged 12345 are not ours and are dropped.
    std::vector<PortMessage> drain() {
        std::lock_guard lock(mutex_);
        std::vector<PortMessage> out;
        for (auto& m : queue_)
            if (m.wParam == MSG_TAG) out.push_back(std::move(m));
        queue_.clear();
        return out;
    }
    bool empty() const {
        std::lock_guard lock(mutex_);
        return queue_.empty();
    }

private:
    mutable std::mutex mutex_;
    std::deque<PortMessage> queue_;
};

} // namespace quintrel
