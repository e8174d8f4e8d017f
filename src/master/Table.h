#pragma once
// The transposition table the strong engine's threads share. Lock-free: an
// entry is two atomic words, the key stored XOR the data, so a torn write
// (one word from one thread, one from another) reads as a miss, never as a
// wrong hit.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace quintrel::master {

enum Bound : std::uint8_t { BOUND_NONE = 0, BOUND_UPPER = 1, BOUND_LOWER = 2, BOUND_EXACT = 3 };

struct TableHit {
    int move = -1;
    int score = 0;
    int depth = 0;
    Bound bound = BOUND_NONE;
};

class TransTable {
public:
    // Sizes the table to at most `mb` megabytes; keeps it when the size is the same.
    void resize(int mb);
    void clear();
    bool probe(std::uint64_t key, TableHit& hit) const;
    void store(std::uint64_t key, int move, int score, int depth, Bound bound);

private:
    friend struct TableInspector; // the tests' way to the raw words
    // Plain words reached through std::atomic_ref: constructing 4 million
    // atomics one by one took 0.7 s.
    struct Entry {
        std::uint64_t check;
        std::uint64_t data;
    };
    static Entry* allocateEntries(std::size_t count);
    struct Free {
        void operator()(Entry* e) const;
    };
    std::unique_ptr<Entry[], Free> entries;
    std::size_t mask = 0;
    int sizeMb = 0;
};

} // namespace quintrel::master
