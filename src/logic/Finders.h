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

}  // namespace tessaro::logic
