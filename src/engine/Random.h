#pragma once

#include <cstdint>

namespace tessaro {

// A uniformly drawn integer 0..n-1 from the one process-wide generator (n >= 1).
int RandomBelow(int n);

// Makes the sequence of RandomBelow repeatable (tests, the puzzle generator).
void SeedRandom(std::uint64_t seed);

}  // namespace tessaro
