#include "master/Lines.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace quintrel::master {

namespace {

// A line as the classification sees it, the new stone in the middle:
// 0 empty, 1 own, 2 blocked (the opponent or off the board).
enum : std::uint8_t { FREE = 0, OWN = 1, BLOCKED = 2 };

template <std::size_t N>
int lineIndex(const std::array<std::uint8_t, N>& l) {
    int v = 0;
    for (auto c : l)
        v = v * 3 + c;
    return v;
}

// Five or more wins: nine cells, the middle at 4, are enough.
struct FiveOrMore {
    using Line = std::array<std::uint8_t, 9>;
    static constexpr int MID = 4;
    static bool five(const Line& l) {
        for (int start = 0; start <= 4; ++start) {
            bool all = true;
            for (int i = start; i < start + 5; ++i)
                all = all && l[static_cast<std::size_t>(i)] == OWN;
            if (all) return true;
        }
        return false;
    }
    static bool alive(const Line& l) {
        for (int start = 0; start <= 4; ++start) {
            bool open = true;
            for (int i = start; i < start + 5; ++i)
                open = open && l[static_cast<std::size_t>(i)] != BLOCKED;
            if (open) return true;
        }
        return false;
    }
};

// Exactly five wins: eleven cells, the middle at 5; the cells beyond a five
// must not be own.
struct ExactlyFive {
    using Line = std::array<std::uint8_t, 11>;
    static constexpr int MID = 5;
    static bool window(const Line& l, int start, bool filled) {
        if (l[static_cast<std::size_t>(start - 1)] == OWN || l[static_cast<std::size_t>(start + 5)] == OWN)
            return false;
        for (int i = start; i < start + 5; ++i) {
            const auto c = l[static_cast<std::size_t>(i)];
            if (filled ? c != OWN : c == BLOCKED) return false;
        }
        return true;
    }
    static bool five(const Line& l) {
        for (int start = 1; start <= 5; ++start)
            if (window(l, start, true)) return true;
        return false;
    }
    static bool alive(const Line& l) {
        for (int start = 1; start <= 5; ++start)
            if (window(l, start, false)) return true;
        return false;
    }
    static bool overline(const Line& l) {
        int run = 1;
        for (int i = MID - 1; i >= 0 && l[static_cast<std::size_t>(i)] == OWN; --i)
            ++run;
        for (int i = MID + 1; i < 11 && l[static_cast<std::size_t>(i)] == OWN; ++i)
            ++run;
        return run >= 6;
    }
};

// The free cells where one more stone makes a five through the middle.
template <class R>
int fivePoints(typename R::Line& l, int* at) {
    int n = 0;
    for (int i = 0; i < static_cast<int>(l.size()); ++i) {
        auto& c = l[static_cast<std::size_t>(i)];
        if (c != FREE) continue;
        c = OWN;
        if (R::five(l)) at[n++] = i;
        c = FREE;
    }
    return n;
}

// The class of a line whose middle stone is placed: by counting the ways to
// five, then by what one more stone can reach, a level down per stone.
template <class R>
std::uint8_t classify(typename R::Line& l, std::vector<std::uint8_t>& memo) {
    std::uint8_t& known = memo[static_cast<std::size_t>(lineIndex(l))];
    if (known != 0xFF) return known;
    std::uint8_t result = DEAD;
    if (R::five(l)) {
        result = FIVE;
    } else if (R::alive(l)) {
        int points[11];
        const int waysToFive = fivePoints<R>(l, points);
        std::uint8_t best = NONE;
        if (waysToFive >= 2) {
            best = F4;
        } else if (waysToFive == 1) {
            best = B4;
        } else {
            for (auto& c : l) {
                if (c != FREE) continue;
                c = OWN;
                const std::uint8_t next = classify<R>(l, memo);
                c = FREE;
                if (next >= B2 && next <= F4) best = std::max<std::uint8_t>(best, next - 2);
            }
        }
        result = best;
    }
    known = result;
    return result;
}

// The line of side s (0 or 1) around the middle, from a code.
template <class R>
typename R::Line lineOf(int s, std::uint32_t code) {
    typename R::Line l{};
    l[R::MID] = OWN;
    for (int k = -R::MID; k <= R::MID; ++k) {
        if (k == 0) continue;
        const int v = static_cast<int>(code >> (2 * slotOf(k))) & 3;
        l[static_cast<std::size_t>(R::MID + k)] = v == 0 ? FREE : v == s + 1 ? OWN : BLOCKED;
    }
    return l;
}

template <class R>
std::unique_ptr<std::uint8_t[]> buildPatterns(int s, int bits) {
    auto t = std::make_unique<std::uint8_t[]>(std::size_t{1} << bits);
    std::vector<std::uint8_t> memo(std::size_t{1} << 18, 0xFF); // > 3^11
    for (std::uint32_t code = 0; code < (1u << bits); ++code) {
        auto l = lineOf<R>(s, code);
        t[code] = classify<R>(l, memo);
    }
    return t;
}

// Two five-points that close the same four stones from both ends.
bool straightFour(const ExactlyFive::Line& l, int n, const int* at) {
    if (n != 2 || at[1] - at[0] != 5) return false;
    for (int i = at[0] + 1; i < at[1]; ++i)
        if (l[static_cast<std::size_t>(i)] != OWN) return false;
    return true;
}

RenjuLine renjuLine(ExactlyFive::Line& l) {
    RenjuLine r{};
    if (ExactlyFive::five(l)) {
        r.five = 1;
        return r;
    }
    if (ExactlyFive::overline(l)) {
        r.overline = 1;
        return r;
    }
    int at[11];
    const int n = fivePoints<ExactlyFive>(l, at);
    r.fours = static_cast<std::uint8_t>(straightFour(l, n, at) ? 1 : std::min(n, 2));
    if (n) return r; // a four is no three
    for (int i = 0; i < 11; ++i) {
        auto& c = l[static_cast<std::size_t>(i)];
        if (c != FREE) continue;
        c = OWN;
        int next[11];
        const int m = fivePoints<ExactlyFive>(l, next);
        if (straightFour(l, m, next)) r.straightFourAt = static_cast<std::uint16_t>(r.straightFourAt | 1u << i);
        c = FREE;
    }
    return r;
}

std::unique_ptr<RenjuLine[]> buildRenju() {
    auto t = std::make_unique<RenjuLine[]>(std::size_t{1} << 20);
    // Many codes name one line (the opponent and the border both block): each line is read once.
    std::vector<RenjuLine> memo(std::size_t{1} << 18);
    std::vector<bool> known(memo.size());
    for (std::uint32_t code = 0; code < (1u << 20); ++code) {
        auto l = lineOf<ExactlyFive>(0, code);
        const auto i = static_cast<std::size_t>(lineIndex(l));
        if (!known[i]) {
            memo[i] = renjuLine(l);
            known[i] = true;
        }
        t[code] = memo[i];
    }
    return t;
}

} // namespace

