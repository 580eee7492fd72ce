// Re-checks the committed puzzle files: record layout, unique solutions, clue counts, and how the
// game's own solver copes with each puzzle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "SudokuXSolver.h"
#include "engine/Board.h"
#include "engine/BoardObserver.h"
#include "engine/Engine.h"

namespace tessaro {
namespace {

struct Expectation {
    int minGivens;
    int maxGivens;
    bool needsGuess;
};
// Leicht, Mittel, Schwer, Extrem.
constexpr std::array<Expectation, 4> kExpected{
    {{36, 81, false}, {30, 35, false}, {0, 29, false}, {0, 26, true}}};

std::vector<std::uint8_t> ReadFile(int level) {
    const std::filesystem::path path =
        std::filesystem::path(TESSARO_SOURCE_DATA_DIR) / std::string(kPuzzleFiles[level]);
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Grid Area(const std::vector<std::uint8_t>& bytes, int record, int offset) {
    Grid grid{};
    std::copy_n(bytes.begin() + record * 2200 + offset, 100, grid.begin());
    return grid;
}

class PuzzleFile : public testing::TestWithParam<int> {};

TEST_P(PuzzleFile, HasFourWellFormedRecords) {
    const std::vector<std::uint8_t> bytes = ReadFile(GetParam());
    ASSERT_EQ(bytes.size(), 8800u);
    for (int record = 0; record < 4; ++record) {
        SCOPED_TRACE("record " + std::to_string(record));
        const Grid board = Area(bytes, record, 0);
        EXPECT_EQ(board, Area(bytes, record, 100)) << "board and givens differ";
        for (int i = 0; i < 100; ++i) {
            EXPECT_LE(board[i], 9) << "cell " << i;
            if (i % 10 == 0 || i < 10) {
                EXPECT_EQ(board[i], 0) << "index 0 entry " << i;
            }
        }
        const auto start = bytes.begin() + record * 2200;
        EXPECT_TRUE(std::all_of(start + 200, start + 1200, [](std::uint8_t b) { return b == 0; }))
            << "candidate marks set";
        EXPECT_TRUE(std::all_of(start + 1200, start + 2200, [](std::uint8_t b) { return b >= 1 && b <= 9; }))
            << "filler outside 1..9";
    }
}

TEST_P(PuzzleFile, PuzzlesAreUniqueDistinctAndWithinTheClueRange) {
    const std::vector<std::uint8_t> bytes = ReadFile(GetParam());
    ASSERT_EQ(bytes.size(), 8800u);
    const Expectation& expected = kExpected[GetParam()];
    std::set<Grid> seen;
    for (int record = 0; record < 4; ++record) {
        SCOPED_TRACE("record " + std::to_string(record));
        const Grid clues = Area(bytes, record, 0);
        EXPECT_EQ(SudokuXSolver::CountSolutions(clues, 2), 1);
        const int givens = CountGivens(clues);
        EXPECT_GE(givens, expected.minGivens);
        EXPECT_LE(givens, expected.maxGivens);
        seen.insert(clues);
    }
    EXPECT_EQ(seen.size(), 4u) << "a puzzle appears twice";
}

TEST_P(PuzzleFile, TheGameSolverFinishesEachPuzzleTheIntendedWay) {
    const std::vector<std::uint8_t> bytes = ReadFile(GetParam());
    ASSERT_EQ(bytes.size(), 8800u);
    const bool needsGuess = kExpected[GetParam()].needsGuess;
    for (int record = 0; record < 4; ++record) {
        SCOPED_TRACE("record " + std::to_string(record));
        BoardModel model;
        Settings settings;
        model.board = Area(bytes, record, 0);
        model.givens = Area(bytes, record, 100);
        Engine engine(model, settings);
        NullObserver observer;
        engine.SetObserver(&observer);
        engine.SolveBoard();
        EXPECT_EQ(settings.status, Status::Solved);
        EXPECT_EQ(settings.difficulty, needsGuess ? kExtrem : 0)
            << (needsGuess ? "the sweeps alone solve it" : "the sweeps alone do not solve it");
        Grid solution{};
        ASSERT_EQ(SudokuXSolver::CountSolutions(Area(bytes, record, 0), 1, &solution), 1);
        EXPECT_EQ(model.board, solution);
        EXPECT_EQ(model.givens, Area(bytes, record, 100)) << "solving changed the givens";
    }
}

std::string LevelName(const testing::TestParamInfo<int>& info) {
    constexpr const char* kNames[] = {"Leicht", "Mittel", "Schwer", "Extrem"};
    return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(Shipped, PuzzleFile, testing::Range(0, 4), LevelName);

}  // namespace
}  // namespace tessaro
