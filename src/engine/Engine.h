#pragma once

#include <array>
#include <span>
#include <vector>

#include "engine/Board.h"
#include "engine/BoardObserver.h"
#include "engine/History.h"
#include "engine/Rules.h"

namespace tessaro {

// The puzzle engine over one board model: rule questions, candidates, the status verdict, the
// solver and every change of the board. It is the only code of the game that writes the model: each
// change keeps the admissibility index in step, is one entry of the undo history and is reported to
// the observer, which paints it.
class Engine {
public:
    Engine(BoardModel& model, Settings& settings);

    void SetObserver(BoardObserver* observer) { observer_ = observer ? observer : &nullObserver_; }
    BoardObserver& Observer() const { return *observer_; }
    // The literal whole-board test answers every trial placement and the solver runs all its sweeps
    // digit by digit (reference runs only: the fast path must place exactly the same).
    void UseLiteralAdmissible(bool literal);

    const BoardModel& Model() const { return model_; }
    Settings& Config() { return settings_; }
    const Settings& Config() const { return settings_; }
    const AdmissibilityIndex& Index() const { return index_; }
    const History& Moves() const { return history_; }
    // The model was set up outside the engine (tests and tools write boards directly): the index is
    // rebuilt and the history starts afresh.
    void ModelReplaced();

    // The trial placement of d into the empty cell (x, y), answered for the whole board.
    bool Admissible(int x, int y, int d) const;
    // True when every empty cell has at least one admissible digit.
    bool NoDeadEnd() const;
    // With the display on: ends the timed game, recomputes every mark; in both cases the marks are
    // handed to the observer for painting.
    void ComputeCandidates();

    // Recounts digitCount and decides the status verdict and the complete flag; true when a beep
    // is due ("Falsche Zahl! ").
    bool StatusCheck();
    // StatusCheck, then the observer repaints counts and verdict.
    void UpdateDigitCounts();
    bool StatusSolved() const { return settings_.status == Status::Solved; }
    // Repaint every cell, refresh the statistics, then the candidate marks (recomputed when shown).
    void RedrawBoard();
    // What follows the player's entry, clearing or marking of a cell: the marks recomputed when
    // they are shown, the counts and the verdict, and in own-board mode the givens and the level.
    void EntryDone();

    // ---- the player's changes; each is one undo entry ----
    // A symbol (0 clears) in a cell without a given; the cell is repainted.
    void EnterSymbol(int x, int y, int value);
    // Sets note mark d (1..9) of (x, y), then ComputeCandidates.
    void SetMark(int x, int y, int d);
    // Clears the note marks of (x, y), then ComputeCandidates.
    void ClearMarks(int x, int y);
    // Own board: value 1..9 becomes the cell's given and symbol, 0 empties both; the cell is repainted.
    void SetGiven(int x, int y, int value);
    // Empties every cell that is not a given and clears all marks; draws nothing.
    void Restart();
    // Disguises board and givens (ShuffleBoard) and redraws the whole board.
    void Shuffle();
    // A whole new puzzle: these givens become board and givens, every entry and mark goes; the
    // whole board and the givens count are redrawn.
    void SetPuzzle(const Grid& givens);
    // The caller's solve: solve; if the board is unsolved and some empty cell has no admissible
    // digit, restart from the givens and solve once more.
    void SolveWithRestart();

    // Switches the candidate display; every mark goes and the whole board is redrawn. One undo
    // entry: its undo switches back and returns the notes it cleared.
    void ToggleCandidateDisplay();

    // ---- new boards; each starts a fresh history ----
    // Empties board, givens and marks (index 0 included) and redraws the whole board.
    void ClearBoard();
    // A loaded record; draws nothing.
    void Load(const Position& position);
    // A new game from a puzzle record: loaded, shuffled, without marks; draws nothing.
    void StartPuzzle(const Position& position);
    // Starts the history afresh (entering the own board).
    void ForgetMoves() { history_.Clear(); }

    // Takes back the last change or applies the next undone one again; only the cells it touches
    // are repainted, then the statistics and the marks. False when there is nothing to do.
    bool Undo();
    bool Redo();

    // ---- solver steps (the game calls SolveWithRestart; these write without history) ----
    // Sweeps, then the guess phase when they leave the board unsolved (which sets the difficulty
    // to Extrem); true when the guess phase ran.
    bool SolveBoard();
    void PlaceNakedSingles(int x0, int y0);
    void PlaceHiddenSingleInBox(int x0, int y0);
    // Hidden singles of one line of nine cells, walked in the given order.
    void PlaceHiddenSingle(const std::array<int, 9>& xs, const std::array<int, 9>& ys);
    void GuessBivalue();
    void TakeSnapshot();
    void RestoreSnapshot();
    // The board the guessing phase returns to after a failed trial.
    const Grid& GuessSnapshot() const { return snapshot_; }

private:
    void Place(int x, int y, int d);
    void Reindex();
    void ClearAllMarks() { model_.candidates.fill(false); }
    // Admissible without any check of the index.
    bool Allowed(int x, int y, int d) const;
    void HiddenSinglesFast(const std::array<int, 9>& xs, const std::array<int, 9>& ys);
    void PairTrial(const std::array<int, 9>& xs, const std::array<int, 9>& ys);
    void RestartQuietly();

    // One change: the state before it is kept, and the difference is recorded when it ends.
    void BeginChange();
    void EndChange(ChangeKind kind);
    static std::uint16_t MarkBits(const CandidateGrid& marks, int at);
    void SetMarkBits(int at, std::uint16_t bits);
    void Apply(std::span<const CellEdit> edits, bool forward);
    void ApplyDisplaySwitch(std::span<const CellEdit> edits, bool forward);

    BoardModel& model_;
    Settings& settings_;
    NullObserver nullObserver_;
    BoardObserver* observer_;
    AdmissibilityIndex index_;
    History history_;
    Position before_;
    std::vector<CellEdit> edits_;
    Grid snapshot_{};
    bool literalAdmissible_ = false;
    bool guessing_ = false;
    long placements_ = 0;
};

}  // namespace tessaro
