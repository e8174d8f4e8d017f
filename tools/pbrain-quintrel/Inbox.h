#pragma once
// The brain's one waiting place: the lines the manager sends (pushed by the
// input reader thread) and what the player posts from its search thread (as
// the player's window). The protocol loop sleeps here on one condition
// variable, so a move, a "yxstop" or "END" wakes it at once, and a deadline
// wakes it when nothing came.

#include "app/MessagePort.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace quintrel::pbrain {

using Clock = std::chrono::steady_clock;

struct InputLine {
    std::string text;
    Clock::time_point received; // the manager's clock for the move starts here
};

class Inbox : public MessageSink {
public:
    struct Event {
        enum Kind { LINE, MESSAGE, CLOSED, TIMEOUT } kind = TIMEOUT;
        InputLine line;
        PortMessage message;
    };

    // The player's side (any thread).
    void post(PortMessage msg) override {
        {
            std::lock_guard lock(mutex_);
            messages_.push_back(std::move(msg));
        }
        ready_.notify_all();
    }

    // The reader's side.
    void pushLine(std::string text) {
        {
            std::lock_guard lock(mutex_);
            lines_.push_back(InputLine{std::move(text), Clock::now()});
        }
        ready_.notify_all();
    }
    void closeInput() {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        ready_.notify_all();
    }

    // The protocol loop's side.
    // The next player message (when withMessages), else the next line (when
    // withInput); CLOSED once the input has ended and every line was taken;
    // TIMEOUT when the deadline passed first. No deadline waits as long as it takes.
    Event next(std::optional<Clock::time_point> deadline, bool withMessages,
               bool withInput = true) {
        std::unique_lock lock(mutex_);
        auto ready = [&] {
            return (withMessages && !messages_.empty()) ||
                   (withInput && (!lines_.empty() || closed_));
        };
        if (deadline) {
            if (!ready_.wait_until(lock, *deadline, ready)) return Event{};
        } else {
            ready_.wait(lock, ready);
        }
        Event e;
        if (withMessages && !messages_.empty()) {
            e.kind = Event::MESSAGE;
            e.message = std::move(messages_.front());
            messages_.pop_front();
        } else if (withInput && !lines_.empty()) {
            e.kind = Event::LINE;
            e.line = std::move(lines_.front());
            lines_.pop_front();
        } else {
            e.kind = Event::CLOSED;
        }
        return e;
    }

    // Puts lines taken while thinking back in front, in their order, so they
    // are served after the move as if they had waited.
    void unread(std::deque<InputLine> lines) {
        std::lock_guard lock(mutex_);
        while (!lines.empty()) {
            lines_.push_front(std::move(lines.back()));
            lines.pop_back();
        }
    }

    // Forgets what an earlier search posted late.
    void dropMessages() {
        std::lock_guard lock(mutex_);
        messages_.clear();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<InputLine> lines_;
    std::deque<PortMessage> messages_;
    bool closed_ = false;
};

} // namespace quintrel::pbrain
