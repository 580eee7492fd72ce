#include "logic/Solver.h"
#include "logic/Finders.h"

namespace tessaro::logic {

std::span<const Rung> Ladder() {
    static constexpr Rung kLadder[] = {
        {Technique::FullHouse, FindFullHouse},
        {Technique::HiddenSingleBox, FindHiddenSingleBox},
        {Technique::HiddenSingleLine, FindHiddenSingleLine},
        {Technique::NakedSingle, FindNakedSingle},
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
