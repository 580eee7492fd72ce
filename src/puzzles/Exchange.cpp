#include "puzzles/Exchange.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "engine/Houses.h"
#include "puzzles/SudokuXSolver.h"

namespace tessaro {
namespace {

// A puzzle file is a list of short lines; anything beyond this is not read.
constexpr std::size_t kMaxFileBytes = 1 << 20;

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '|' ||
           c == '-' || c == '+';
}

bool IsCell(char c) { return c == '.' || (c >= '0' && c <= '9'); }

// The character at text[i] for a message: printable ASCII or one whole UTF-8 sequence.
std::string CharacterAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead > 0x20 && lead < 0x7F) return std::string(1, text[i]);
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return {};
    for (int k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return {};
    }
    return std::string(text.substr(i, length));
}

// How a message names a house.
std::string UnitName(int house) {
    constexpr std::array<const char*, 9> kBoxes{
        "im Block oben links",  "im Block oben Mitte",  "im Block oben rechts",
        "im Block Mitte links", "im mittleren Block",   "im Block Mitte rechts",
        "im Block unten links", "im Block unten Mitte", "im Block unten rechts"};
    if (house < 9) return "in Zeile " + std::to_string(house + 1);
    if (house < 18) return "in Spalte " + std::to_string(house - 8);
    if (house < 27) return kBoxes[house - 18];
    return house == geometry::kMainDiagonal ? "in der Diagonale von links oben nach rechts unten"
                                            : "in der Diagonale von links unten nach rechts oben";
}

std::string Line(const Grid& givens, const Grid* entries) {
    std::string line;
    line.reserve(81);
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            int value = givens[At(x, y)];
            if (value == 0 && entries) value = (*entries)[At(x, y)];
            line += value >= 1 && value <= 9 ? static_cast<char>('0' + value) : '.';
        }
    }
    return line;
}

bool IsBlank(std::string_view text) {
    for (char c : text) {
        if (!IsSkipped(c)) return false;
    }
    return true;
}

// The first proper puzzle of a file's text; else the reason the first puzzle line fails.
PuzzleReading FromFileText(std::string_view text, const std::string& name) {
    PuzzleReading first;
    bool any = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (IsBlank(line)) continue;
        PuzzleReading reading = ReadPuzzle(line);
        if (reading.ok()) return reading;
        if (!any) first = std::move(reading);
        any = true;
    }
    const PuzzleReading whole = ParsePuzzleText(text);
    if (whole.ok()) return ReadPuzzle(text);
    if (any) return first;
    return {Grid{}, "In der Datei „" + name + "“ steht kein Rätsel."};
}

}  // namespace

PuzzleReading ParsePuzzleText(std::string_view text) {
    PuzzleReading reading;
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsSkipped(c)) continue;
        if (!IsCell(c)) {
            const std::string shown = CharacterAt(text, i);
            reading.givens = Grid{};
            reading.error = shown.empty() ? "Der Text enthält ein Zeichen, das in kein Rätsel gehört."
                                          : "Das Zeichen „" + shown + "“ gehört in kein Rätsel.";
            return reading;
        }
        if (count < 81 && c >= '1' && c <= '9') {
            reading.givens[At(count % 9 + 1, count / 9 + 1)] = static_cast<std::uint8_t>(c - '0');
        }
        ++count;
    }
    if (count != 81) {
        reading.givens = Grid{};
        reading.error = "Ein Rätsel hat 81 Felder, der Text hat " + std::to_string(count) + ".";
    }
    return reading;
}

std::string PuzzleProblem(const Grid& givens) {
    // Columns are named before rows, and the anti-diagonal is read from the lower left, so that
    // the first repeat found is the one the message has always named.
    for (int k = 0; k < geometry::kHouseCount; ++k) {
        const int house = k < 9 ? 9 + k : k < 18 ? k - 9 : k;
        unsigned seen = 0;
        for (int i = 0; i < 9; ++i) {
            const int cell = geometry::kHouseCells.cells[house][house == geometry::kAntiDiagonal ? 8 - i : i];
            const int d = givens[geometry::GridIndex(cell)];
            if (d < 1 || d > 9) continue;
            if (seen & (1u << d)) return "Die " + std::to_string(d) + " steht zweimal " + UnitName(house) + ".";
            seen |= 1u << d;
        }
    }
    switch (SudokuXSolver::CountSolutions(givens, 2)) {
    case 0:
        return "Das Rätsel hat keine Lösung.";
    case 1:
        return {};
    default:
        return "Das Rätsel hat mehrere Lösungen.";
    }
}

PuzzleReading ReadPuzzle(std::string_view text) {
    PuzzleReading reading = ParsePuzzleText(text);
    if (reading.ok()) reading.error = PuzzleProblem(reading.givens);
    return reading;
}

std::string GivensLine(const BoardModel& model) { return Line(model.givens, nullptr); }

std::string GivensLine(const Grid& givens) { return Line(givens, nullptr); }

std::string BoardLine(const BoardModel& model) { return Line(model.givens, &model.board); }

PuzzleReading PuzzleFromArgument(std::string_view argument) {
    const std::string name(argument);
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG)) {
        bool puzzleText = !argument.empty();
        for (char c : argument) puzzleText = puzzleText && (IsSkipped(c) || IsCell(c));
        if (puzzleText) return ReadPuzzle(argument);
        return {Grid{}, "Die Datei „" + name + "“ gibt es nicht."};
    }
    std::string text;
    struct stat info {};
    bool readable = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    while (readable && text.size() < kMaxFileBytes) {
        char buffer[8192];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) readable = false;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    if (fd >= 0) ::close(fd);
    if (!readable) return {Grid{}, "Die Datei „" + name + "“ kann nicht gelesen werden."};
    if (text.size() > kMaxFileBytes) text.resize(kMaxFileBytes);
    return FromFileText(text, name);
}

}  // namespace tessaro
