#include "engine/Engine.h"

#include <algorithm>

namespace tessaro {
namespace {

constexpr std::array<int, 9> kOneToNine{1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr std::array<int, 9> kNineToOne{9, 8, 7, 6, 5, 4, 3, 2, 1};

std::array<int, 9> Repeat(int value) {
    std::array<int, 9> line{};
    line.fill(value);
    return line;
}

}  // namespace

Engine::Engine(BoardModel& model, Settings& settings)
    : model_(model), settings_(settings), observer_(&nullObserver_) {}

bool Engine::Admissible(int x, int y, int d) {
    if (literalAdmissible_) return AdmissibleLiteral(model_, x, y, d);
    return index_.Admissible(model_.board, x, y, d);
}

bool Engine::NoDeadEnd() {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (model_.cell(x, y) != 0) continue;
            bool any = false;
            for (int d = 1; d <= 9 && !any; ++d) any = Admissible(x, y, d);
            if (!any) return false;
        }
    }
    return true;
}

void Engine::ComputeCandidates() {
    if (settings_.showCandidates) {
        settings_.timedGame = false;
        observer_->TimedGameEnded();
        model_.clearCandidates();
        for (int x = 1; x <= 9; ++x) {
            for (int y = 1; y <= 9; ++y) {
                if (model_.cell(x, y) != 0) continue;
                for (int d = 1; d <= 9; ++d) model_.mark(x, y, d) = Admissible(x, y, d);
            }
        }
    }
    observer_->CandidatesChanged();
}

bool Engine::StatusCheck() {
    model_.digitCount.fill(0);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const std::uint8_t value = model_.cell(x, y);
            if (value <= 9) ++model_.digitCount[value];
        }
    }
    const bool valid = literalAdmissible_ ? CheckBoard(model_) : index_.BoardValid(model_.board);
    settings_.statusMessage = valid ? kStatusNoErrors : kStatusWrong;
    settings_.complete = std::all_of(model_.digitCount.begin() + 1, model_.digitCount.end(),
                                     [](std::uint8_t count) { return count == 9; });
    if (settings_.complete && valid) settings_.statusMessage = kStatusSolved;
    return !valid;
}

void Engine::UpdateDigitCounts() {
    const bool beep = StatusCheck();
    observer_->StatisticsRefreshed(beep);
}

void Engine::RedrawBoard() {
    observer_->AllCellsChanged();
    UpdateDigitCounts();
    if (settings_.showCandidates) {
        ComputeCandidates();
    } else {
        observer_->CandidatesChanged();
    }
}

void Engine::Place(int x, int y, int d) {
    model_.cell(x, y) = static_cast<std::uint8_t>(d);
    observer_->CellChanged(x, y, d);
}

void Engine::PlaceNakedSingles(int x0, int y0) {
    for (int x = x0; x <= x0 + 2; ++x) {
        for (int y = y0; y <= y0 + 2; ++y) {
            if (model_.cell(x, y) != 0) continue;
            int count = 0;
            int single = 0;
            for (int d = 1; d <= 9; ++d) {
                if (Admissible(x, y, d)) {
                    ++count;
                    single = d;
                }
            }
            if (count == 1) Place(x, y, single);
        }
    }
}

void Engine::PlaceHiddenSingleInBox(int x0, int y0) {
    for (int d = 1; d <= 9; ++d) {
        int count = 0;
        int lastX = 0;
        int lastY = 0;
        for (int x = x0; x <= x0 + 2; ++x) {
            for (int y = y0; y <= y0 + 2; ++y) {
                if (model_.cell(x, y) == 0 && Admissible(x, y, d)) {
                    ++count;
                    lastX = x;
                    lastY = y;
                }
            }
        }
        if (count == 1) Place(lastX, lastY, d);
    }
}

void Engine::PlaceHiddenSingle(const std::array<int, 9>& xs, const std::array<int, 9>& ys) {
    for (int d = 1; d <= 9; ++d) {
        int count = 0;
        int last = 0;
        for (int i = 0; i < 9; ++i) {
            if (model_.cell(xs[i], ys[i]) == 0 && Admissible(xs[i], ys[i], d)) {
                ++count;
                last = i;
            }
        }
        if (count == 1) Place(xs[last], ys[last], d);
    }
}

void Engine::SolveBoard() {
    for (int sweep = 0; sweep < 10; ++sweep) {
        for (int x0 = 1; x0 <= 7; x0 += 3) {
            for (int y0 = 1; y0 <= 7; y0 += 3) {
                PlaceNakedSingles(x0, y0);
                PlaceHiddenSingleInBox(x0, y0);
            }
        }
        for (int i = 1; i <= 9; ++i) {
            PlaceHiddenSingle(kOneToNine, Repeat(i));
            PlaceHiddenSingle(Repeat(i), kOneToNine);
        }
    }
    PlaceHiddenSingle(kOneToNine, kOneToNine);
    PlaceHiddenSingle(kOneToNine, kNineToOne);
    UpdateDigitCounts();
    if (!StatusSolved() && !guessing_) {
        settings_.difficulty = kExtrem;
        GuessBivalue();
    }
}

void Engine::SolveWithRestart() {
    SolveBoard();
    const bool solved = settings_.complete && CheckBoard(model_);
    if (!solved && !NoDeadEnd()) {
        Restart();
        SolveBoard();
    }
}

void Engine::TakeSnapshot() {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) model_.snapshot[At(x, y)] = model_.cell(x, y);
    }
}

void Engine::RestoreSnapshot() {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) model_.cell(x, y) = model_.snapshot[At(x, y)];
    }
}

void Engine::PairTrial(const std::array<int, 9>& xs, const std::array<int, 9>& ys) {
    for (int i = 0; i < 9; ++i) {
        const int x = xs[i];
        const int y = ys[i];
        if (model_.cell(x, y) != 0) continue;
        int count = 0;
        int first = 0;
        int second = 0;
        for (int d = 1; d <= 9; ++d) {
            if (!Admissible(x, y, d)) continue;
            ++count;
            if (count == 1) first = d;
            if (count == 2) second = d;
            if (count >= 3) first = second = 0;
        }
        if (second == 0) continue;
        Place(x, y, first);
        SolveBoard();
        if (StatusSolved()) return;
        RestoreSnapshot();
        Place(x, y, second);
        SolveBoard();
        if (StatusSolved()) return;
        RestoreSnapshot();
        Place(x, y, 0);
    }
    RedrawBoard();
}

void Engine::GuessBivalue() {
    guessing_ = true;
    TakeSnapshot();
    for (int row = 1; row <= 9; ++row) {
        PairTrial(kOneToNine, Repeat(row));
        if (StatusSolved()) break;
    }
    PairTrial(kOneToNine, kOneToNine);
    PairTrial(kOneToNine, kNineToOne);
    guessing_ = false;
}

void Engine::Restart() {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (model_.given(x, y) == 0) model_.cell(x, y) = 0;
        }
    }
    model_.clearCandidates();
}

void Engine::ClearBoard() {
    model_.board.fill(0);
    model_.givens.fill(0);
    model_.clearCandidates();
    RedrawBoard();
}

}  // namespace tessaro
