#pragma once

#include <optional>

#include "logic/LogicState.h"
#include "logic/Step.h"

namespace tessaro::logic {

// One finder per technique, in the file of its family; Ladder.cpp orders them.
std::optional<Step> FindFullHouse(const LogicState& state);
std::optional<Step> FindHiddenSingleBox(const LogicState& state);
std::optional<Step> FindHiddenSingleLine(const LogicState& state);
std::optional<Step> FindNakedSingle(const LogicState& state);
// Locked candidates (a box into a row or column) whose eliminations leave a hidden single, which
// the step places.
std::optional<Step> FindDirectPointing(const LogicState& state);
// Hidden subsets whose eliminations leave a hidden single, which the step places.
std::optional<Step> FindDirectHiddenPair(const LogicState& state);
std::optional<Step> FindDirectHiddenTriple(const LogicState& state);
// A box's places of a digit all on one line (row, column or diagonal).
std::optional<Step> FindPointing(const LogicState& state);
// A line's places of a digit all in one box or on another line.
std::optional<Step> FindClaiming(const LogicState& state);
// Every place of a digit in a house sees a cell outside it.
std::optional<Step> FindGeneralizedLocked(const LogicState& state);
// Naked subsets of one house; they remove their digits from every cell that sees them all.
std::optional<Step> FindNakedPair(const LogicState& state);
std::optional<Step> FindNakedTriple(const LogicState& state);
std::optional<Step> FindNakedQuad(const LogicState& state);
std::optional<Step> FindHiddenPair(const LogicState& state);
std::optional<Step> FindHiddenTriple(const LogicState& state);
std::optional<Step> FindHiddenQuad(const LogicState& state);
// Fish of two, three and four rows (or columns) whose places lie in as many columns (or rows).
std::optional<Step> FindXWing(const LogicState& state);
std::optional<Step> FindSwordfish(const LogicState& state);
std::optional<Step> FindJellyfish(const LogicState& state);
// Two to six strong links on one digit chained through cells that see each other.
std::optional<Step> FindTwoStrongLinks(const LogicState& state);
std::optional<Step> FindThreeStrongLinks(const LogicState& state);
std::optional<Step> FindFourStrongLinks(const LogicState& state);
std::optional<Step> FindFiveStrongLinks(const LogicState& state);
std::optional<Step> FindSixStrongLinks(const LogicState& state);
std::optional<Step> FindXYWing(const LogicState& state);
std::optional<Step> FindXYZWing(const LogicState& state);
// Four to seven cells, all but one in a house, holding as many digits, one of which may repeat.
std::optional<Step> FindWXYZWing(const LogicState& state);
std::optional<Step> FindVWXYZWing(const LogicState& state);
std::optional<Step> FindUVWXYZWing(const LogicState& state);
std::optional<Step> FindTUVWXYZWing(const LogicState& state);
// Only for a puzzle known to have one solution: a rectangle of two candidates off the diagonals,
// and the state where every cell but a few holds two candidates (bivalent universal grave).
std::optional<Step> FindUniqueRectangle(const LogicState& state);
std::optional<Step> FindBivalueGrave(const LogicState& state);
// The same for a loop of six or more cells on two digits, every house holding none or two of them.
std::optional<Step> FindUniqueLoop(const LogicState& state);
// Two or three cells tried together: no combination of their candidates may leave a cell that
// sees them all without a candidate, or give two of them that see each other one digit.
std::optional<Step> FindAlignedPairExclusion(const LogicState& state);
std::optional<Step> FindAlignedTripletExclusion(const LogicState& state);
// Chains, each its shortest instance; the last one is complete on positions with one solution.
std::optional<Step> FindXCycle(const LogicState& state);
std::optional<Step> FindForcingXChain(const LogicState& state);
std::optional<Step> FindForcingChain(const LogicState& state);
std::optional<Step> FindYCycle(const LogicState& state);
std::optional<Step> FindNishioForcingChain(const LogicState& state);
std::optional<Step> FindMultipleForcingChain(const LogicState& state);
std::optional<Step> FindDynamicForcingChain(const LogicState& state);
std::optional<Step> FindDynamicForcingChainPlus(const LogicState& state);
std::optional<Step> FindNestedForcingChain(const LogicState& state);
std::optional<Step> FindNestedForcingChainUpTo(const LogicState& state, int nesting);

}  // namespace tessaro::logic
