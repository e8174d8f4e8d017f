#pragma once
// What the thinking-thread tests share: a rig that collects what a player
// posts, in arrival order, and a middle-game position to search.

#include "SearchTestUtil.h"
#include "app/MessagePort.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace quintrel::testing {

inline CBoard midGame() {
    return boardWith({{10, 10}, {11, 11}, {9, 11}, {12, 9}, {8, 8}},
                     {{11, 10}, {10, 11}, {12, 12}, {9, 9}, {13, 10}});
}

// Far deeper than any test waits for: only a stop ends it.
inline TreeSettings endless() { return treeSettings(12, TreeSettings::ABSOLUTE_BEST, TreeSettings::RECTANGULAR); }

struct Rig {
    std::shared_ptr<QueueSink> sink = std::make_shared<QueueSink>();
    std::vector<PortMessage> seen;

    template <class P>
    void attach(P& player, PlayerDefinition& d) {
        player.definition = &d;
        player.window = sink;
    }
    void collect() {
        for (auto& m : sink->drain()) seen.push_back(std::move(m));
    }
    // Only moves and log lines, in arrival order: "M" and "L".
    std::string deliveries() {
        collect();
        std::string out;
        for (const auto& m : seen)
            if (m.id == MSG_MOVE) out += 'M';
            else if (m.id == MSG_LOG) out += 'L';
        return out;
    }
    std::vector<PortMessage> of(int id) {
        collect();
        std::vector<PortMessage> out;
        for (const auto& m : seen)
            if (m.id == id) out.push_back(m);
        return out;
    }
    bool waitForLog(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (!of(MSG_LOG).empty()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
};

inline bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace quintrel::testing
