#pragma once

// What the finders share: building steps and their German lists, the hidden single that an
// elimination leaves behind, and the enumerations that direct and plain variants both walk.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logic/Finders.h"

namespace tessaro::logic {

// A step of the technique at its base difficulty, nothing else filled in.
Step NewStep(Technique technique);
// "Z1S1, Z1S5 und Z2S3" (or "... oder Z2S3").
std::string CellList(CellSet cells, std::string_view lastJoin = " und ");
// "3 und 7": the digits written with Sym.
std::string DigitNames(DigitMask digits);
// "die 3 und 7".
inline std::string DigitList(DigitMask digits) { return "die " + DigitNames(digits); }
std::string HouseList(const std::vector<int>& houses);
void AddCandidates(std::vector<Candidate>& to, CellSet cells, int digit);
void AddCandidates(std::vector<Candidate>& to, int cell, DigitMask digits);
// Each cell of cells, ascending, into the step's cells.
void AddCells(Step& step, CellSet cells);

// The line houses (rows, columns, both diagonals), ascending.
inline constexpr std::array<int, 20> kLines = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                               10, 11, 12, 13, 14, 15, 16, 17, 27, 28};

// A hidden single of digit that the removal of its candidates in removed leaves behind: a house
// (of within) that lost places and keeps exactly one. Boxes are looked at first, then the lines.
struct Single {
    int house;
    int cell;
};
// The i-th house with the boxes first, then rows, columns and diagonals.
constexpr int BoxesFirst(int i) { return i < 9 ? 18 + i : i < 27 ? i - 9 : i; }

using HouseMask = std::uint32_t;  // bit h: house h
inline constexpr HouseMask kEveryHouse = (1u << kHouseCount) - 1;
inline constexpr HouseMask kBoxes = 0x1ffu << 18;
constexpr HouseMask HouseBit(int house) { return 1u << house; }
std::optional<Single> SingleAfterRemoving(const LogicState& state, int digit, CellSet removed,
                                          HouseMask within = kEveryHouse);
// Turns a direct step's eliminations into shown reasons and places the single instead.
void MakeDirect(Step& step, int digit, Single single);

// Locked candidates: the places of digit in house `from` all lie in house `to` too, so digit
// leaves `removed`, the other places of `to`.
struct LockedSet {
    int from;
    int to;
    int digit;
    CellSet places;
    CellSet removed;
};
// Each locked set with something to remove, from a box (pointing) or from a line (claiming),
// houses and digits ascending, until visit returns true; true when it did.
template <class Visit>
bool ForEachLockedSet(const LogicState& state, bool fromBox, Visit&& visit) {
    for (int from = fromBox ? 18 : 0; from < (fromBox ? 27 : kHouseCount); ++from) {
        if (!fromBox && !IsLine(from)) continue;
        for (int d = 1; d <= 9; ++d) {
            const CellSet places = state.PlacesOf(from, d);
            if (!places.Several()) continue;
            const int first = places.First();
            for (int k = 0; k < kHouses.houseCount[first]; ++k) {
                const int to = kHouses.housesOf[first][k];
                if (to == from || !places.Without(kHouses.sets[to]).Empty()) continue;
                const CellSet removed = state.PlacesOf(to, d).Without(places);
                if (!removed.Empty() && visit(LockedSet{from, to, d, places, removed})) return true;
            }
        }
    }
    return false;
}

// A hidden subset: in house, the digits have no places outside cells (as many cells as digits).
struct HiddenSubset {
    int house;
    DigitMask digits;
    CellSet cells;
};
namespace detail {
// Places within one house: bit i is the house's i-th cell. Nine bits, so unions and counts in the
// enumeration below stay in one small word (counted with DigitCount, a 16-bit count).
using HousePlaces = std::uint16_t;
// Bit 9 * j of kLanes[m] is bit j of m: shifted by a cell's position in its house, it spreads
// that cell's candidates into per-digit lanes of places.
inline constexpr std::array<std::uint64_t, 128> kLanes = [] {
    std::array<std::uint64_t, 128> lanes{};
    for (unsigned m = 0; m < 128; ++m) {
        for (int j = 0; j < 7; ++j) lanes[m] |= std::uint64_t{m >> j & 1u} << (9 * j);
    }
    return lanes;
}();
// The digits of one house that may join a hidden subset (2..size places), with their places.
struct HouseDigits {
    std::array<int, 9> digit{};
    std::array<HousePlaces, 9> places{};
    int count = 0;
};
// Chooses size of the digits (from index next on; chosen so far, together in places); visit gets
// each choice whose places number size.
template <class Visit>
bool ExtendHidden(const HouseDigits& from, int size, int next, int chosen, DigitMask digits, HousePlaces places,
                  Visit& visit) {
    if (chosen == size) return DigitCount(places) == size && visit(digits, places);
    // Stops where too few digits are left to fill the subset.
    for (int i = next; i + size - chosen <= from.count; ++i) {
        const HousePlaces together = places | from.places[i];
        if (DigitCount(together) > size) continue;
        if (ExtendHidden(from, size, i + 1, chosen + 1, static_cast<DigitMask>(digits | Bit(from.digit[i])),
                         together, visit))
            return true;
    }
    return false;
}
}  // namespace detail
// Each hidden subset of size digits with another candidate in its cells, houses ascending, until
// visit returns true; true when it did.
template <class Visit>
bool ForEachHiddenSubset(const LogicState& state, int size, Visit&& visit) {
    for (int i = 0; i < kHouseCount; ++i) {
        const int house = BoxesFirst(i);
        const std::array<int, 9>& cells = kHouses.cells[house];
        // One pass over the house's cells gives every digit's places (lanes of nine bits: digits
        // 1..7 in one word, 8 and 9 in the other) and the open cells.
        std::uint64_t lanes[2] = {0, 0};
        int open = 0;
        for (int k = 0; k < 9; ++k) {
            const DigitMask cand = state.cand[cells[k]];
            open += cand != 0;
            lanes[0] |= detail::kLanes[cand & 0x7Fu] << k;
            lanes[1] |= detail::kLanes[cand >> 7] << k;
        }
        // Only a house with more open cells than size has other candidates to remove.
        if (open <= size) continue;
        detail::HouseDigits digits;
        for (int d = 1; d <= 9; ++d) {
            const auto places = static_cast<detail::HousePlaces>(lanes[d / 8] >> (9 * ((d - 1) % 7)) & 0x1FFu);
            const int count = DigitCount(places);
            if (count < 2 || count > size) continue;
            digits.digit[digits.count] = d;
            digits.places[digits.count++] = places;
        }
        if (digits.count < size) continue;
        auto withEffect = [&](DigitMask subsetDigits, detail::HousePlaces places) {
            bool effect = false;
            CellSet subsetCells{};
            for (int k = 0; k < 9; ++k) {
                if ((places >> k & 1u) == 0) continue;
                subsetCells.Add(cells[k]);
                effect |= (state.cand[cells[k]] & ~subsetDigits) != 0;
            }
            return effect && visit(HiddenSubset{house, subsetDigits, subsetCells});
        };
        if (detail::ExtendHidden(digits, size, 0, 0, 0, 0, withEffect)) return true;
    }
    return false;
}

// The hidden subset's step: the other candidates leave its cells.
Step HiddenSubsetStep(const LogicState& state, Technique technique, const HiddenSubset& subset);

}  // namespace tessaro::logic
