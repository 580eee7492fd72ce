// Re-checks the committed puzzle files and those the game writes when asked for new puzzles: record
// layout, unique solutions, clue counts, how the game's own solver copes with each puzzle, and the
// rating band of each level.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "logic/RatedLevels.h"
#include "puzzles/SudokuXSolver.h"
#include "support/RunCommand.h"
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

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& folder, int level) {
    std::ifstream in(folder / std::string(kPuzzleFiles[level]), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Grid Area(const std::vector<std::uint8_t>& bytes, int record, int offset) {
    Grid grid{};
    std::copy_n(bytes.begin() + record * 2200 + offset, 100, grid.begin());
    return grid;
}

// Record layout, unique and distinct puzzles within the level's clue range and rating band, and
// the game's own solver finishing each the intended way.
void ExpectSoundPuzzleFile(const std::filesystem::path& folder, int level, const logic::ExtremChoice& choice = {}) {
    SCOPED_TRACE(std::string(kPuzzleFiles[level]));
    const std::vector<std::uint8_t> bytes = ReadFile(folder, level);
    ASSERT_EQ(bytes.size(), 8800u);
    const Expectation& expected = kExpected[level];
    std::set<Grid> seen;
    for (int record = 0; record < 4; ++record) {
        SCOPED_TRACE("record " + std::to_string(record));
        const Grid clues = Area(bytes, record, 0);
        EXPECT_EQ(clues, Area(bytes, record, 100)) << "board and givens differ";
        for (int i = 0; i < 100; ++i) {
            EXPECT_LE(clues[i], 9) << "cell " << i;
            if (i % 10 == 0 || i < 10) {
                EXPECT_EQ(clues[i], 0) << "index 0 entry " << i;
            }
        }
        const auto start = bytes.begin() + record * 2200;
        EXPECT_TRUE(std::all_of(start + 200, start + 1200, [](std::uint8_t b) { return b == 0; }))
            << "candidate marks set";
        EXPECT_TRUE(std::all_of(start + 1200, start + 2200, [](std::uint8_t b) { return b >= 1 && b <= 9; }))
            << "filler outside 1..9";

        Grid solution{};
        EXPECT_EQ(SudokuXSolver::CountSolutions(clues, 2, &solution), 1);
        const int givens = CountGivens(clues);
        EXPECT_GE(givens, expected.minGivens);
        EXPECT_LE(givens, expected.maxGivens);
        seen.insert(clues);
        const logic::SolvingPath path = logic::SolvePath(clues);
        EXPECT_TRUE(logic::FitsLevel(path, level, choice)) << "rated " << logic::RatingText(path.rating);

        BoardModel model;
        Settings settings;
        model.board = clues;
        model.givens = clues;
        Engine engine(model, settings);
        NullObserver observer;
        engine.SetObserver(&observer);
        engine.SolveBoard();
        EXPECT_EQ(settings.status, Status::Solved);
        EXPECT_EQ(settings.difficulty, expected.needsGuess ? kExtrem : 0)
            << (expected.needsGuess ? "the sweeps alone solve it" : "the sweeps alone do not solve it");
        EXPECT_EQ(model.board, solution);
        EXPECT_EQ(model.givens, clues) << "solving changed the givens";
    }
    EXPECT_EQ(seen.size(), 4u) << "a puzzle appears twice";
}

class PuzzleFile : public testing::TestWithParam<int> {};

TEST_P(PuzzleFile, IsSound) { ExpectSoundPuzzleFile(TESSARO_SOURCE_DATA_DIR, GetParam()); }

std::string LevelName(const testing::TestParamInfo<int>& info) {
    constexpr const char* kNames[] = {"Leicht", "Mittel", "Schwer", "Extrem"};
    return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(Shipped, PuzzleFile, testing::Range(0, 4), LevelName);

#ifdef TESSARO_BINARY
std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
    }
    return files;
}

// Runs the game with its per-user data folder under home.
CommandResult RunRenewal(const std::filesystem::path& home, const std::string& options = "") {
    return RunCommand("XDG_DATA_HOME='" + (home / "share").string() + "' '" TESSARO_BINARY "' --neue-raetsel " + options,
                      home);
}

TEST(Renewal, WritesFreshSoundFilesIntoThePlayersFolderOnly) {
    const std::filesystem::path home = std::filesystem::path(TESSARO_TEST_OUTPUT_DIR) / "renewal";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    const auto shipped = FolderFiles(TESSARO_SOURCE_DATA_DIR);

    const CommandResult run = RunRenewal(home);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, testing::HasSubstr("extrem.brd – fertig in"));
    const std::filesystem::path folder = home / "share" / "tessaro";
    const auto renewed = FolderFiles(folder);
    EXPECT_EQ(renewed.size(), 4u) << "only the four puzzle files, no temporary left";
    for (int level = 0; level < 4; ++level) {
        ExpectSoundPuzzleFile(folder, level);
        EXPECT_NE(renewed.at(std::string(kPuzzleFiles[level])), shipped.at(std::string(kPuzzleFiles[level])));
    }

    // Practice: Extrem puzzles whose path uses the technique, in the band asked for.
    ASSERT_EQ(RunRenewal(home, "--technik X-Wing --bewertung 2.6-4.0").status, 0);
    ExpectSoundPuzzleFile(folder, 3, logic::MakeExtremChoice(logic::RatingBand{26, 40}, logic::Technique::XWing));

    // A data folder that is the shipped one is refused before anything is written.
    std::filesystem::remove_all(home / "share");
    std::filesystem::create_directories(home / "share");
    std::filesystem::create_directory_symlink(TESSARO_SOURCE_DATA_DIR, home / "share" / "tessaro");
    EXPECT_EQ(RunRenewal(home).status, 1);
    EXPECT_EQ(FolderFiles(TESSARO_SOURCE_DATA_DIR), shipped);
}
#endif

}  // namespace
}  // namespace tessaro
