// Single-digit alternating loops (X-cycles).
#include "logic/Chains.h"
#include "logic/Finders.h"

namespace tessaro::logic {

std::optional<Step> FindXCycle(const LogicState& state) { return FindContinuousLoop(state, Technique::XCycle, kEachDigitAlone); }

}  // namespace tessaro::logic
