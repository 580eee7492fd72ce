#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "Recording.h"
#include "support/SudokuX.h"

namespace tessaro {
namespace {

using sx::Cells;

bool Solved(const Cells& cells) { return sx::CountFilled(cells) == 81 && !sx::HasConflict(cells); }

// Walks the reports of one guessing phase, which begins at events[pos] with the board `snapshot`,
// and checks them against the expected course: the cells with exactly two admissible digits are
// tried row by row and then along both diagonals, the smaller digit first; each try is followed by
// the reports of a full sweep run, a failed cell is drawn empty again, and every list that ends
// without a solution ends with a whole-board redraw.
struct GuessPhase {
    int guesses = 0;
    int undone = 0;
    bool solved = false;
    Cells board{};
};

GuessPhase CheckGuessPhase(const std::vector<Event>& events, std::size_t pos, const Cells& snapshot) {
    GuessPhase phase;
    phase.board = snapshot;
    auto next = [&]() -> Event {
        if (pos >= events.size()) {
            ADD_FAILURE() << "reports end early";
            return Event{Event::Candidates, -1, -1, -1};
        }
        return events[pos++];
    };
    auto expectRedraw = [&] {
        EXPECT_EQ(next(), Event{Event::AllCells});
        EXPECT_EQ(next().kind, Event::Statistics);
        EXPECT_EQ(next(), Event{Event::Candidates});
    };
    // One nested solve from the current board: placements into empty cells, then the statistics.
    auto nestedSolve = [&] {
        for (Event e = next(); e.kind != Event::Statistics; e = next()) {
            if (e.kind != Event::Cell) {
                ADD_FAILURE() << "unexpected " << e << " inside a trial";
                return;
            }
            const int i = sx::Index(e.x, e.y);
            EXPECT_EQ(phase.board[i], 0) << e << " overwrites a cell";
            EXPECT_NE(e.value, 0);
            phase.board[i] = e.value;
        }
        phase.solved = Solved(phase.board);
    };
    auto trialList = [&](auto cellOf) {
        for (int k = 1; k <= 9; ++k) {
            const auto [x, y] = cellOf(k);
            const int i = sx::Index(x, y);
            if (phase.board[i] != 0) continue;  // a solved board has no empty cell left
            const unsigned mask = sx::HasConflict(snapshot) ? 0u : sx::CandidateMask(snapshot, i);
            if (std::popcount(mask) != 2) continue;
            const int smaller = std::countr_zero(mask);
            const int larger = 31 - std::countl_zero(mask);
            ++phase.guesses;
            EXPECT_EQ(next(), (Event{Event::Cell, x, y, smaller}));
            phase.board[i] = smaller;
            nestedSolve();
            if (phase.solved) return true;
            phase.board = snapshot;
            ++phase.undone;
            EXPECT_EQ(next(), (Event{Event::Cell, x, y, larger}));
            phase.board[i] = larger;
            nestedSolve();
            if (phase.solved) return true;
            phase.board = snapshot;
            EXPECT_EQ(next(), (Event{Event::Cell, x, y, 0}));
        }
        expectRedraw();
        return false;
    };
    struct XY {
        int x, y;
    };
    for (int row = 1; row <= 9; ++row) {
        if (trialList([row](int k) { return XY{k, row}; })) break;
    }
    // On a solved board the diagonal lists hold no empty cell and only redraw.
    trialList([](int k) { return XY{k, k}; });
    trialList([](int k) { return XY{k, 10 - k}; });
    EXPECT_EQ(pos, events.size()) << "reports after the guessing phase";
    return phase;
}

// Applies the placements before the first statistics refresh; returns the index after it.
std::size_t ReplaySweeps(const std::vector<Event>& events, Cells& board) {
    std::size_t pos = 0;
    for (; pos < events.size() && events[pos].kind != Event::Statistics; ++pos) {
        EXPECT_EQ(events[pos].kind, Event::Cell);
        board[sx::Index(events[pos].x, events[pos].y)] = events[pos].value;
    }
    EXPECT_LT(pos, events.size()) << "no statistics refresh";
    return pos + 1;
}

TEST(SolveBoard, FullCorrectBoardPlacesNothingAndDoesNotGuess) {
    Rig rig;
    std::mt19937 rng(1);
    rig.Load(sx::RandomFullGrid(rng));
    rig.settings.difficulty = 1;
    EXPECT_FALSE(rig.engine.SolveBoard());
    EXPECT_EQ(rig.recorder.events, std::vector<Event>{{Event::Statistics}});
    EXPECT_EQ(rig.settings.status, Status::Solved);
    EXPECT_EQ(rig.settings.difficulty, 1);
}

TEST(SolveBoard, SinglesPuzzlesAreSolvedWithoutTouchingTheDifficulty) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        const Cells full = sx::RandomFullGrid(rng);
        const Cells puzzle = sx::SinglesPuzzle(full, 28, rng);
        Rig rig;
        rig.Load(puzzle);
        rig.settings.difficulty = 1;