const RuleTables& tablesFor(Rule rule) {
    // Each table is built on first use, once, whoever asks first; renju
    // shares black's with standard and white's with freestyle.
    static const auto freestyle = [] {
        static const std::unique_ptr<std::uint8_t[]> t[2] = {buildPatterns<FiveOrMore>(0, 16),
                                                             buildPatterns<FiveOrMore>(1, 16)};
        return t;
    };
    static const auto exact = [] {
        static const std::unique_ptr<std::uint8_t[]> t[2] = {buildPatterns<ExactlyFive>(0, 20),
                                                             buildPatterns<ExactlyFive>(1, 20)};
        return t;
    };
    if (rule == Rule::STANDARD) {
        static const RuleTables r{{exact()[0].get(), exact()[1].get()}, {0xFFFFF, 0xFFFFF}, nullptr};
        return r;
    }
    if (rule == Rule::RENJU) {
        static const std::unique_ptr<RenjuLine[]> renju = buildRenju();
        static const RuleTables r{{exact()[0].get(), freestyle()[1].get()}, {0xFFFFF, 0xFFFF}, renju.get()};
        return r;
    }
    static const RuleTables r{{freestyle()[0].get(), freestyle()[1].get()}, {0xFFFF, 0xFFFF}, nullptr};
    return r;
}

bool ruleFromProtocol(long long value, Rule& rule) {
    switch (value) {
    case 0: rule = Rule::FREESTYLE; return true;
    case 1: rule = Rule::STANDARD; return true;
    case 2:
    case 4: rule = Rule::RENJU; return true;
    default: return false;
    }
}

} // namespace quintrel::master
