#pragma once

#include <optional>

#include "logic/LogicState.h"
#include "logic/Step.h"

namespace tessaro::logic {

// One finder per technique, each in its own file; Ladder.cpp orders them.
std::optional<Step> FindFullHouse(const LogicState& state);
std::optional<Step> FindHiddenSingleBox(const LogicState& state);
std::optional<Step> FindHiddenSingleLine(const LogicState& state);
std::optional<Step> FindNakedSingle(const LogicState& state);
// Chains, each its shortest instance; the last one is complete on positions with one solution.
std::optional<Step> FindXCycle(const LogicState& state);
std::optional<Step> FindForcingXChain(const LogicState& state);
std::optional<Step> FindForcingChain(const LogicState& state);
std::optional<Step> FindCycle(const LogicState& state);
std::optional<Step> FindMultipleForcingChain(const LogicState& state);
std::optional<Step> FindNestedForcingChain(const LogicState& state);

}  // namespace tessaro::logic