        rig.engine.SolveBoard();

        EXPECT_EQ(sx::BoardCells(rig.model), full) << "seed " << seed;
        EXPECT_EQ(sx::GivenCells(rig.model), puzzle);
        EXPECT_EQ(rig.settings.difficulty, 1);
        EXPECT_TRUE(rig.engine.StatusSolved());
        const auto& events = rig.recorder.events;
        ASSERT_EQ(events.size(), static_cast<std::size_t>(81 - sx::CountFilled(puzzle)) + 1);
        for (std::size_t k = 0; k + 1 < events.size(); ++k) {
            EXPECT_EQ(events[k].kind, Event::Cell);
            EXPECT_EQ(events[k].value, full[sx::Index(events[k].x, events[k].y)]);
        }
        EXPECT_EQ(events.back(), Event{Event::Statistics});
    }
}

TEST(SolveBoard, PuzzlesBeyondSinglesGoToTheGuessingPhase) {
    int solvedByGuess = 0;
    int undone = 0;
    int tried = 0;
    for (unsigned seed = 100; tried < 12 && seed < 400; ++seed) {
        std::mt19937 rng(seed);
        const Cells full = sx::RandomFullGrid(rng);
        const Cells puzzle = sx::UniquePuzzle(full, 22, rng);
        Cells bySingles = puzzle;
        if (sx::SolveBySingles(bySingles)) continue;
        ++tried;
        Rig rig;
        rig.Load(puzzle);

        EXPECT_TRUE(rig.engine.SolveBoard());

        EXPECT_EQ(rig.settings.difficulty, kExtrem) << "seed " << seed;
        Cells afterSweeps = puzzle;
        const std::size_t pos = ReplaySweeps(rig.recorder.events, afterSweeps);
        EXPECT_EQ(sx::GridCells(rig.engine.GuessSnapshot()), afterSweeps)
            << "the snapshot holds the board as the sweeps left it";
        const GuessPhase phase = CheckGuessPhase(rig.recorder.events, pos, afterSweeps);
        EXPECT_EQ(sx::BoardCells(rig.model), phase.board);
        EXPECT_EQ(rig.engine.StatusSolved(), phase.solved);
        EXPECT_EQ(sx::GivenCells(rig.model), puzzle);
        if (phase.solved) {
            ++solvedByGuess;
            EXPECT_EQ(sx::BoardCells(rig.model), full) << "seed " << seed;
        } else {
            EXPECT_EQ(sx::BoardCells(rig.model), afterSweeps) << "all guesses undone";
        }
        undone += phase.undone;
    }
    EXPECT_EQ(tried, 12);
    EXPECT_GT(solvedByGuess, 0);
    EXPECT_GT(undone, 0);
}

TEST(SolveBoard, EmptyBoardStaysEmpty) {
    Rig rig;
    rig.engine.SolveBoard();
    EXPECT_EQ(rig.model.board, Grid{});
    EXPECT_EQ(rig.settings.status, Status::NoErrors);
    EXPECT_EQ(rig.settings.difficulty, kExtrem);
    const GuessPhase phase = CheckGuessPhase(rig.recorder.events, 1, Cells{});
    EXPECT_EQ(phase.guesses, 0);
    EXPECT_EQ(rig.recorder.Count(Event::Cell), 0);
    EXPECT_EQ(rig.recorder.Count(Event::AllCells), 11);
}

