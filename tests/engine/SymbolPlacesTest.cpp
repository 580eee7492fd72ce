#include <gtest/gtest.h>

#include <algorithm>

#include "engine/SymbolPlaces.h"

namespace tessaro {
namespace {

// A 5 at (1, 1) and (5, 4) shades rows 1 and 4, columns 1 and 5, boxes 1 and 5 and the main
// diagonal; marks count only in empty cells; the open places are the empty cells left over.
TEST(SymbolPlaces, HoldingShadedMarkedAndOpen) {
    BoardModel model;
    model.cell(1, 1) = 5;
    model.cell(5, 4) = 5;
    model.cell(9, 9) = 3;  // on the main diagonal: shaded although filled
    model.mark(2, 3, 5) = true;
    model.mark(7, 8, 5) = true;
    model.mark(7, 8, 4) = true;
    model.mark(6, 2, 4) = true;
    const SymbolPlaces places = PlacesOf(model, 5);
    EXPECT_EQ(places.holding, (std::vector<int>{At(1, 1), At(5, 4)}));
    EXPECT_EQ(places.marked, (std::vector<int>{At(2, 3), At(7, 8)}));
    const auto shaded = [&](int x, int y) {
        return std::count(places.shaded.begin(), places.shaded.end(), At(x, y)) == 1;
    };
    EXPECT_TRUE(shaded(9, 1) && shaded(1, 9) && shaded(5, 9) && shaded(6, 6) && shaded(9, 9) && shaded(2, 3));
    EXPECT_FALSE(shaded(1, 1) || shaded(7, 8) || shaded(8, 2));
    EXPECT_EQ(places.open.size() + places.shaded.size() + places.holding.size(), 81u);
    EXPECT_EQ(std::count(places.open.begin(), places.open.end(), At(8, 2)), 1);
    EXPECT_TRUE(PlacesOf(model, 0).holding.empty() && PlacesOf(model, 0).open.empty());
}

}  // namespace
}  // namespace tessaro
