#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <optional>

#include "engine/Board.h"
#include "logic/CellSet.h"
#include "logic/Houses.h"

namespace tessaro::logic {

// Digit d (1..9) is bit d - 1 of a candidate mask.
using DigitMask = std::uint16_t;
inline constexpr DigitMask kAllDigits = 0x1FF;
constexpr DigitMask Bit(int digit) { return static_cast<DigitMask>(1u << (digit - 1)); }
constexpr int LowestDigit(DigitMask mask) { return std::countr_zero(static_cast<unsigned>(mask)) + 1; }
// Looked up by bytes: masks are counted in the finders' innermost loops.
inline constexpr std::array<std::uint8_t, 256> kByteBits = [] {
    std::array<std::uint8_t, 256> bits{};
    for (int b = 0; b < 256; ++b) bits[b] = static_cast<std::uint8_t>(BitCount(static_cast<std::uint64_t>(b)));
    return bits;
}();
constexpr int DigitCount(DigitMask mask) { return kByteBits[mask & 0xFFu] + kByteBits[mask >> 8]; }

// What a person solving on paper has: the board, and for each empty cell the digits not yet
// ruled out. Candidates start as the admissible digits and only ever shrink.
struct LogicState {
    std::array<std::uint8_t, kCellCount> value{};   // 0 = empty
    std::array<DigitMask, kCellCount> cand{};       // 0 for a filled cell
    std::array<CellSet, 10> cellsWith{};            // per digit: the empty cells holding it

    // The board (game layout: At(x, y), 0 = empty); no value if a value is out of range or two
    // equal digits share a house. An empty cell may end up with no candidate.
    static std::optional<LogicState> FromGrid(const Grid& board);
    Grid ToGrid() const;

    bool Has(int cell, int digit) const { return (cand[cell] & Bit(digit)) != 0; }
    // Writes digit into the empty cell and removes it from the candidates of every peer.
    void Place(int cell, int digit);
    void Eliminate(int cell, int digit);
    // The empty cells of house that still hold digit.
    CellSet PlacesOf(int house, int digit) const { return cellsWith[digit] & kHouses.sets[house]; }
    bool Solved() const;
    // An empty cell without candidates, or a digit missing from a house with no place left.
    bool Contradicted() const;
    int EmptyCount() const;
};

// What make() answers about the board, kept per thread for the next question about the same
// candidates: rungs side by side on the ladder ask about one board one after another. Each call
// site (make's type) keeps its own answer.
template <class Make>
const auto& ForSameCandidates(const LogicState& state, Make&& make) {
    using Answer = decltype(make());
    thread_local struct {
        std::optional<std::array<CellSet, 10>> candidates;
        std::optional<Answer> answer;
    } last;
    if (last.candidates != state.cellsWith) {
        last.answer.emplace(make());
        last.candidates = state.cellsWith;
    }
    return *last.answer;
}

}  // namespace tessaro::logic
