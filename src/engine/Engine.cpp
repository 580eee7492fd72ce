#include "engine/Engine.h"

#include <algorithm>
#include <bit>

#include "engine/Shuffle.h"

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
    : model_(model), settings_(settings), observer_(&nullObserver_) {
    Reindex();
}

void Engine::UseLiteralAdmissible(bool literal) {
    literalAdmissible_ = literal;
    Reindex();
}

void Engine::ModelReplaced() {
    Reindex();
    history_.Clear();
}

void Engine::Reindex() { index_.Rebuild(model_.board); }

bool Engine::Admissible(int x, int y, int d) const { return Allowed(x, y, d); }

bool Engine::Allowed(int x, int y, int d) const {
    if (literalAdmissible_) return AdmissibleLiteral(model_, x, y, d);
    return index_.Lookup(x, y, d);
}

bool Engine::NoDeadEnd() const {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (model_.cell(x, y) != 0) continue;
            bool any = false;
            for (int d = 1; d <= 9 && !any; ++d) any = Allowed(x, y, d);
            if (!any) return false;
        }
    }
    return true;
}

void Engine::ComputeCandidates() {
    if (settings_.showCandidates) {
        settings_.timedGame = false;
        observer_->TimedGameEnded();
        ClearAllMarks();
        for (int x = 1; x <= 9; ++x) {
            for (int y = 1; y <= 9; ++y) {
                if (model_.cell(x, y) != 0) continue;
                const unsigned mask = literalAdmissible_ ? 0u : index_.Mask(x, y);
                for (int d = 1; d <= 9; ++d) {
                    model_.mark(x, y, d) = literalAdmissible_ ? Allowed(x, y, d) : (mask >> d & 1u) != 0;
                }
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
    const bool valid = literalAdmissible_ ? CheckBoard(model_) : index_.Valid();
    settings_.status = valid ? Status::NoErrors : Status::Wrong;
    settings_.complete = std::all_of(model_.digitCount.begin() + 1, model_.digitCount.end(),
                                     [](std::uint8_t count) { return count == 9; });
    if (settings_.complete && valid) settings_.status = Status::Solved;
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

void Engine::EntryDone() {
    if (settings_.showCandidates) ComputeCandidates();
    UpdateDigitCounts();
    if (settings_.ownBoard) observer_->GivensChanged();
}

void Engine::Place(int x, int y, int d) {
    model_.cell(x, y) = static_cast<std::uint8_t>(d);
    index_.Set(model_.board, x, y);
    if (d != 0) ++placements_;
    observer_->CellChanged(x, y, d);
}

void Engine::PlaceNakedSingles(int x0, int y0) {
    for (int x = x0; x <= x0 + 2; ++x) {
        for (int y = y0; y <= y0 + 2; ++y) {
            if (model_.cell(x, y) != 0) continue;
            int count = 0;
            int single = 0;
            if (literalAdmissible_) {
                for (int d = 1; d <= 9; ++d) {
                    if (Allowed(x, y, d)) {
                        ++count;
                        single = d;
                    }
                }
            } else {
                const unsigned mask = index_.Mask(x, y);
                count = mask == 0 ? 0 : (mask & (mask - 1)) == 0 ? 1 : 2;
                single = std::countr_zero(mask);
            }
            if (count == 1) Place(x, y, single);
        }
    }
}

void Engine::PlaceHiddenSingleInBox(int x0, int y0) {
    if (!literalAdmissible_) {
        std::array<int, 9> xs{};
        std::array<int, 9> ys{};
        for (int i = 0; i < 9; ++i) {
            xs[i] = x0 + i / 3;
            ys[i] = y0 + i % 3;
        }
        HiddenSinglesFast(xs, ys);
        return;
    }
    for (int d = 1; d <= 9; ++d) {
        int count = 0;
        int lastX = 0;
        int lastY = 0;
        for (int x = x0; x <= x0 + 2; ++x) {
            for (int y = y0; y <= y0 + 2; ++y) {
                if (model_.cell(x, y) == 0 && Allowed(x, y, d)) {
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
    if (!literalAdmissible_) {
        HiddenSinglesFast(xs, ys);
        return;
    }
    for (int d = 1; d <= 9; ++d) {
        int count = 0;
        int last = 0;
        for (int i = 0; i < 9; ++i) {
            if (model_.cell(xs[i], ys[i]) == 0 && Allowed(xs[i], ys[i], d)) {
                ++count;
                last = i;
            }
        }
        if (count == 1) Place(xs[last], ys[last], d);
    }
}

// The same placements as the digit-by-digit count: a digit whose admissible cells number exactly
// one is placed, digits ascending, and the masks are taken again after each placement so that
// later digits see the changed board.
void Engine::HiddenSinglesFast(const std::array<int, 9>& xs, const std::array<int, 9>& ys) {
    std::array<unsigned, 9> masks{};
    auto exactlyOnce = [&] {
        unsigned once = 0;
        unsigned more = 0;
        for (int i = 0; i < 9; ++i) {
            masks[i] = model_.cell(xs[i], ys[i]) == 0 ? index_.Mask(xs[i], ys[i]) : 0u;
            more |= once & masks[i];
            once |= masks[i];
        }
        return once & ~more;
    };
    unsigned singles = exactlyOnce();
    for (int d = 1; d <= 9 && singles >> d != 0; ++d) {
        if (!(singles >> d & 1u)) continue;
        int i = 0;
        while (!(masks[i] >> d & 1u)) ++i;
        Place(xs[i], ys[i], d);
        singles = exactlyOnce();
    }
}

bool Engine::SolveBoard() {
    // The fast path stops sweeping once the sweeps can place nothing more: when the board is full,
    // or after a sweep that placed nothing (the next one would see the same board). The reference
    // path keeps all ten sweeps.
    const bool shortcut = !literalAdmissible_;
    auto full = [&] { return shortcut && index_.EmptyCells() == 0; };
    for (int sweep = 0; sweep < 10 && !full(); ++sweep) {
        const long before = placements_;
        for (int x0 = 1; x0 <= 7; x0 += 3) {
            for (int y0 = 1; y0 <= 7; y0 += 3) {
                PlaceNakedSingles(x0, y0);
                PlaceHiddenSingleInBox(x0, y0);
            }
        }
        for (int i = 1; i <= 9 && !full(); ++i) {
            PlaceHiddenSingle(kOneToNine, Repeat(i));
            PlaceHiddenSingle(Repeat(i), kOneToNine);
        }
        if (shortcut && placements_ == before) break;
    }
    if (!full()) {
        PlaceHiddenSingle(kOneToNine, kOneToNine);
        PlaceHiddenSingle(kOneToNine, kNineToOne);
    }
    UpdateDigitCounts();
    if (StatusSolved() || guessing_) return false;
    settings_.difficulty = kExtrem;
    GuessBivalue();
    return true;
}

void Engine::SolveWithRestart() {
    BeginChange();
    SolveBoard();
    const bool solved = settings_.complete && CheckBoard(model_);
    if (!solved && !NoDeadEnd()) {
        RestartQuietly();
        SolveBoard();
    }
    EndChange(ChangeKind::Solve);
}

void Engine::TakeSnapshot() {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) snapshot_[At(x, y)] = model_.cell(x, y);
    }
}

void Engine::RestoreSnapshot() {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) model_.cell(x, y) = snapshot_[At(x, y)];
    }
    Reindex();
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
            if (!Allowed(x, y, d)) continue;
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

void Engine::RestartQuietly() {
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (model_.given(x, y) == 0) model_.cell(x, y) = 0;
        }
    }
    ClearAllMarks();
    Reindex();
}

// ---- changes --------------------------------------------------------------------------------

void Engine::BeginChange() { before_ = {model_.board, model_.givens, model_.candidates}; }

std::uint16_t Engine::MarkBits(const CandidateGrid& marks, int at) {
    std::uint16_t bits = 0;
    for (int d = 1; d <= 9; ++d) bits |= static_cast<std::uint16_t>(marks[at + 100 * d] << d);
    return bits;
}

void Engine::SetMarkBits(int at, std::uint16_t bits) {
    for (int d = 1; d <= 9; ++d) model_.candidates[at + 100 * d] = (bits >> d & 1u) != 0;
}

void Engine::EndChange(ChangeKind kind) {
    edits_.clear();
    if (kind == ChangeKind::CandidateDisplay) {
        const auto now = static_cast<std::uint16_t>(settings_.showCandidates);
        edits_.push_back({0, Layer::Display, static_cast<std::uint16_t>(!now), now});
    }
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const int at = At(x, y);
            const auto cell = static_cast<std::uint8_t>(at);
            if (before_.givens[at] != model_.givens[at]) {
                edits_.push_back({cell, Layer::Given, before_.givens[at], model_.givens[at]});
            }
            if (before_.board[at] != model_.board[at]) {
                edits_.push_back({cell, Layer::Board, before_.board[at], model_.board[at]});
            }
            const std::uint16_t was = MarkBits(before_.candidates, at);
            if (const std::uint16_t now = MarkBits(model_.candidates, at); now != was) {
                edits_.push_back({cell, Layer::Marks, was, now});
            }
        }
    }
    history_.Push(kind, edits_);
}

void Engine::EnterSymbol(int x, int y, int value) {
    if (model_.given(x, y) != 0) return;
    BeginChange();
    Place(x, y, value);
    EndChange(ChangeKind::Symbol);
}

void Engine::SetMark(int x, int y, int d) {
    if (d >= 1 && d <= 9) {
        BeginChange();
        model_.mark(x, y, d) = true;
        EndChange(ChangeKind::Mark);
    }
    ComputeCandidates();
}

void Engine::ClearMarks(int x, int y) {
    BeginChange();
    SetMarkBits(At(x, y), 0);
    EndChange(ChangeKind::Mark);
    ComputeCandidates();
}

void Engine::SetGiven(int x, int y, int value) {
    BeginChange();
    model_.given(x, y) = static_cast<std::uint8_t>(value);
    model_.cell(x, y) = static_cast<std::uint8_t>(value);
    index_.Set(model_.board, x, y);
    EndChange(ChangeKind::Given);
    observer_->CellChanged(x, y, value);
}

void Engine::Restart() {
    BeginChange();
    RestartQuietly();
    EndChange(ChangeKind::Restart);
}

void Engine::Shuffle() {
    BeginChange();
    ShuffleBoard(model_);
    Reindex();
    EndChange(ChangeKind::Shuffle);
    RedrawBoard();
}

void Engine::SetPuzzle(const Grid& givens) {
    BeginChange();
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const std::uint8_t value = givens[At(x, y)] <= 9 ? givens[At(x, y)] : 0;
            model_.given(x, y) = value;
            model_.cell(x, y) = value;
        }
    }
    ClearAllMarks();
    Reindex();
    EndChange(ChangeKind::Puzzle);
    observer_->GivensChanged();
    RedrawBoard();
}

