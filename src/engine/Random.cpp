#include "engine/Random.h"

#include <random>

namespace tessaro {
namespace {

// One per thread, so the puzzle generator's workers draw their own repeatable sequences.
std::mt19937_64& Generator() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    return generator;
}

}  // namespace

int RandomBelow(int n) {
    if (n <= 1) return 0;
    // Rejection keeps the draw uniform and independent of the standard library's distributions.
    const std::uint64_t range = static_cast<std::uint64_t>(n);
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % range;
    std::uint64_t value = 0;
    do {
        value = Generator()();
    } while (value >= limit);
    return static_cast<int>(value % range);
}

void SeedRandom(std::uint64_t seed) { Generator().seed(seed); }

}  // namespace tessaro
