#pragma once

#include <cstdint>

namespace tessaro {

// A uniformly drawn integer 0..n-1 from the calling thread's generator (n >= 1).
int RandomBelow(int n);

// Makes the sequence of RandomBelow in this thread repeatable (tests, the puzzle generator).
void SeedRandom(std::uint64_t seed);

}  // namespace tessaro
