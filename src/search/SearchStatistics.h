#pragma once
// What one search did, as the log window shows it: positions seen, time,
// branching, deepest ply, the candidates skipped by cut-offs and the work
// they are estimated to have saved.
//
// Cut-offs are kept as a count per ply rather than as a list of records:
// the estimate of saved work weighs each skipped candidate only by the ply of
// its node, so the per-ply sums give the same figure (also under 32-bit
// wrap-around) while the search allocates nothing.

#include "app/MessagePort.h"
#include "board/Types.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quintrel {

class SearchStatistics {
public:
    // Deeper plies than this cannot be searched (maxDepth is at most 40).
    static constexpr int MAX_PLIES = 64;

    void clear();

    // Search hooks
    void countPosition(unsigned depth) {
        ++seenPositions;
        if (depth > maxDepthReached) maxDepthReached = depth;
    }
    void countNode(unsigned candidates) {
        ++expandedNodes;
        branchSum += candidates;
    }
    void recordCut(int count, int depth);

    // Derived figures
    std::uint32_t averageBranch() const { return expandedNodes == 0 ? 0 : branchSum / expandedNodes; }
    std::uint32_t savedWork(unsigned journalDepth) const;
    std::uint32_t positionsPerSecond() const {
        return timeMs == 0 ? 0 : static_cast<std::uint32_t>(seenPositions * 1000u) / timeMs;
    }

    // The log text from the SeenPos column on:
    // " %7u %7u %7u %6u %6u   %7u %10u %5i  %s"
    std::string logLine(unsigned journalDepth, int score, std::string_view remark) const;

    std::uint32_t timeMs = 0;
    std::uint32_t seenPositions = 0;
    std::uint32_t maxDepthReached = 0;
    std::uint32_t branchSum = 0;
    std::uint32_t expandedNodes = 0;
    std::uint32_t breaks = 0;

    // Skipped candidates summed per ply of the node that cut.
    std::array<std::uint32_t, MAX_PLIES> cutsAtDepth{};
};

// A searcher's root progress as the window shows it: "i/n" in the progress
// pane, and f as the field being examined.
void postRootProgress(const WindowHandle& window, int i, int n, Field f);

} // namespace quintrel
