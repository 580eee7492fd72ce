// The fast admissibility index must answer every question exactly as the literal whole-board trial
// placement does, and the solver must behave identically on both.

#include <gtest/gtest.h>

#include <random>

#include "Recording.h"
#include "engine/Rules.h"
#include "support/SudokuX.h"

namespace tessaro {
namespace {

using sx::Cells;

// Random boards of every kind the game meets: valid and partly filled, with one conflict, noise,
// nearly full, full and right, full and wrong.
Cells RandomBoard(std::mt19937& rng, int kind) {
    const Cells full = sx::RandomFullGrid(rng);
    std::uniform_int_distribution<int> cell(0, 80);
    std::uniform_int_distribution<int> digit(1, 9);
    switch (kind % 6) {
    case 0:
        return sx::KeepRandom(full, std::uniform_int_distribution<int>(0, 81)(rng), rng);
    case 1: {
        Cells cells = sx::KeepRandom(full, std::uniform_int_distribution<int>(5, 70)(rng), rng);
        // One extra digit that repeats in exactly the units it shares with some filled cell.
        const int filled = [&] {
            for (;;) {
                const int i = cell(rng);
                if (cells[i] != 0) return i;
            }
        }();
        const auto& peers = sx::Peers()[filled];
        for (int tries = 0; tries < 100; ++tries) {
            const int p = peers[std::uniform_int_distribution<int>(0, int(peers.size()) - 1)(rng)];
            if (cells[p] == 0) {
                cells[p] = cells[filled];
                break;
            }
        }
        return cells;
    }
    case 2: {
        Cells cells{};
        const int n = std::uniform_int_distribution<int>(1, 25)(rng);
        for (int k = 0; k < n; ++k) cells[cell(rng)] = digit(rng);
        return cells;
    }
    case 3:
        return sx::KeepRandom(full, std::uniform_int_distribution<int>(70, 80)(rng), rng);
    case 4:
        return full;
    default: {
        Cells cells = full;
        cells[cell(rng)] = digit(rng);
        cells[cell(rng)] = 0;
        return cells;
    }
    }
}

void Write(BoardModel& model, const Cells& cells) {
    for (int i = 0; i < 81; ++i) model.board[At(sx::XOf(i), sx::YOf(i))] = static_cast<std::uint8_t>(cells[i]);
}

TEST(Oracle, AdmissibleAgreesWithTheWholeBoardTrial) {
    std::mt19937 rng(2024);
    // One engine for all boards, each handed to it whole, with one entry made through it.
    Rig fast;
    BoardModel literal;
    long queries = 0;
    int admissible = 0;
    for (int round = 0; round < 600; ++round) {
        Cells cells = RandomBoard(rng, round);
        Write(fast.model, cells);
        fast.engine.ModelReplaced();
        literal.board = fast.model.board;
        std::vector<std::pair<int, int>> asks;
        for (int i = 0; i < 81; ++i) {
            if (cells[i] != 0) continue;
            for (int d = 1; d <= 9; ++d) asks.emplace_back(i, d);
        }
        std::shuffle(asks.begin(), asks.end(), rng);
        for (std::size_t k = 0; k < asks.size(); ++k) {
            const auto [i, d] = asks[k];
            if (k == asks.size() / 2) {
                // Change one cell half way; later questions about that cell are skipped.
                const int j = asks[k].first;
                fast.engine.EnterSymbol(sx::XOf(j), sx::YOf(j), static_cast<int>(1 + rng() % 9));
                literal.board = fast.model.board;
            }
            if (fast.model.cell(sx::XOf(i), sx::YOf(i)) != 0) continue;
            const bool expected = AdmissibleLiteral(literal, sx::XOf(i), sx::YOf(i), d);
            ASSERT_EQ(fast.engine.Admissible(sx::XOf(i), sx::YOf(i), d), expected)
                << "round " << round << " cell " << sx::XOf(i) << "," << sx::YOf(i) << " digit " << d;
            ASSERT_EQ(literal.board, fast.model.board);
            ++queries;
            admissible += expected;
        }
    }
    EXPECT_GT(queries, 50000);
    EXPECT_GT(admissible, 5000);
    EXPECT_GT(queries - admissible, 5000);
}

TEST(Oracle, BoardQuestionsAgree) {
    std::mt19937 rng(7);
    Rig fast;
    Rig literal(true);
    fast.settings.showCandidates = literal.settings.showCandidates = true;
    for (int round = 0; round < 300; ++round) {
        const Cells cells = RandomBoard(rng, round);
        fast.Load(cells);
        literal.Load(cells);
        EXPECT_EQ(fast.engine.NoDeadEnd(), literal.engine.NoDeadEnd()) << "round " << round;
        EXPECT_EQ(fast.engine.StatusCheck(), literal.engine.StatusCheck());
        EXPECT_EQ(fast.engine.StatusCheck(), CheckBoard(fast.model) == false);
        EXPECT_EQ(fast.settings.status, literal.settings.status);
        EXPECT_EQ(fast.settings.complete, literal.settings.complete);
        EXPECT_EQ(fast.model.digitCount, literal.model.digitCount);
        fast.engine.ComputeCandidates();
        literal.engine.ComputeCandidates();
        ASSERT_EQ(fast.model.candidates, literal.model.candidates) << "round " << round;
    }
}

// Puzzles for the solver: unique ones that may need a guess, loose ones with many solutions,
// conflicting ones and ones with wrong player entries.
struct Case {
    Cells givens{};
    Cells entries{};
};

Case RandomCase(std::mt19937& rng, int kind) {
    const Cells full = sx::RandomFullGrid(rng);
    Case c;
    switch (kind % 5) {
    case 0:
        c.givens = sx::UniquePuzzle(full, std::uniform_int_distribution<int>(20, 26)(rng), rng);
        break;
    case 1:
        c.givens = sx::KeepRandom(full, std::uniform_int_distribution<int>(18, 32)(rng), rng);
        break;
    case 2: {
        c.givens = sx::UniquePuzzle(full, 24, rng);
        // A player's digit that repeats in its column.
        for (int i = 0; i < 81; ++i) {
            if (c.givens[i] != 0) continue;
            for (int j = sx::XOf(i) - 1; j < 81; j += 9) {
                if (c.givens[j] != 0) {
                    c.entries[i] = c.givens[j];
                    return c;
                }
            }
        }
        break;
    }
    default: {
        c.givens = sx::UniquePuzzle(full, std::uniform_int_distribution<int>(22, 30)(rng), rng);
        // A few admissible entries, some of them wrong.
        for (int k = 0; k < 4; ++k) {
            const int i = int(rng() % 81);
            Cells now = c.givens;
            for (int j = 0; j < 81; ++j) now[j] = now[j] ? now[j] : c.entries[j];
            if (now[i] != 0) continue;
            const unsigned mask = sx::CandidateMask(now, i);
            for (int d = 1 + int(rng() % 9), n = 0; n < 9; ++n, d = d % 9 + 1) {
                if (mask & (1u << d)) {
                    c.entries[i] = d;
                    break;
                }
            }
        }
        break;
    }
    }
    return c;
}

TEST(Oracle, SolverMakesTheSameMovesOnBothPaths) {
    std::mt19937 rng(99);
    int guessed = 0;
    int solved = 0;
    int restarted = 0;
    for (int round = 0; round < 100; ++round) {
        const Case c = RandomCase(rng, round);
        Rig fast;
        Rig literal(true);
        fast.Load(c.givens, c.entries);
        literal.Load(c.givens, c.entries);

        fast.engine.SolveWithRestart();
        literal.engine.SolveWithRestart();

        ASSERT_EQ(fast.recorder.events, literal.recorder.events) << "round " << round;
        EXPECT_EQ(fast.model.board, literal.model.board);
        EXPECT_EQ(fast.model.givens, literal.model.givens);
        EXPECT_EQ(fast.engine.GuessSnapshot(), literal.engine.GuessSnapshot());
        EXPECT_EQ(fast.model.digitCount, literal.model.digitCount);
        EXPECT_EQ(fast.settings.status, literal.settings.status);
        EXPECT_EQ(fast.settings.complete, literal.settings.complete);
        EXPECT_EQ(fast.settings.difficulty, literal.settings.difficulty);
        guessed += fast.settings.difficulty == kExtrem;
        solved += fast.engine.StatusSolved();
        // A restart is seen as a player's entry that did not survive.
        for (int i = 0; i < 81; ++i) {
            if (c.entries[i] != 0 && fast.model.board[At(sx::XOf(i), sx::YOf(i))] != c.entries[i]) {
                ++restarted;
                break;
            }
        }
    }
    EXPECT_GT(guessed, 10);
    EXPECT_GT(solved, 20);
    EXPECT_GT(restarted, 3);
}

}  // namespace
}  // namespace tessaro