TEST(SolveBoard, ConflictingBoardGetsNoPlacement) {
    std::mt19937 rng(3);
    const Cells full = sx::RandomFullGrid(rng);
    Cells puzzle = sx::SinglesPuzzle(full, 30, rng);
    // Repeat one clue on the main diagonal, where the sweeps would otherwise find plenty.
    int a = -1;
    for (int i = 1; i <= 9 && a < 0; ++i) {
        if (puzzle[sx::Index(i, i)] != 0) a = i;
    }
    ASSERT_GT(a, 0);
    int other = -1;
    for (int i = 1; i <= 9; ++i) {
        const int idx = sx::Index(i, i);
        if (i != a && puzzle[idx] == 0) other = i;
    }
    ASSERT_GT(other, 0);
    puzzle[sx::Index(other, other)] = puzzle[sx::Index(a, a)];
    ASSERT_TRUE(sx::HasConflict(puzzle));
    Rig rig;
    rig.Load(puzzle);

    rig.engine.SolveBoard();

    EXPECT_EQ(sx::BoardCells(rig.model), puzzle);
    EXPECT_EQ(rig.recorder.Count(Event::Cell), 0);
    EXPECT_EQ(rig.settings.status, Status::Wrong);
    EXPECT_EQ(rig.recorder.events.front(), (Event{Event::Statistics, 0, 0, 1}));
}

// Box (1, 1) left open; (1, 1) can only take 1 and, once it has, (1, 2) only 2. Neither is a
// hidden single: 1 and 2 fit elsewhere in every unit of those cells.
BoardModel NakedSinglesBoard() {
    BoardModel model;
    model.cell(4, 1) = 2;
    model.cell(5, 1) = 3;
    model.cell(6, 1) = 4;
    model.cell(1, 4) = 5;
    model.cell(1, 5) = 6;
    model.cell(1, 6) = 7;
    model.cell(5, 5) = 8;
    model.cell(9, 9) = 9;
    model.cell(4, 2) = 8;
    model.cell(5, 2) = 9;
    model.cell(7, 2) = 3;
    model.cell(8, 2) = 4;
    return model;
}

TEST(PlaceNakedSingles, FillsCellsWithOneDigitAgainstTheChangedBoard) {
    Rig rig;
    rig.model = NakedSinglesBoard();
    rig.engine.ModelReplaced();
    const Cells cells = sx::BoardCells(rig.model);
    ASSERT_FALSE(sx::HasConflict(cells));
    ASSERT_EQ(sx::CandidateMask(cells, sx::Index(1, 1)), 1u << 1);
    ASSERT_EQ(sx::CandidateMask(cells, sx::Index(1, 2)), (1u << 1) | (1u << 2));

    rig.engine.PlaceNakedSingles(1, 1);

    EXPECT_EQ(rig.recorder.events, (std::vector<Event>{{Event::Cell, 1, 1, 1}, {Event::Cell, 1, 2, 2}}));
}

TEST(SolveBoard, BoxSweepBeginsWithTheNakedSingle) {
    Rig rig;
    rig.model = NakedSinglesBoard();
    rig.engine.ModelReplaced();
    rig.recorder.events.clear();
    rig.engine.PlaceHiddenSingleInBox(1, 1);
    EXPECT_TRUE(rig.recorder.events.empty()) << "no hidden single in the first box";
    rig.engine.SolveBoard();
    ASSERT_GE(rig.recorder.events.size(), 2u);
    EXPECT_EQ(rig.recorder.events[0], (Event{Event::Cell, 1, 1, 1}));
    EXPECT_EQ(rig.recorder.events[1], (Event{Event::Cell, 1, 2, 2}));
}

TEST(PlaceHiddenSingleInBox, PlacesTheOnlyCellOfADigit) {
    Rig rig;
    rig.model.cell(4, 2) = 1;
    rig.model.cell(8, 3) = 1;
    rig.model.cell(2, 5) = 1;
    rig.model.cell(3, 7) = 1;
    rig.engine.ModelReplaced();
    ASSERT_TRUE(CheckBoard(rig.model));
    rig.engine.PlaceNakedSingles(1, 1);
    EXPECT_TRUE(rig.recorder.events.empty());
    rig.engine.PlaceHiddenSingleInBox(1, 1);
    EXPECT_EQ(rig.recorder.events, (std::vector<Event>{{Event::Cell, 1, 1, 1}}));
}