void Engine::ClearBoard() {
    model_.board.fill(0);
    model_.givens.fill(0);
    ClearAllMarks();
    ModelReplaced();
    RedrawBoard();
}

void Engine::Load(const Position& position) {
    model_.board = position.board;
    model_.givens = position.givens;
    model_.candidates = position.candidates;
    ModelReplaced();
}

void Engine::StartPuzzle(const Position& position) {
    Load(position);
    ShuffleBoard(model_);
    ClearAllMarks();
    Reindex();
}

void Engine::ToggleCandidateDisplay() {
    BeginChange();
    ClearAllMarks();
    settings_.showCandidates = !settings_.showCandidates;
    // Recorded before the marks are computed, so that an undo brings back the player's notes.
    EndChange(ChangeKind::CandidateDisplay);
    RedrawBoard();
}

void Engine::ApplyDisplaySwitch(std::span<const CellEdit> edits, bool forward) {
    // Shown candidates are computed, never kept: all go, the notes of the other side come back.
    ClearAllMarks();
    for (const CellEdit& edit : edits) {
        const std::uint16_t value = forward ? edit.after : edit.before;
        if (edit.layer == Layer::Display) settings_.showCandidates = value != 0;
        if (edit.layer == Layer::Marks) SetMarkBits(edit.at, value);
    }
    RedrawBoard();
}

