#pragma once

#include <bit>
#include <cstdint>

namespace tessaro::logic {

// Counting bits without the popcount instruction, which the build does not assume: there
// std::popcount is a library call, and counts sit in the finders' innermost loops.
constexpr int BitCount(std::uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555u);
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// A set of the 81 cells (index 9 * row + column, both 0-based) in two machine words, so that
// intersections, unions and counts over peers and houses cost a few instructions.
struct CellSet {
    std::uint64_t low = 0;   // cells 0..63
    std::uint64_t high = 0;  // cells 64..80

    static constexpr CellSet Of(int cell) {
        CellSet s;
        s.Add(cell);
        return s;
    }
    constexpr void Add(int cell) {
        if (cell < 64) low |= std::uint64_t{1} << cell;
        else high |= std::uint64_t{1} << (cell - 64);
    }
    constexpr void Remove(int cell) {
        if (cell < 64) low &= ~(std::uint64_t{1} << cell);
        else high &= ~(std::uint64_t{1} << (cell - 64));
    }
    constexpr bool Has(int cell) const {
        return cell < 64 ? (low >> cell & 1u) != 0 : (high >> (cell - 64) & 1u) != 0;
    }
    constexpr int Count() const { return BitCount(low) + BitCount(high); }
    constexpr bool Empty() const { return (low | high) == 0; }
    // Two or more cells, told without counting them.
    constexpr bool Several() const { return ((low & (low - 1)) | (high & (high - 1))) != 0 || (low != 0 && high != 0); }
    // The smallest cell, or 81 when empty.
    constexpr int First() const {
        if (low != 0) return std::countr_zero(low);
        if (high != 0) return 64 + std::countr_zero(high);
        return 81;
    }
    constexpr CellSet operator&(CellSet o) const { return {low & o.low, high & o.high}; }
    constexpr CellSet operator|(CellSet o) const { return {low | o.low, high | o.high}; }
    constexpr CellSet Without(CellSet o) const { return {low & ~o.low, high & ~o.high}; }
    constexpr CellSet& operator&=(CellSet o) { return *this = *this & o; }
    constexpr CellSet& operator|=(CellSet o) { return *this = *this | o; }
    constexpr bool operator==(const CellSet&) const = default;

    // Iterates the cells in ascending order: for (int cell : set) ...
    struct Iterator {
        std::uint64_t low, high;
        int operator*() const { return low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(high); }
        Iterator& operator++() {
            if (low != 0) low &= low - 1;
            else high &= high - 1;
            return *this;
        }
        bool operator!=(const Iterator& o) const { return low != o.low || high != o.high; }
    };
    Iterator begin() const { return {low, high}; }
    Iterator end() const { return {0, 0}; }
};

inline constexpr CellSet kEveryCell{~std::uint64_t{0}, (std::uint64_t{1} << 17) - 1};

}  // namespace tessaro::logic
