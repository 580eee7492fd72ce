#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "engine/Board.h"
#include "logic/Solver.h"
#include "logic/Technique.h"
#include "puzzles/PuzzleGenerator.h"

namespace tessaro::logic {

// Ratings from low to high, in tenths, both included.
struct RatingBand {
    int low = 0;
    int high = 0;
    bool Holds(int rating) const { return rating >= low && rating <= high; }
    bool operator==(const RatingBand&) const = default;
};

// Leicht needs full houses and hidden singles in boxes, Mittel also hidden singles in lines,
// Schwer naked singles; Extrem starts where singles end.
inline constexpr std::array<RatingBand, 3> kSinglesBands{{{10, 12}, {15, 15}, {23, 23}}};
inline constexpr int kExtremLowest = 26;
inline constexpr RatingBand kExtremBand{34, 65};
// A band without an upper end.
inline constexpr int kNoUpperEnd = 1000;

// The level (0 Leicht .. 3 Extrem) a rating falls into, for puzzles from elsewhere: a rating
// between two bands counts to the easier level.
constexpr int LevelForRating(int tenths) {
    if (tenths <= kSinglesBands[0].high) return 0;
    if (tenths < kSinglesBands[2].low) return 1;
    if (tenths < kExtremLowest) return 2;
    return 3;
}

// What the player chose for the Extrem puzzles.
struct ExtremChoice {
    RatingBand band = kExtremBand;
    std::optional<Technique> technique;  // the path must use it
};

// The choice from the command line: the band if given; else with a technique every rating from
// kExtremLowest up to kExtremBand's top (without an upper end for the chains, rated from that top
// upwards), since the technique itself may lie below the default band.
ExtremChoice MakeExtremChoice(std::optional<RatingBand> band, std::optional<Technique> technique);

// "3.4-6.5" (a decimal comma also goes); nothing unless kExtremLowest <= low <= high.
std::optional<RatingBand> ParseRatingBand(std::string_view text);

// The band of level 0 Leicht .. 3 Extrem.
RatingBand LevelBand(int level, const ExtremChoice& choice);

// The path fits the level: solved, rated inside the band and, for Extrem, using the technique.
bool FitsLevel(const SolvingPath& path, int level, const ExtremChoice& choice);

// The generator's judge for the rated levels: clues go only while the rating stays within the
// band's top, and a finished puzzle must fit its level.
LevelJudge RatedLevelJudge(const ExtremChoice& choice);

}  // namespace tessaro::logic
