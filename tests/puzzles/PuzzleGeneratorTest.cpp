#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "puzzles/PuzzleGenerator.h"
#include "puzzles/SudokuXSolver.h"
#include "engine/Random.h"

namespace tessaro {
namespace {

Grid FullGrid(std::uint64_t seed) {
    SeedRandom(seed);
    return SudokuXSolver::RandomFullGrid();
}

TEST(GradeWithEngine, TellsSweepsFromGuessesAndFailures) {
    Grid nearlyFull = FullGrid(11);
    nearlyFull[At(5, 5)] = 0;
    nearlyFull[At(2, 7)] = 0;
    EngineGrade grade = GradeWithEngine(nearlyFull);
    EXPECT_TRUE(grade.solved);
    EXPECT_FALSE(grade.guessed);

    // Nothing to go on: the sweeps place nothing and no cell has only two digits.
    grade = GradeWithEngine(Grid{});
    EXPECT_FALSE(grade.solved);
    EXPECT_TRUE(grade.guessed);
}

TEST(MeetsLevel, RejectsPuzzlesOutsideTheRule) {
    Grid nearlyFull = FullGrid(12);
    nearlyFull[At(1, 1)] = 0;
    EXPECT_TRUE(MeetsLevel(nearlyFull, 0));
    EXPECT_FALSE(MeetsLevel(nearlyFull, 1)) << "too many givens for Mittel";
    EXPECT_FALSE(MeetsLevel(nearlyFull, 3)) << "needs no guess";

    // Plenty of clues, but the digits 1 and 2 can be exchanged: two solutions.
    Grid ambiguous = FullGrid(13);
    for (std::uint8_t& value : ambiguous) {
        if (value == 1 || value == 2) value = 0;
    }
    EXPECT_FALSE(MeetsLevel(ambiguous, 0));
}

TEST(MakePuzzle, EachLevelMeetsItsRuleAndIsRepeatableBySeed) {
    for (int level = 0; level < 4; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        SeedRandom(100 + level);
        const Grid puzzle = MakePuzzle(level);
        const LevelRule& rule = kLevelRules[level];
        const int givens = CountGivens(puzzle);
        EXPECT_GE(givens, rule.minGivens);
        EXPECT_LE(givens, rule.maxGivens);
        EXPECT_EQ(SudokuXSolver::CountSolutions(puzzle, 2), 1);
        const EngineGrade grade = GradeWithEngine(puzzle);
        EXPECT_TRUE(grade.solved);
        EXPECT_EQ(grade.guessed, rule.needsGuess);
        SeedRandom(100 + level);
        EXPECT_EQ(MakePuzzle(level), puzzle);
    }
}

TEST(MakeLevel, RepeatsBySeedWhateverTheThreadsDoAndHonoursTheJudge) {
    LevelJudge judge;
    judge.keeps = [](int, const Grid& clues) { return CountGivens(clues) >= 32; };
    judge.accepts = [](int, const Grid& clues) { return CountGivens(clues) % 2 == 0; };
    const std::optional<std::array<Grid, 4>> first = MakeLevel(1, 7, kExtremCandidates, judge);
    ASSERT_TRUE(first);
    for (const Grid& puzzle : *first) {
        EXPECT_TRUE(MeetsLevel(puzzle, 1));
        EXPECT_GE(CountGivens(puzzle), 32);
        EXPECT_EQ(CountGivens(puzzle) % 2, 0);
    }
    for (int again = 0; again < 3; ++again) EXPECT_EQ(MakeLevel(1, 7, kExtremCandidates, judge), first);
    EXPECT_NE(MakeLevel(1, 8, kExtremCandidates, judge), first);
}

TEST(MakeRecord, HoldsTheCluesTwiceNoMarksAndFiller) {
    Grid clues = FullGrid(14);
    clues[At(3, 3)] = 0;
    clues[At(0, 4)] = 7;  // stray index-0 entries never reach the file
    clues[At(4, 0)] = 7;
    const PuzzleRecord record = MakeRecord(clues);
    for (int y = 0; y <= 9; ++y) {
        for (int x = 0; x <= 9; ++x) {
            const int expected = (x == 0 || y == 0) ? 0 : clues[At(x, y)];
            EXPECT_EQ(record[At(x, y)], expected);
            EXPECT_EQ(record[100 + At(x, y)], expected);
        }
    }
    EXPECT_TRUE(
        std::all_of(record.begin() + 200, record.begin() + 1200, [](std::uint8_t b) { return b == 0; }));
    std::array<int, 10> seen{};
    for (int i = 1200; i < kPuzzleRecordSize; ++i) {
        ASSERT_GE(record[i], 1);
        ASSERT_LE(record[i], 9);
        ++seen[record[i]];
    }
    for (int d = 1; d <= 9; ++d) EXPECT_GT(seen[d], 50) << "filler digit " << d << " hardly drawn";
}

TEST(WritePuzzleFile, WritesFourRecordsAndReportsFailure) {
    const std::filesystem::path folder = std::filesystem::path(TESSARO_TEST_OUTPUT_DIR) / "generator";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / "probe.brd";
    std::array<Grid, 4> puzzles{};
    for (int i = 0; i < 4; ++i) puzzles[i] = FullGrid(20 + i);
    ASSERT_TRUE(WritePuzzleFile(path, PuzzleFileBytes(puzzles)));

    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), 8800u);
    for (int record = 0; record < 4; ++record) {
        EXPECT_TRUE(
            std::equal(puzzles[record].begin(), puzzles[record].end(), bytes.begin() + record * 2200));
    }
    EXPECT_FALSE(WritePuzzleFile(folder / "missing" / "probe.brd", PuzzleFileBytes(puzzles)));
}

}  // namespace
}  // namespace tessaro
