#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Board.h"
#include "logic/LogicState.h"
#include "logic/Step.h"

namespace tessaro::logic {

// What one press of the hint key shows or does.
struct Advice {
    enum class Kind {
        Conflicts,         // a symbol stands twice: show the conflicts instead
        NoSolution,        // the givens have no solution to compare with
        SeveralSolutions,  // or more than one
        WrongEntry,        // step.cells holds the entry that differs from the solution
        Pointer,           // the step's technique and where to look, nothing more
        Step,              // the whole step
        Enter,             // enter step.placements now; a digit 0 takes the entry out
        Solved,
        Stuck,
    };
    Kind kind = Kind::Stuck;
    Step step;
};

// The hint's coach. It compares the entries with the puzzle's one solution (solved once per
// givens), keeps its own candidate state (eliminations of earlier hints count while the board
// only gains entries) and leads through each step in three presses: where to look, the step,
// its entry. The caller shows the advice and makes the entries.
class Coach {
public:
    Advice Press(const Grid& board, const Grid& givens);
    // What the last press showed is gone (the board changed or other marks replaced it).
    void Forget() { shown_.reset(); }
    const std::optional<Advice>& Shown() const { return shown_; }

private:
    // The candidate state for the board: the kept one while the board only gained entries.
    LogicState StateFor(const Grid& board);
    // The puzzle's one solution, or nothing (solutionCount_ says why).
    const Grid* Solution(const Grid& givens);

    std::optional<Advice> shown_;
    std::optional<LogicState> state_;
    Grid stateBoard_{};  // the board state_ belongs to
    Grid solvedGivens_{};
    int solutionCount_ = -1;
    Grid solution_{};
};

// The houses a pointer tints: the step's own, else the box that holds all its cells; the cells
// themselves when no box does.
std::vector<int> PointerHouses(const Step& step);
std::vector<int> PointerCells(const Step& step);

// One line of at most `width` characters for the help panel, per kind ("Einer im Block: Z2S7=3",
// "Versteckter Einer: Zeile 2", "Z9 S1 stimmt nicht").
std::string AdviceLine(const Advice& advice, bool showDigits, std::size_t width = 26);
// The whole explanation after that line: sentence, chain links, effects (none for a wrong entry).
std::string AdviceExplanation(const Advice& advice, const std::string& line, bool showDigits);

}  // namespace tessaro::logic
