#include "logic/Solver.h"
#include "logic/Finders.h"

namespace tessaro::logic {

std::span<const Rung> Ladder() {
    static constexpr Rung kLadder[] = {
        {Technique::FullHouse, FindFullHouse},
        {Technique::HiddenSingleBox, FindHiddenSingleBox},
        {Technique::HiddenSingleLine, FindHiddenSingleLine},
        {Technique::DirectPointing, FindDirectPointing},
        {Technique::DirectClaiming, FindDirectClaiming},
        {Technique::DirectHiddenPair, FindDirectHiddenPair},
        {Technique::NakedSingle, FindNakedSingle},
        {Technique::DirectHiddenTriple, FindDirectHiddenTriple},
        {Technique::Pointing, FindPointing},
        {Technique::Claiming, FindClaiming},
        {Technique::GeneralizedLocked, FindGeneralizedLocked},
        {Technique::NakedPair, FindNakedPair},
        {Technique::XWing, FindXWing},
        {Technique::HiddenPair, FindHiddenPair},
        {Technique::NakedTriple, FindNakedTriple},
        {Technique::Swordfish, FindSwordfish},
        {Technique::HiddenTriple, FindHiddenTriple},
        {Technique::XYWing, FindXYWing},
        {Technique::XYZWing, FindXYZWing},
        {Technique::NakedQuad, FindNakedQuad},
        {Technique::Jellyfish, FindJellyfish},
        {Technique::HiddenQuad, FindHiddenQuad},
        {Technique::XCycle, FindXCycle},
        {Technique::ForcingXChain, FindForcingXChain},
        {Technique::ForcingChain, FindForcingChain},
        {Technique::Cycle, FindCycle},
        {Technique::MultipleForcingChain, FindMultipleForcingChain},
        {Technique::NestedForcingChain, FindNestedForcingChain},
    };
    return kLadder;
}

}  // namespace tessaro::logic
