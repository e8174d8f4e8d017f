#include "players/BrainReport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
#include <vector>

namespace quintrel {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Words split at blanks and at the separators brains put between fields.
std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    std::string word;
    for (const char c : line) {
        if (std::isspace(static_cast<unsigned char>(c)) || c == '|' || c == ',' || c == ';' ||
            c == '=' || c == ':') {
            if (!word.empty()) out.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) out.push_back(std::move(word));
    return out;
}

// The whole word as a number, a leading '+' allowed.
std::optional<long long> wholeNumber(std::string_view w) {
    if (!w.empty() && w[0] == '+') w.remove_prefix(1);
    long long v = 0;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc() || end != w.data() + w.size() || w.empty()) return std::nullopt;
    return v;
}

// A leading number ("12" of "12-20"), with a K or M multiplier after it.
std::optional<long long> leadingNumber(std::string_view w, bool withMultiplier) {
    if (!w.empty() && w[0] == '+') w.remove_prefix(1);
    long long v = 0;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc()) return std::nullopt;
    const std::string_view rest(end, static_cast<std::size_t>(w.data() + w.size() - end));
    if (withMultiplier && !rest.empty()) {
        if (rest[0] == 'k' || rest[0] == 'K') return v * 1000;
        if (rest[0] == 'm' || rest[0] == 'M') return v * 1000000;
    }
    return v;
}

// Our own statistics line: eight numbers, then the remark.
std::optional<BrainReport> ownReport(const std::vector<std::string>& w) {
    if (w.size() < 8) return std::nullopt;
    long long n[8];
    for (int i = 0; i < 8; ++i) {
        const auto v = wholeNumber(w[static_cast<std::size_t>(i)]);
        if (!v) return std::nullopt;
        n[i] = *v;
    }
    BrainReport r;
    r.depth = static_cast<int>(n[4]);
    r.speed = n[2];
    r.eval = n[7];
    return r;
}

} // namespace

std::optional<BrainReport> parseBrainReport(std::string_view line) {
    std::vector<std::string> w = words(line);
    if (!w.empty() && lower(w[0]) == "message") w.erase(w.begin());
    const std::string text = lower(line);
    const bool stopped = text.find("interrupted") != std::string::npos ||
                         text.find("stopped by time") != std::string::npos;
    if (auto own = ownReport(w)) {
        own->stoppedByTime = stopped;
        return own;
    }
    BrainReport r;
    bool searched = false;
    for (std::size_t i = 0; i + 1 < w.size(); ++i) {
        const std::string key = lower(w[i]);
        const std::string& value = w[i + 1];
        if (key == "depth") {
            if (const auto d = leadingNumber(value, false); d && *d >= 0) {
                r.depth = static_cast<int>(std::min<long long>(*d, 10000));
                searched = true;
            }
        } else if (key == "ev" || key == "eval" || key == "evaluation" || key == "score") {
            if (const auto v = wholeNumber(value)) r.eval = v;
        } else if (key == "speed" || key == "nps") {
            if (const auto v = leadingNumber(value, true)) r.speed = v;
        } else if (key == "speed_kps" || key == "kps" || key == "n/ms") {
            if (const auto v = leadingNumber(value, false)) r.speed = *v * 1000;
        }
    }
    if (!searched) return std::nullopt;
    r.stoppedByTime = stopped;
    return r;
}

} // namespace quintrel
