// Single-digit chains that refute or prove one candidate.
#include "logic/Chains.h"
#include "logic/Finders.h"

namespace tessaro::logic {

std::optional<Step> FindForcingXChain(const LogicState& state) { return FindContradictionChain(state, Technique::ForcingXChain, kEachDigitAlone); }

}  // namespace tessaro::logic
