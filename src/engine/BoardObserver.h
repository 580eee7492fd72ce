#pragma once

namespace tessaro {

// What the engine tells the display. The engine never draws; every change it makes to the board
// that the player should see is reported here, in the order it happens.
class BoardObserver {
public:
    virtual ~BoardObserver() = default;
    // One cell was written; paint it with this value (0 = empty), as a given when it holds one.
    virtual void CellChanged(int x, int y, int value) = 0;
    // Every cell must be painted again from board and givens (the first half of a whole-board redraw).
    virtual void AllCellsChanged() = 0;
    // digitCount and the status verdict were recomputed; beep is true for "Falsche Zahl! ".
    virtual void StatisticsRefreshed(bool beep) = 0;
    // The candidate marks must be painted as the model holds them.
    virtual void CandidatesChanged() = 0;
    // The timed-game flag was cleared by the candidate display; the clock label must follow.
    virtual void TimedGameEnded() = 0;
    // The givens changed by an undo or redo; their count must be painted again.
    virtual void GivensChanged() {}
    // The note marks of one cell must be painted as the model holds them (nothing on a filled cell).
    virtual void MarksChanged(int /*x*/, int /*y*/) {}
};

// For callers without a display (tests, tools).
class NullObserver final : public BoardObserver {
public:
    void CellChanged(int, int, int) override {}
    void AllCellsChanged() override {}
    void StatisticsRefreshed(bool) override {}
    void CandidatesChanged() override {}
    void TimedGameEnded() override {}
};

}  // namespace tessaro
