#pragma once

#include <vector>

#include "engine/Board.h"

namespace tessaro {

// Where one symbol stands and where it may still go, as highlighting it shows: every list holds
// board positions At(x, y) in reading order.
struct SymbolPlaces {
    std::vector<int> holding;  // cells holding the symbol
    std::vector<int> marked;   // empty cells whose candidate marks or notes hold it
    std::vector<int> shaded;   // the other cells of every house the symbol already stands in
    std::vector<int> open;     // empty cells outside those houses: where it can still go
};

SymbolPlaces PlacesOf(const BoardModel& model, int symbol);

}  // namespace tessaro
