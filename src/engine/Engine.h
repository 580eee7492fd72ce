#pragma once

#include <array>

#include "engine/Board.h"
#include "engine/BoardObserver.h"
#include "engine/Rules.h"

namespace tessaro {

// The puzzle engine over one board model: rule questions, candidates, the status verdict, the
// solver, restart and clearing. It never draws; everything visible goes to the observer.
class Engine {
public:
    Engine(BoardModel& model, Settings& settings);

    void SetObserver(BoardObserver* observer) { observer_ = observer ? observer : &nullObserver_; }
    // The literal whole-board test answers every trial placement and the solver runs all its sweeps
    // digit by digit (reference runs only: the fast path must place exactly the same).
    void UseLiteralAdmissible(bool literal) { literalAdmissible_ = literal; }

    BoardModel& Model() { return model_; }
    Settings& Config() { return settings_; }

    // The trial placement of d into the empty cell (x, y), answered for the whole board.
    bool Admissible(int x, int y, int d);
    // True when every empty cell has at least one admissible digit.
    bool NoDeadEnd();
    // With the display on: ends the timed game, recomputes every mark; in both cases the marks are
    // handed to the observer for painting.
    void ComputeCandidates();

    // Recounts digitCount and decides the status verdict and the complete flag; true when a beep
    // is due ("Falsche Zahl! ").
    bool StatusCheck();
    // StatusCheck, then the observer repaints counts and verdict.
    void UpdateDigitCounts();
    bool StatusSolved() const { return settings_.statusMessage.starts_with('B'); }
    // Repaint every cell, refresh the statistics, then the candidate marks (recomputed when shown).
    void RedrawBoard();

    void SolveBoard();
    // The caller's solve: solve; if the board is unsolved and some empty cell has no admissible
    // digit, restart from the givens and solve once more.
    void SolveWithRestart();
    void PlaceNakedSingles(int x0, int y0);
    void PlaceHiddenSingleInBox(int x0, int y0);
    // Hidden singles of one line of nine cells, walked in the given order.
    void PlaceHiddenSingle(const std::array<int, 9>& xs, const std::array<int, 9>& ys);
    void GuessBivalue();
    void TakeSnapshot();
    void RestoreSnapshot();

    // Empties every cell that is not a given and clears all marks; draws nothing.
    void Restart();
    // Empties board, givens and marks (index 0 included) and redraws the whole board.
    void ClearBoard();

private:
    void Place(int x, int y, int d);
    // Brings the fast index in line with the board, which others may have written since the last
    // call; every public entry point does it once, the engine's own writes keep it in step after.
    void Sync();
    // Admissible without that check.
    bool Allowed(int x, int y, int d);
    // The sweeps without the initial Sync.
    void NakedSingles(int x0, int y0);
    void HiddenSingleInBox(int x0, int y0);
    void HiddenSingle(const std::array<int, 9>& xs, const std::array<int, 9>& ys);
    void HiddenSinglesFast(const std::array<int, 9>& xs, const std::array<int, 9>& ys);
    void PairTrial(const std::array<int, 9>& xs, const std::array<int, 9>& ys);

    BoardModel& model_;
    Settings& settings_;
    NullObserver nullObserver_;
    BoardObserver* observer_;
    AdmissibilityIndex index_;
    bool literalAdmissible_ = false;
    bool guessing_ = false;
    long placements_ = 0;
};

}  // namespace tessaro