TEST(PlaceHiddenSingle, PlacesTheOnlyCellOfADigitInALine) {
    Rig rig;
    rig.model.cell(1, 2) = 1;
    rig.model.cell(5, 3) = 1;
    rig.model.cell(7, 7) = 1;
    rig.model.cell(8, 5) = 1;
    rig.engine.ModelReplaced();
    ASSERT_TRUE(CheckBoard(rig.model));
    rig.engine.PlaceHiddenSingle({1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 1, 1, 1, 1, 1, 1, 1});
    EXPECT_EQ(rig.recorder.events, (std::vector<Event>{{Event::Cell, 9, 1, 1}}));
    rig.recorder.events.clear();
    // Column 9 now holds 1; a second pass over the same row finds nothing.
    rig.engine.PlaceHiddenSingle({1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 1, 1, 1, 1, 1, 1, 1});
    EXPECT_TRUE(rig.recorder.events.empty());
}

TEST(SolveWithRestart, ConflictingEntryIsThrownOutAndThePuzzleSolved) {
    std::mt19937 rng(5);
    const Cells full = sx::RandomFullGrid(rng);
    const Cells puzzle = sx::SinglesPuzzle(full, 30, rng);
    // A player's digit that repeats a clue of its row.
    Cells entries{};
    for (int y = 1; y <= 9 && sx::CountFilled(entries) == 0; ++y) {
        for (int x = 1; x <= 9; ++x) {
            if (puzzle[sx::Index(x, y)] != 0) continue;
            for (int x2 = 1; x2 <= 9; ++x2) {
                if (puzzle[sx::Index(x2, y)] != 0) {
                    entries[sx::Index(x, y)] = puzzle[sx::Index(x2, y)];
                    break;
                }
            }
            break;
        }
    }
    Rig rig;
    rig.Load(puzzle, entries);
    ASSERT_FALSE(CheckBoard(rig.model));

    rig.engine.SolveWithRestart();

    EXPECT_EQ(sx::BoardCells(rig.model), full);
    EXPECT_EQ(sx::GivenCells(rig.model), puzzle);
    EXPECT_TRUE(rig.engine.StatusSolved());
}

TEST(SolveWithRestart, DeadEndWithoutConflictRestartsFromTheGivens) {
    std::mt19937 rng(6);
    const Cells full = sx::RandomFullGrid(rng);
    const Cells puzzle = sx::SinglesPuzzle(full, 30, rng);
    // Find a wrong but admissible entry after which the solver runs into a cell with no digit.
    Cells entries{};
    bool found = false;
    for (int i = 0; i < 81 && !found; ++i) {
        if (puzzle[i] != 0) continue;
        for (int d = 1; d <= 9 && !found; ++d) {
            if (d == full[i] || !(sx::CandidateMask(puzzle, i) & (1u << d))) continue;
            Rig probe;
            entries = Cells{};
            entries[i] = d;
            probe.Load(puzzle, entries);
            probe.engine.SolveBoard();
            found = !probe.settings.complete && !probe.engine.NoDeadEnd() && CheckBoard(probe.model);
        }
    }
    ASSERT_TRUE(found);
    Rig rig;
    rig.Load(puzzle, entries);

    rig.engine.SolveWithRestart();

    EXPECT_EQ(sx::BoardCells(rig.model), full);
    EXPECT_TRUE(rig.engine.StatusSolved());
}

TEST(SolveWithRestart, WithoutDeadEndThePlayersEntriesStay) {
    Rig rig;
    rig.model.cell(3, 3) = 5;  // a player's entry on an otherwise empty board
    rig.engine.SolveWithRestart();
    EXPECT_EQ(rig.model.cell(3, 3), 5);
    EXPECT_EQ(rig.recorder.Count(Event::Cell), 0);
    EXPECT_EQ(rig.settings.status, Status::NoErrors);
}

}  // namespace
}  // namespace tessaro
