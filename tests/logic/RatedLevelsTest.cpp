#include <gtest/gtest.h>

#include "engine/Random.h"
#include "logic/RatedLevels.h"

namespace tessaro::logic {
namespace {

TEST(RatedLevels, ReadsExtremBandsAndWidensTheBandForATechnique) {
    EXPECT_EQ(ParseRatingBand("3.4-6.5"), (RatingBand{34, 65}));
    EXPECT_EQ(ParseRatingBand("2,6-7"), (RatingBand{26, 70}));
    for (const char* wrong : {"2.5-3.0", "5.0-4.0", "3.4", "3.45-5.0", "a-b", "-4.0", "3.4-"}) {
        EXPECT_FALSE(ParseRatingBand(wrong)) << wrong;
    }
    // Without a band a technique is practised at its own rating, even below the default band, and
    // up to any rating when it is rated near the band's top or above it.
    EXPECT_EQ(MakeExtremChoice(std::nullopt, std::nullopt).band, kExtremBand);
    EXPECT_EQ(MakeExtremChoice(std::nullopt, Technique::FourStrongLinks).band, (RatingBand{26, 65}));
    EXPECT_EQ(MakeExtremChoice(std::nullopt, Technique::AlignedPairExclusion).band, (RatingBand{26, kNoUpperEnd}));
    EXPECT_EQ(MakeExtremChoice(std::nullopt, Technique::NestedForcingChain).band, (RatingBand{26, kNoUpperEnd}));
    EXPECT_EQ(MakeExtremChoice(RatingBand{40, 50}, Technique::XWing).band, (RatingBand{40, 50}));
}

// A rare rung is reached by walking from near misses; the puzzle must still meet every rule.
TEST(RatedLevels, PracticePuzzleOfARareTechniqueUsesIt) {
    const ExtremChoice choice = MakeExtremChoice(std::nullopt, Technique::NakedQuad);
    SeedRandom(3);
    int attempts = 0;
    const Grid puzzle = MakePuzzle(3, &attempts, RatedLevelJudge(choice));
    EXPECT_TRUE(MeetsLevel(puzzle, 3));
    EXPECT_TRUE(FitsLevel(SolvePath(puzzle), 3, choice));
    EXPECT_LE(attempts, 20);  // unaimed, this seed needs over a thousand full grids
}

// The game's one guess finishes no puzzle that needs a rung above the dynamic chains, so their
// practice puzzles are Extrem by the guess phase running, not by its success.
TEST(RatedLevels, PracticePuzzleAboveTheOneGuessNeedsOnlyTheGuessPhase) {
    const ExtremChoice choice = MakeExtremChoice(std::nullopt, Technique::DynamicForcingChainPlus);
    const LevelJudge judge = RatedLevelJudge(choice);
    SeedRandom(1);
    const Grid puzzle = MakePuzzle(3, nullptr, judge);
    EXPECT_TRUE(FitsLevel(SolvePath(puzzle), 3, choice));
    EXPECT_TRUE(MeetsLevel(puzzle, 3, judge));
    EXPECT_FALSE(MeetsLevel(puzzle, 3));
    EXPECT_TRUE(GradeWithEngine(puzzle).guessed);
}

}  // namespace
}  // namespace tessaro::logic
