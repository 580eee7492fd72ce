#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "engine/Board.h"
#include "engine/BoardObserver.h"
#include "engine/Engine.h"
#include "support/SudokuX.h"

namespace tessaro {

struct Event {
    enum Kind { Cell, AllCells, Statistics, Candidates, TimedEnded } kind;
    int x = 0;
    int y = 0;
    int value = 0;  // the cell value, or 1 for a beep
    bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
    static const char* names[] = {"Cell", "AllCells", "Statistics", "Candidates", "TimedEnded"};
    return os << names[e.kind] << "(" << e.x << "," << e.y << "," << e.value << ")";
}

// Records what the engine reports, and checks at each report that the model already shows it:
// a reported cell holds the reported value, and a statistics refresh matches the board.
class RecordingObserver final : public BoardObserver {
public:
    RecordingObserver(const BoardModel& model, const Settings& settings) : model_(model), settings_(settings) {}

    void CellChanged(int x, int y, int value) override {
        EXPECT_EQ(model_.cell(x, y), value) << "cell (" << x << "," << y << ") reported before it was written";
        events.push_back({Event::Cell, x, y, value});
    }
    void AllCellsChanged() override { events.push_back({Event::AllCells}); }
    void StatisticsRefreshed(bool beep) override {
        int empty = 0;
        for (int x = 1; x <= 9; ++x) {
            for (int y = 1; y <= 9; ++y) empty += model_.cell(x, y) == 0;
        }
        EXPECT_EQ(model_.digitCount[0], empty);
        EXPECT_EQ(beep, settings_.status == Status::Wrong);
        events.push_back({Event::Statistics, 0, 0, beep ? 1 : 0});
    }
    void CandidatesChanged() override { events.push_back({Event::Candidates}); }
    void TimedGameEnded() override {
        EXPECT_FALSE(settings_.timedGame.load()) << "reported before the flag fell";
        events.push_back({Event::TimedEnded});
    }

    int Count(Event::Kind kind) const {
        int n = 0;
        for (const auto& e : events) n += e.kind == kind;
        return n;
    }

    std::vector<Event> events;

private:
    const BoardModel& model_;
    const Settings& settings_;
};

// One board model with its settings, engine and recorder, as the shell would own them.
struct Rig {
    BoardModel model;
    Settings settings;
    Engine engine{model, settings};
    RecordingObserver recorder{model, settings};

    explicit Rig(bool literal = false) {
        engine.SetObserver(&recorder);
        engine.UseLiteralAdmissible(literal);
    }
    // Givens into both grids, entries into the board only, then handed to the engine.
    void Load(const sx::Cells& givens, const sx::Cells& entries = sx::Cells{}) {
        sx::Load(model, givens, entries);
        engine.ModelReplaced();
    }
};

}  // namespace tessaro
