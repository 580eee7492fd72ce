#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessaro::logic {

// The ladder, easiest first. Difficulties are in tenths on the common explainers' scale; chain
// techniques start at their base and rise with the chain's length.
enum class Technique : std::uint8_t {
    FullHouse,
    HiddenSingleBox,
    HiddenSingleLine,  // row, column or diagonal
    DirectPointing,
    DirectClaiming,
    DirectHiddenPair,
    NakedSingle,
    DirectHiddenTriple,
    Pointing,
    Claiming,
    GeneralizedLocked,  // every place of d in a house sees the cell
    NakedPair,
    XWing,
    HiddenPair,
    NakedTriple,
    Swordfish,
    HiddenTriple,
    XYWing,
    XYZWing,
    NakedQuad,
    Jellyfish,
    HiddenQuad,
    XCycle,
    ForcingXChain,
    ForcingChain,
    Cycle,
    MultipleForcingChain,  // cell or house forcing chains
    NestedForcingChain,
    Count
};

struct TechniqueInfo {
    Technique technique;
    std::string_view name;  // German, as the path and the rating print it
    std::string_view key;   // ASCII, for --technik
    int difficulty;         // base, in tenths
};

inline constexpr std::array<TechniqueInfo, static_cast<int>(Technique::Count)> kTechniques{{
    {Technique::FullHouse, "Letztes freies Feld", "letztes-feld", 10},
    {Technique::HiddenSingleBox, "Versteckter Einer im Block", "versteckter-einer-block", 12},
    {Technique::HiddenSingleLine, "Versteckter Einer", "versteckter-einer", 15},
    {Technique::DirectPointing, "Direkte Blocksperre", "direkte-blocksperre", 17},
    {Technique::DirectClaiming, "Direkte Liniensperre", "direkte-liniensperre", 19},
    {Technique::DirectHiddenPair, "Direktes verstecktes Paar", "direktes-verstecktes-paar", 20},
    {Technique::NakedSingle, "Nackter Einer", "nackter-einer", 23},
    {Technique::DirectHiddenTriple, "Direkter versteckter Drilling", "direkter-versteckter-drilling", 25},
    {Technique::Pointing, "Blocksperre", "blocksperre", 26},
    {Technique::Claiming, "Liniensperre", "liniensperre", 28},
    {Technique::GeneralizedLocked, "Verallgemeinerte Sperre", "verallgemeinerte-sperre", 29},
    {Technique::NakedPair, "Nacktes Paar", "nacktes-paar", 30},
    {Technique::XWing, "X-Wing", "x-wing", 32},
    {Technique::HiddenPair, "Verstecktes Paar", "verstecktes-paar", 34},
    {Technique::NakedTriple, "Nackter Drilling", "nackter-drilling", 36},
    {Technique::Swordfish, "Swordfish", "swordfish", 38},
    {Technique::HiddenTriple, "Versteckter Drilling", "versteckter-drilling", 40},
    {Technique::XYWing, "XY-Wing", "xy-wing", 42},
    {Technique::XYZWing, "XYZ-Wing", "xyz-wing", 44},
    {Technique::NakedQuad, "Nackter Vierling", "nackter-vierling", 50},
    {Technique::Jellyfish, "Jellyfish", "jellyfish", 52},
    {Technique::HiddenQuad, "Versteckter Vierling", "versteckter-vierling", 54},
    {Technique::XCycle, "X-Zyklus", "x-zyklus", 65},
    {Technique::ForcingXChain, "Erzwingende X-Kette", "x-kette", 66},
    {Technique::ForcingChain, "Erzwingende Kette", "kette", 70},
    {Technique::Cycle, "Zyklus", "zyklus", 70},
    {Technique::MultipleForcingChain, "Mehrfache erzwingende Kette", "mehrfach-kette", 80},
    {Technique::NestedForcingChain, "Verschachtelte erzwingende Kette", "verschachtelte-kette", 85},
}};

constexpr const TechniqueInfo& Info(Technique t) { return kTechniques[static_cast<int>(t)]; }

// The technique whose key or name (either case) is text.
std::optional<Technique> TechniqueByName(std::string_view text);

}  // namespace tessaro::logic
