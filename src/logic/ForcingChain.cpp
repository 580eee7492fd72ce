// Chains over bivalue cells and bilocal digits that refute or prove one candidate.
#include "logic/Chains.h"
#include "logic/Finders.h"

namespace tessaro::logic {

std::optional<Step> FindForcingChain(const LogicState& state) { return FindContradictionChain(state, Technique::ForcingChain, kEveryDigit); }

}  // namespace tessaro::logic