void Engine::Apply(std::span<const CellEdit> edits, bool forward) {
    if (edits.front().layer == Layer::Display) return ApplyDisplaySwitch(edits, forward);
    bool givens = false;
    // Backwards for an undo, so that a cell edited twice ends at its first value.
    for (std::size_t k = 0; k < edits.size(); ++k) {
        const CellEdit& edit = edits[forward ? k : edits.size() - 1 - k];
        const std::uint16_t value = forward ? edit.after : edit.before;
        switch (edit.layer) {
        case Layer::Board:
            model_.board[edit.at] = static_cast<std::uint8_t>(value);
            break;
        case Layer::Given:
            model_.givens[edit.at] = static_cast<std::uint8_t>(value);
            givens = true;
            break;
        case Layer::Marks:
            SetMarkBits(edit.at, value);
            break;
        }
    }
    if (edits.front().at == edits.back().at) {
        index_.Set(model_.board, edits[0].at % 10, edits[0].at / 10);
    } else {
        Reindex();
    }
    int last = -1;
    for (const CellEdit& edit : edits) {
        if (edit.at == last) continue;  // edits of one cell lie together
        last = edit.at;
        const int x = edit.at % 10;
        const int y = edit.at / 10;
        observer_->CellChanged(x, y, model_.board[edit.at]);
        if (!settings_.showCandidates) observer_->MarksChanged(x, y);
    }
    if (givens) observer_->GivensChanged();
    UpdateDigitCounts();
    if (settings_.showCandidates) ComputeCandidates();
}

bool Engine::Undo() {
    const std::span<const CellEdit> edits = history_.Undo();
    if (edits.empty()) return false;
    Apply(edits, false);
    return true;
}

bool Engine::Redo() {
    const std::span<const CellEdit> edits = history_.Redo();
    if (edits.empty()) return false;
    Apply(edits, true);
    return true;
}

}  // namespace tessaro
