#include "logic/Solver.h"

#include <climits>

#include "puzzles/SudokuXSolver.h"

namespace tessaro::logic {

std::optional<Step> NextStep(const LogicState& state) { return NextStep(state, INT_MAX); }

std::optional<Step> NextStep(const LogicState& state, int maxDifficulty, int nesting) {
    if (state.Solved() || state.Contradicted()) return std::nullopt;
    std::optional<Step> best;
    for (const Rung& rung : Ladder()) {
        const int base = Info(rung.technique).difficulty;
        if (base >= maxDifficulty || best) break;  // the scale takes the first rung that has a step
        std::optional<Step> step = rung.findNested ? rung.findNested(state, nesting) : rung.find(state);
        if (step && step->difficulty < maxDifficulty) best = std::move(step);
    }
    return best;
}

void Apply(LogicState& state, const Step& step) {
    for (const Candidate& c : step.placements) {
        if (state.value[c.cell] == 0) state.Place(c.cell, c.digit);
    }
    for (const Candidate& c : step.eliminations) state.Eliminate(c.cell, c.digit);
}

SolvingPath SolvePath(const Grid& board, int maxDifficulty) {
    SolvingPath path;
    std::optional<LogicState> state = LogicState::FromGrid(board);
    if (!state) {
        path.verdict = Verdict::BrokenRule;
        return path;
    }
    const int solutions = SudokuXSolver::CountSolutions(board, 2);
    if (solutions != 1) {
        path.verdict = solutions == 0 ? Verdict::NoSolution : Verdict::SeveralSolutions;
        return path;
    }
    while (!state->Solved()) {
        std::optional<Step> step = NextStep(*state, maxDifficulty);
        if (!step) {
            path.verdict = Verdict::Stuck;
            return path;
        }
        if (step->difficulty > path.rating) {
            path.rating = step->difficulty;
            path.hardest = step->technique;
        }
        Apply(*state, *step);
        path.steps.push_back(std::move(*step));
    }
    path.verdict = Verdict::Solved;
    return path;
}

}  // namespace tessaro::logic
