#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/Random.h"
#include "puzzles/Exchange.h"
#include "puzzles/PuzzleGenerator.h"

namespace tessaro {
namespace {

Grid Puzzle() {
    SeedRandom(3);
    return MakePuzzle(1);
}

std::string LineOf(const Grid& givens) {
    BoardModel model;
    model.givens = givens;
    return GivensLine(model);
}

// The line as a bordered grid: cells apart, "|" between boxes, "------+-------+------" between box
// rows, "0" for empty cells, CRLF line ends.
std::string Framed(const std::string& line) {
    std::string text;
    for (int y = 0; y < 9; ++y) {
        if (y == 3 || y == 6) text += "------+-------+------\r\n";
        for (int x = 0; x < 9; ++x) {
            if (x == 3 || x == 6) text += "| ";
            text += line[9 * y + x] == '.' ? '0' : line[9 * y + x];
            text += x == 8 ? "\r\n" : " ";
        }
    }
    return text;
}

TEST(PuzzleText, ReadsLinesAndFramedGridsAlike) {
    const Grid givens = Puzzle();
    const std::string line = LineOf(givens);
    ASSERT_EQ(line.size(), 81u);
    for (const std::string& text : {line, Framed(line), "\t" + line + "\n\n"}) {
        const PuzzleReading reading = ReadPuzzle(text);
        EXPECT_TRUE(reading.ok()) << reading.error << "\n" << text;
        EXPECT_EQ(reading.givens, givens) << text;
    }
}

TEST(PuzzleText, CopiedLinesReadBackAsTheyWere) {
    BoardModel model;
    model.givens = Puzzle();
    model.board = model.givens;
    for (int x = 1; x <= 9; ++x) {
        if (model.given(x, 5) == 0) model.cell(x, 5) = 9;  // the player's entries
    }
    const std::string givens = GivensLine(model);
    EXPECT_EQ(givens.find_first_not_of(".123456789"), std::string::npos);
    EXPECT_EQ(ParsePuzzleText(givens).givens, model.givens);
    EXPECT_EQ(ParsePuzzleText(BoardLine(model)).givens, model.board);
}

TEST(PuzzleText, SaysWhyItRejectsAText) {
    const std::string line = LineOf(Puzzle());
    const std::string empty(81, '.');
    // Two equal digits at (x1, y1) and (x2, y2) of an otherwise empty board.
    const auto pair = [&](int x1, int y1, int x2, int y2) {
        std::string text = empty;
        text[9 * (y1 - 1) + x1 - 1] = text[9 * (y2 - 1) + x2 - 1] = '6';
        return text;
    };
    // Row 1 holds 1..8, so (9, 1) must be 9, which column 9 already has.
    std::string blocked = "12345678." + empty.substr(9);
    blocked[9 * 4 + 8] = '9';
    const std::string withLetter = line.substr(0, 10) + "x" + line.substr(11);
    const std::string withUmlaut = line.substr(0, 10) + "ä" + line.substr(11);
    const std::string withControl = line.substr(0, 10) + "\x01" + line.substr(11);
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {line.substr(1), "Ein Rätsel hat 81 Felder, der Text hat 80."},
        {line + "1", "Ein Rätsel hat 81 Felder, der Text hat 82."},
        {"", "Ein Rätsel hat 81 Felder, der Text hat 0."},
        {withLetter, "Das Zeichen „x“ gehört in kein Rätsel."},
        {withUmlaut, "Das Zeichen „ä“ gehört in kein Rätsel."},
        {withControl, "Der Text enthält ein Zeichen, das in kein Rätsel gehört."},
        {pair(1, 2, 5, 2), "Die 6 steht zweimal in Zeile 2."},
        {pair(2, 1, 2, 5), "Die 6 steht zweimal in Spalte 2."},
        {pair(4, 5, 5, 4), "Die 6 steht zweimal im mittleren Block."},
        {pair(1, 1, 9, 9), "Die 6 steht zweimal in der Diagonale von links oben nach rechts unten."},
        {pair(1, 9, 5, 5), "Die 6 steht zweimal in der Diagonale von links unten nach rechts oben."},
        {blocked, "Das Rätsel hat keine Lösung."},
        {empty, "Das Rätsel hat mehrere Lösungen."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadPuzzle(c.text).error, c.error) << c.text;
    }
}

TEST(PuzzleArgument, TakesALineOrTheFirstProperPuzzleOfAFile) {
    const std::filesystem::path folder = std::filesystem::path(TESSARO_TEST_OUTPUT_DIR) / "exchange";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto file = [&](const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
        return (folder / name).string();
    };
    const Grid givens = Puzzle();
    const std::string line = LineOf(givens);
    SeedRandom(4);
    const Grid other = MakePuzzle(0);
    const std::string several(81, '.');

    EXPECT_EQ(PuzzleFromArgument(line).givens, givens);
    EXPECT_EQ(PuzzleFromArgument(file("list.txt", "Sammlung\n" + several + "\n" + line + "\n" + LineOf(other)))
                  .givens,
              givens);
    EXPECT_EQ(PuzzleFromArgument(file("framed.txt", Framed(LineOf(other)))).givens, other);
    EXPECT_EQ(PuzzleFromArgument(file("bad.txt", "\n" + several + "\nnoch was\n")).error,
              "Das Rätsel hat mehrere Lösungen.");
    EXPECT_THAT(PuzzleFromArgument(file("empty.txt", " \n\n")).error, testing::HasSubstr("steht kein Rätsel"));
    EXPECT_THAT(PuzzleFromArgument((folder / "missing.txt").string()).error, testing::HasSubstr("gibt es nicht"));
    EXPECT_EQ(PuzzleFromArgument("1234").error, "Ein Rätsel hat 81 Felder, der Text hat 4.");

    // Neither a pipe nor a folder is read; a pipe without a writer would block the start.
    const std::filesystem::path fifo = folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::filesystem::path& path : {fifo, folder}) {
        EXPECT_THAT(PuzzleFromArgument(path.string()).error, testing::HasSubstr("kann nicht gelesen werden"));
    }
}

}  // namespace
}  // namespace tessaro
