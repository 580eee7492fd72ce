// Alternating loops over cells and houses of any digits.
#include "logic/Chains.h"
#include "logic/Finders.h"

namespace tessaro::logic {

std::optional<Step> FindCycle(const LogicState& state) { return FindContinuousLoop(state, Technique::Cycle, kEveryDigit); }

}  // namespace tessaro::logic
