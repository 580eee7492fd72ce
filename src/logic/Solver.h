#pragma once

#include <climits>
#include <functional>
#include <optional>
#include <vector>

#include "engine/Board.h"
#include "logic/LogicState.h"
#include "logic/Step.h"

namespace tessaro::logic {

// The easiest step the ladder finds in the state: the first rung (easiest first) with an
// instance, except that a chain step rising above a later rung's base lets that rung compete.
// Nothing when the state is solved or contradicted.
std::optional<Step> NextStep(const LogicState& state);
// The same, using only the rungs below maxDifficulty and nested rungs at most nesting levels deep
// (nested chains call this).
std::optional<Step> NextStep(const LogicState& state, int maxDifficulty, int nesting = kDeepestNesting);

// Writes the placements and removes the eliminations.
void Apply(LogicState& state, const Step& step);

enum class Verdict { Solved, BrokenRule, NoSolution, SeveralSolutions, Stuck };

struct SolvingPath {
    Verdict verdict = Verdict::Stuck;
    std::vector<Step> steps;
    int rating = 0;                          // the highest difficulty on the path, tenths
    Technique hardest = Technique::FullHouse;  // its technique
};

// The whole path from the board: easiest step each time until solved. A board that breaks a
// rule, has no solution or several is reported so with no steps (the exact solver decides).
// With maxDifficulty the path stops Stuck where only a step of that difficulty or more is left
// (rating within a band without the cost of the hardest rungs).
SolvingPath SolvePath(const Grid& board, int maxDifficulty = INT_MAX);

// "x.y" for a difficulty in tenths.
std::string RatingText(int tenths);

}  // namespace tessaro::logic
