#pragma once
// What a Gomocup brain says of its search in a MESSAGE line. Brains use no
// common format, so the reader knows the usual ones:
//   ours:   "MESSAGE SeenPos Time Pos/sec Branch MaxDepth Breaks SavedWork Score Remark"
//   keyed:  "depth 6", "Depth 12-20", "ev 34", "Eval -120", "speed 5400",
//           "Speed 12K", "speed_kps 8", "nps 5400", "n/ms 5", also with ':' or '='
// A line is a search report only when it gives a depth: a book move or a
// note is not a search, so it counts toward no mean.

#include <optional>
#include <string_view>

namespace quintrel {

struct BrainReport {
    int depth = 0;
    std::optional<long long> eval;
    std::optional<long long> speed; // positions per second
    bool stoppedByTime = false;     // the time, not the depth, ended the search
};

// The report a line carries, with or without its leading "MESSAGE".
std::optional<BrainReport> parseBrainReport(std::string_view line);

} // namespace quintrel
