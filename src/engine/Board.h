#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaro {

// Every grid has indices 0..9 per axis; index 0 is stored (and saved) but always 0.
// Entry (x, y) lies at x + 10 * y, x the column and y the row.
using Grid = std::array<std::uint8_t, 100>;
// Entry (x, y, d) lies at x + 10 * y + 100 * d.
using CandidateGrid = std::array<bool, 1000>;
using Counts = std::array<std::uint8_t, 10>;

constexpr int At(int x, int y) { return x + 10 * y; }
constexpr int At(int x, int y, int d) { return x + 10 * y + 100 * d; }

inline constexpr std::array<std::string_view, 4> kDifficultyNames{"  Leicht ", "  Mittel ", " Schwer ",
                                                                  " Extrem "};
inline constexpr std::array<std::string_view, 4> kPuzzleFiles{"leicht.brd", "mittel.brd", "schwer.brd",
                                                              "extrem.brd"};
inline constexpr std::string_view kBoardFile = "brett.brd";
inline constexpr int kExtrem = 3;

// The verdict of the status check; its German text is looked up where it is drawn.
enum class Status : std::uint8_t { NoErrors, Wrong, Solved };
inline constexpr std::string_view kStatusWrong = "Falsche Zahl! ";
inline constexpr std::string_view kStatusNoErrors = "Keine Fehler! ";
inline constexpr std::string_view kStatusSolved = "Brett gelöst!!!";
constexpr std::string_view StatusText(Status status) {
    switch (status) {
    case Status::Wrong: return kStatusWrong;
    case Status::Solved: return kStatusSolved;
    case Status::NoErrors: break;
    }
    return kStatusNoErrors;
}

// What a board record carries: board, givens and candidate marks.
struct Position {
    Grid board{};
    Grid givens{};
    CandidateGrid candidates{};

    bool operator==(const Position&) const = default;
};

// The board state. Only the engine writes it in the game; tests and tools may set one up directly.
struct BoardModel {
    Grid board{};
    Grid givens{};
    Counts digitCount{};
    CandidateGrid candidates{};

    std::uint8_t& cell(int x, int y) { return board[At(x, y)]; }
    std::uint8_t cell(int x, int y) const { return board[At(x, y)]; }
    std::uint8_t& given(int x, int y) { return givens[At(x, y)]; }
    std::uint8_t given(int x, int y) const { return givens[At(x, y)]; }
    bool& mark(int x, int y, int d) { return candidates[At(x, y, d)]; }
    bool mark(int x, int y, int d) const { return candidates[At(x, y, d)]; }
    void clearCandidates() { candidates.fill(false); }
};

// The settings and verdicts the engine reads and writes.
struct Settings {
    int difficulty = 0;
    bool showDigits = true;
    bool showCandidates = false;
    // The game is timed and can still enter the hall of fame; the clock worker reads it.
    std::atomic<bool> timedGame{false};
    Status status = Status::NoErrors;
    bool complete = false;
    std::string currentFile;
    bool ownBoard = false;
};

// The symbol shown for value 1..9: the digit, or the letter with code 64 + value.
inline std::string SymbolText(int value, bool showDigits) {
    if (value < 1 || value > 9) return {};
    return std::string(1, static_cast<char>((showDigits ? '0' : '@') + value));
}

}  // namespace tessaro
