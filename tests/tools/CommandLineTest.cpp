// The terminal commands of the game binary: output format, order and exit status, without a display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "logic/Solver.h"
#include "puzzles/Exchange.h"
#include "puzzles/PuzzleGenerator.h"
#include "puzzles/SudokuXSolver.h"
#include "support/RunCommand.h"

#ifdef TESSARO_BINARY
namespace tessaro {
namespace {

// Rated above the singles, with eliminations on its path.
constexpr const char* kHardLine =
    ".....9......4...52.2.3.8..1..............3.......6.......6.2.4.91...5.......7....";

// One folder per test: CTest runs the tests of this file side by side.
std::filesystem::path Folder() {
    const std::filesystem::path folder = std::filesystem::path(TESSARO_TEST_OUTPUT_DIR) / "command-line" /
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(folder);
    return folder;
}

// The game with these arguments and no display to open a window on.
CommandResult Tessaro(const std::string& arguments, const std::string& input = "/dev/null") {
    return RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" TESSARO_BINARY "' " + arguments +
                          " <'" + input + "'",
                      Folder());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::filesystem::path WriteFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = Folder() / name;
    std::ofstream(path) << text;
    return path;
}

std::string RatingLine(const Grid& givens) {
    const logic::SolvingPath path = logic::SolvePath(givens);
    return GivensLine(givens) + ' ' + logic::RatingText(path.rating) + ' ' + std::string(logic::Info(path.hardest).name);
}

TEST(CommandLine, SolvingPathStepsLeadToTheSolutionAndEndWithTheRating) {
    const Grid givens = ParsePuzzleText(kHardLine).givens;
    Grid solution{};
    ASSERT_EQ(SudokuXSolver::CountSolutions(givens, 2, &solution), 1);
    const logic::SolvingPath path = logic::SolvePath(givens);

    const CommandResult run = Tessaro(std::string("--loesungsweg ") + kHardLine);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), path.steps.size() + 1);
    EXPECT_EQ(lines.back(), "Bewertung: " + logic::RatingText(path.rating) + " (" +
                                std::string(logic::Info(path.hardest).name) + ")");
    // Replaying the printed effects: placements fill the board with the solution, no elimination
    // removes a solution digit.
    const std::regex step(R"(([^:]+): (.+) => ((Z[1-9]S[1-9][=-][1-9])( Z[1-9]S[1-9][=-][1-9])*))");
    Grid board = givens;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, step)) << lines[i];
        EXPECT_EQ(match[1].str(), logic::Info(path.steps[i].technique).name) << lines[i];
        std::istringstream effects(match[3].str());
        for (std::string effect; effects >> effect;) {
            const int cell = At(effect[3] - '0', effect[1] - '0');
            const int digit = effect[5] - '0';
            if (effect[4] == '=') {
                EXPECT_EQ(digit, solution[cell]) << lines[i];
                board[cell] = static_cast<std::uint8_t>(digit);
            } else {
                EXPECT_NE(digit, solution[cell]) << lines[i];
            }
        }
    }
    EXPECT_EQ(board, solution);

    // A file is read as the game reads its argument: the first proper puzzle counts.
    const CommandResult fromFile =
        Tessaro("--loesungsweg '" + WriteFile("path.txt", "kein Rätsel\n" + std::string(kHardLine) + "\n").string() + "'");
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromFile.out, run.out);

    // Refused: no such file, a rule broken, several solutions; a German reason, nothing on stdout.
    for (const std::string& refused : {std::string("/keine/solche/datei.txt"), "11" + std::string(79, '.'),
                                       "1" + std::string(80, '.')}) {
        const CommandResult no = Tessaro("--loesungsweg '" + refused + "'");
        EXPECT_EQ(no.status, 2) << refused;
        EXPECT_EQ(no.out, "") << refused;
        EXPECT_THAT(no.err, testing::ContainsRegex("Datei|zweimal|mehrere Lösungen")) << refused;
    }
}

TEST(CommandLine, RatingAListKeepsTheInputOrderAndNamesRefusedLines) {
    // More lines than cores, easy and hard mixed, so that they finish out of order.
    SeedRandom(21);
    std::vector<Grid> puzzles;
    for (int i = 0; i < 9; ++i) puzzles.push_back(MakePuzzle(i % 3));
    puzzles.insert(puzzles.begin() + 4, ParsePuzzleText(kHardLine).givens);
    std::string input;
    std::string expected;
    for (const Grid& puzzle : puzzles) {
        input += GivensLine(puzzle) + '\n';
        expected += RatingLine(puzzle) + '\n';
    }
    const std::filesystem::path good = WriteFile("list.txt", input);
    for (const std::string& arguments : {"--bewerten '" + good.string() + "'", std::string("--bewerten -")}) {
        const CommandResult run = Tessaro(arguments, good.string());
        EXPECT_EQ(run.status, 0) << arguments << run.err;
        EXPECT_EQ(run.out, expected) << arguments;
        EXPECT_EQ(run.err, "") << "no progress unless stderr is a terminal";
    }

    // Blank lines are skipped; the others without a puzzle are named, and the rest goes on.
    const std::string mixed = GivensLine(puzzles[0]) + "\n\nkein Rätsel\n" + std::string(kHardLine) + "\n" +
                              "1" + std::string(80, '.') + "\n";
    const CommandResult run = Tessaro("--bewerten", WriteFile("mixed.txt", mixed).string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, RatingLine(puzzles[0]) + '\n' + RatingLine(ParsePuzzleText(kHardLine).givens) + '\n');
    EXPECT_THAT(Lines(run.err), testing::ElementsAre(testing::StartsWith("Zeile 3: "),
                                                     "Zeile 5: Das Rätsel hat mehrere Lösungen."));
    EXPECT_EQ(Tessaro("--bewerten /keine/solche/datei.txt").status, 2);

    // Bytes that are no text are refused in one line, never quoted back.
    std::string bytes(100000, '\0');
    std::mt19937 rng(5);
    for (char& c : bytes) c = static_cast<char>(rng());
    const std::filesystem::path binary = WriteFile("random.bin", bytes);
    for (const std::string& arguments : {"--bewerten '" + binary.string() + "'", std::string("--bewerten -")}) {
        const CommandResult refused = Tessaro(arguments, binary.string());
        EXPECT_EQ(refused.status, 2) << arguments;
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(Lines(refused.err).size(), 1u) << refused.err;
    }
}

TEST(CommandLine, HelpVersionAndWrongOptionsAnswerInTheTerminal) {
    const CommandResult help = Tessaro("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--loesungsweg", "--bewerten", "--neue-raetsel", "--bewertung", "--technik",
                               "--help", "--version", "x-wing", "verschachtelte-kette"}) {
        EXPECT_THAT(help.out, testing::HasSubstr(option));
    }
    const CommandResult version = Tessaro("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_THAT(version.out, testing::MatchesRegex("Tessaro [0-9]+\\.[0-9]+\n"));

    for (const char* wrong : {"--neue-raetsel --technik keine", "--neue-raetsel --bewertung 1.0-2.0",
                              "--neue-raetsel --bewertung", "--neue-raetsel --anders", "--loesungsweg",
                              "--unbekannt"}) {
        const CommandResult run = Tessaro(wrong);
        EXPECT_EQ(run.status, 2) << wrong;
        EXPECT_THAT(run.err, testing::HasSubstr("tessaro --help")) << wrong;
    }
}

}  // namespace
}  // namespace tessaro
#endif
