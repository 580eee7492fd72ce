#include "engine/Shuffle.h"

#include <utility>

#include "engine/Random.h"

namespace tessaro {

void SwapRows(BoardModel& model, int a, int b) {
    for (int i = 1; i <= 9; ++i) {
        std::swap(model.cell(i, a), model.cell(i, b));
        std::swap(model.given(i, a), model.given(i, b));
    }
}

void SwapColumns(BoardModel& model, int a, int b) {
    for (int i = 1; i <= 9; ++i) {
        std::swap(model.cell(a, i), model.cell(b, i));
        std::swap(model.given(a, i), model.given(b, i));
    }
}

void RotateBoard(BoardModel& model) {
    Grid board{};
    Grid givens{};
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            board[At(y, 10 - x)] = model.cell(x, y);
            givens[At(y, 10 - x)] = model.given(x, y);
        }
    }
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            model.cell(x, y) = board[At(x, y)];
            model.given(x, y) = givens[At(x, y)];
        }
    }
}

void RelabelDigits(BoardModel& model) {
    std::array<bool, 10> freeDigit{};
    freeDigit.fill(true);
    Counts relabel{};
    for (int i = 1; i <= 9; ++i) {
        int r = 0;
        do {
            r = 1 + RandomBelow(9);
        } while (!freeDigit[r]);
        relabel[i] = static_cast<std::uint8_t>(r);
        freeDigit[r] = false;
    }
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            // Values outside 0..9 never reach the board; the guard keeps a damaged grid harmless.
            std::uint8_t& value = model.cell(x, y);
            std::uint8_t& given = model.given(x, y);
            if (value <= 9) value = relabel[value];
            if (given <= 9) given = relabel[given];
        }
    }
}

void ShuffleBoard(BoardModel& model) {
    const int passes = 100 + RandomBelow(100);
    for (int pass = 0; pass < passes; ++pass) {
        const int r = 1 + RandomBelow(2);
        SwapRows(model, r, r + 1);
        SwapRows(model, 10 - r, 9 - r);
        SwapColumns(model, r, r + 1);
        SwapColumns(model, 10 - r, 9 - r);
        if (RandomBelow(2) == 0) {
            SwapRows(model, 4, 6);
            SwapColumns(model, 4, 6);
        }
        if (RandomBelow(2) == 0) {
            for (int i = 1; i <= 4; ++i) SwapRows(model, i, 10 - i);
        }
        if (RandomBelow(2) == 0) RotateBoard(model);
        if (RandomBelow(2) == 0) {
            for (int i = 1; i <= 4; ++i) SwapColumns(model, i, 10 - i);
        }
        RelabelDigits(model);
    }
}

}  // namespace tessaro
