#include <gtest/gtest.h>

#include "logic/Solver.h"
#include "support/ShippedPuzzles.h"

namespace tessaro::logic {
namespace {

TEST(SolvingPath, SolvesTheShippedSinglesPuzzlesAndRatesThem) {
    for (const sx::ShippedPuzzle& puzzle : sx::ShippedPuzzles(TESSARO_SOURCE_DATA_DIR)) {
        if (puzzle.name.starts_with("extrem")) continue;
        const SolvingPath path = SolvePath(puzzle.givens);
        EXPECT_EQ(path.verdict, Verdict::Solved) << puzzle.name;
        EXPECT_GE(path.rating, 10) << puzzle.name;
    }
}

}  // namespace
}  // namespace tessaro::logic
