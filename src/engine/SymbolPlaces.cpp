#include "engine/SymbolPlaces.h"

#include "engine/Houses.h"

namespace tessaro {

SymbolPlaces PlacesOf(const BoardModel& model, int symbol) {
    using geometry::kHouseCells;
    SymbolPlaces places;
    if (symbol < 1 || symbol > 9) return places;
    unsigned occupied = 0;  // bit h: house h holds the symbol
    for (int cell = 0; cell < geometry::kCellCount; ++cell) {
        if (model.board[geometry::GridIndex(cell)] != symbol) continue;
        for (int k = 0; k < kHouseCells.houseCount[cell]; ++k) occupied |= 1u << kHouseCells.housesOf[cell][k];
    }
    for (int cell = 0; cell < geometry::kCellCount; ++cell) {
        const int at = geometry::GridIndex(cell);
        const int value = model.board[at];
        if (value == symbol) {
            places.holding.push_back(at);
            continue;
        }
        if (value == 0 && model.candidates[at + 100 * symbol]) places.marked.push_back(at);
        bool seen = false;
        for (int k = 0; k < kHouseCells.houseCount[cell]; ++k) seen = seen || (occupied >> kHouseCells.housesOf[cell][k] & 1u);
        if (seen) {
            places.shaded.push_back(at);
        } else if (value == 0) {
            places.open.push_back(at);
        }
    }
    return places;
}

}  // namespace tessaro
