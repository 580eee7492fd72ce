#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessaro::logic {

// The ladder, easiest first. Difficulties are in tenths on the common explainers' scale; chain
// techniques start at their base and rise with the chain's length.
enum class Technique : std::uint8_t {
    FullHouse,
    HiddenSingleBox,
    HiddenSingleLine,  // row, column or diagonal
    DirectPointing,  // box and row or column only
    DirectHiddenPair,
    NakedSingle,
    DirectHiddenTriple,
    Pointing,        // every other locked set counts as a generalized one
    Claiming,
    GeneralizedLocked,  // every place of d in a house sees the cell
    NakedPair,
    XWing,
    HiddenPair,
    NakedTriple,
    Swordfish,
    HiddenTriple,
    TwoStrongLinks,  // skyscraper, kite, turbot fish, their loops and grouped forms
    XYWing,
    XYZWing,
    UniqueRectangle,  // needs the puzzle to have one solution, as does the grave
    UniqueLoop,       // six or more cells, rising with the length
    NakedQuad,
    Jellyfish,
    HiddenQuad,
    ThreeStrongLinks,
    WXYZWing,
    BivalueGrave,
    FourStrongLinks,
    FiveStrongLinks,
    VWXYZWing,
    AlignedPairExclusion,
    XCycle,
    YCycle,                // alternating loops over bivalue cells
    ForcingXChain,
    SixStrongLinks,
    UVWXYZWing,
    ForcingChain,
    TUVWXYZWing,
    AlignedTripletExclusion,
    NishioForcingChain,    // a contradiction over one digit's links, dynamic
    MultipleForcingChain,  // cell or house forcing chains
    DynamicForcingChain,   // later links use the removals of earlier ones
    DynamicForcingChainPlus,  // with the basic rungs (locked sets, subsets, X-wing, swordfish) inside
    NestedForcingChain,
    Count
};

class LogicState;
struct Step;

// A finder looks for its technique's easiest instance in the state (deterministically) and
// returns it, or nothing. One file per technique family; the ladder lists them.
using Finder = std::optional<Step> (*)(const LogicState& state);
// The nested rungs also take how many levels deep they may still nest.
inline constexpr int kDeepestNesting = 12;  // a guard only: one solution needs far fewer
using NestingFinder = std::optional<Step> (*)(const LogicState& state, int nesting);

// One rung of the ladder: each technique is a row of it, and nothing else repeats its value.
struct TechniqueInfo {
    Technique technique;
    std::string_view name;  // German, as the path and the rating print it
    std::string_view key;   // ASCII, for --technik
    int difficulty;         // base, in tenths
    Finder find = nullptr;               // nesting as deep as it needs
    NestingFinder findNested = nullptr;  // nested rungs: the same with a depth limit
    bool chain = false;  // its steps carry the chains of their proof
};
using Rung = TechniqueInfo;

// Every rung, in the order of their base difficulty (the enum's order).
std::span<const TechniqueInfo> Ladder();
const TechniqueInfo& Info(Technique t);

// The technique whose key or name (either case) is text.
std::optional<Technique> TechniqueByName(std::string_view text);

}  // namespace tessaro::logic
