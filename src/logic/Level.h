#pragma once

namespace tessaro::logic {

// The game's level (0 Leicht, 1 Mittel, 2 Schwer, 3 Extrem) whose band holds a rating in tenths:
// singles in boxes up to 1.2, hidden singles in lines (and the direct steps below naked singles)
// up to 2.2, naked singles up to 2.5, everything harder Extrem.
constexpr int LevelForRating(int tenths) {
    if (tenths <= 12) return 0;
    if (tenths <= 22) return 1;
    if (tenths <= 25) return 2;
    return 3;
}

}  // namespace tessaro::logic
