#include "search/SearchStatistics.h"

#include <cstdio>

namespace quintrel {

void SearchStatistics::clear() { *this = SearchStatistics{}; }

void SearchStatistics::recordCut(int count, int depth) {
    if (count == 0) return;
    breaks += static_cast<std::uint32_t>(count);
    if (depth >= 0 && depth < MAX_PLIES) cutsAtDepth[static_cast<std::size_t>(depth)] += static_cast<std::uint32_t>(count);
}

// Sum over the cuts of count x (1 + B + ... + B^k), k = journalDepth - depth - 1:
// the positions that would have been seen below the skipped moves.
std::uint32_t SearchStatistics::savedWork(unsigned journalDepth) const {
    const std::uint32_t b = averageBranch();
    std::uint32_t total = 0;
    for (int d = 0; d < MAX_PLIES; ++d) {
        const std::uint32_t count = cutsAtDepth[static_cast<std::size_t>(d)];
        if (count == 0) continue;
        const int k = static_cast<int>(journalDepth) - d - 1;
        std::uint32_t sum = 1;
        std::uint32_t power = 1;
        for (int i = 1; i <= k; ++i) {
            power *= b;
            sum += power;
        }
        total += count * sum;
    }
    return total;
}

std::string SearchStatistics::logLine(unsigned journalDepth, int score, std::string_view remark) const {
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, " %7u %7u %7u %6u %6u   %7u %10u %5i  ", seenPositions, timeMs,
                  positionsPerSecond(), averageBranch(), maxDepthReached, breaks, savedWork(journalDepth), score);
    std::string line(numbers);
    line.append(remark);
    return line;
}

void postRootProgress(const WindowHandle& window, int i, int n, Field f) {
    auto sink = window.lock();
    if (!sink) return;
    char text[11];
    std::snprintf(text, sizeof text, "%3u/%3u", static_cast<unsigned>(i), static_cast<unsigned>(n));
    PortMessage progress;
    progress.id = MSG_PROGRESS;
    progress.text = text;
    sink->post(std::move(progress));
    PortMessage examined;
    examined.id = MSG_EXAMINED;
    examined.lParam = f.packed();
    sink->post(std::move(examined));
}

} // namespace quintrel
