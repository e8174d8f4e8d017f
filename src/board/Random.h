#pragma once
// The program's own pseudo-random generator: the classic linear congruential
// one (214013, 2531011) with a 15-bit output, one state per thread. Players
// draw from it in a fixed order, so a seeded run is reproducible move by move.

#include <cstdint>

namespace quintrel::rng {

inline thread_local std::uint32_t state = 1;

inline void seed(std::uint32_t s) { state = s; }

// 0..32767
inline int next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

// Seeds this thread's generator with the current time in seconds.
void seedWithTime();

} // namespace quintrel::rng
