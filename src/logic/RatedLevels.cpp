#include "logic/RatedLevels.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "puzzles/SudokuXSolver.h"

namespace tessaro::logic {
namespace {

// Above every count of chances, below acceptance.
constexpr int kUsedAboveBand = 1 << 20;

// From the Nishio chains up a rung costs more than all below it together; a path toward a cheaper
// technique leaves them out.
constexpr int kCostlyRungs = 75;

// A technique rated this near the default band's top or above it is practised without an upper
// end: the steps after it seldom stay below that top.
constexpr int kRoomBelowBandTop = 5;

// "3.4" or "3,4" or "3" in tenths.
std::optional<int> ParseRating(std::string_view text) {
    int whole = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (error != std::errc{} || end == text.data()) return std::nullopt;
    std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    if (rest.empty()) return whole * 10;
    if (rest.size() != 2 || (rest[0] != '.' && rest[0] != ',') || rest[1] < '0' || rest[1] > '9') return std::nullopt;
    return whole * 10 + (rest[1] - '0');
}

// The rung finds a step in the state that no lower rung's step covers: a pattern that removes
// no more than a lower one (a fish and its complement, a hidden set and its naked twin) stands
// behind it in every puzzle.
bool StandsAlone(const Rung& rung, const LogicState& state) {
    const std::optional<Step> step = rung.find(state);
    if (!step) return false;
    for (const Rung& lower : Ladder()) {
        if (lower.technique >= rung.technique) break;
        const std::optional<Step> other = lower.find(state);
        if (other && std::all_of(step->eliminations.begin(), step->eliminations.end(), [&](Candidate c) {
                return std::find(other->eliminations.begin(), other->eliminations.end(), c) != other->eliminations.end();
            })) {
            return false;
        }
    }
    return true;
}

bool Uses(const SolvingPath& path, Technique technique) {
    return std::any_of(path.steps.begin(), path.steps.end(), [&](const Step& step) { return step.technique == technique; });
}

// Where no wanted rung has a step, the cell with the fewest candidates gets its digit of the
// solution instead of the harder step, which would cost far more to find than a count needs.
void PlaceFewestCell(LogicState& state, const Grid& solution) {
    int fewest = -1;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (state.value[cell] == 0 && (fewest < 0 || DigitCount(state.cand[cell]) < DigitCount(state.cand[fewest])))
            fewest = cell;
    }
    state.Place(fewest, solution[GridIndex(fewest)]);
}

// How many places of a path from state on need a rung of maxDifficulty or more.
int StallsFrom(LogicState state, const Grid& solution, int maxDifficulty) {
    int stalls = 0;
    while (!state.Solved() && !state.Contradicted()) {
        if (const std::optional<Step> step = NextStep(state, maxDifficulty)) {
            Apply(state, *step);
            continue;
        }
        ++stalls;
        PlaceFewestCell(state, solution);
    }
    return stalls;
}

// A position of a path: every cell's value and candidates.
using PositionKey = std::array<std::uint8_t, 3 * kCellCount>;

PositionKey KeyOf(const LogicState& state) {
    PositionKey key;
    std::memcpy(key.data(), state.value.data(), sizeof state.value);
    std::memcpy(key.data() + sizeof state.value, state.cand.data(), sizeof state.cand);
    return key;
}

struct PositionHash {
    std::size_t operator()(const PositionKey& key) const {
        return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(key.data()), key.size()));
    }
};

// The rest of a walk's path from a position. It depends on the position alone (whose completion
// is the solution), and a neighbour's path often joins one tried before once its changed clue
// is placed, so the rest is kept for the next neighbours of the same walk.
struct PathRest {
    int chances = 0;
    bool reachesAim = false;
};

struct WalkMemo {
    Technique aim{};
    RatingBand band;
    std::unordered_map<PositionKey, PathRest, PositionHash> rests;

    // The memo for this choice, emptied for another one or when it has grown large.
    static WalkMemo& For(const ExtremChoice& choice) {
        static constexpr std::size_t kMostPositions = 50'000;
        thread_local WalkMemo memo;
        if (memo.aim != *choice.technique || memo.band != choice.band || memo.rests.size() > kMostPositions) {
            memo.rests.clear();
            memo.aim = *choice.technique;
            memo.band = choice.band;
        }
        return memo;
    }
};

// How near a puzzle comes to using the practised technique, told by its path up to the band's top.
// A rare rung is used only where no rung below it has a step, so each place where the path needed a
// harder rung is a chance the technique takes, and each place where the technique stood behind a
// lower rung that won is a pattern a nearby puzzle may keep without the lower one. A band without
// an upper end would take the path through the costly rungs; it leaves them out instead and goes on
// past every place where the rest have no step, and those places tell enough without looking behind
// each step (nor is it done for chain rungs, too slow for that). Only when that path uses the
// technique does the real one decide; a real path that uses it but then needs rungs above the band
// comes nearer the fewer places need them.
int PracticeNearness(const Grid& clues, int level, const ExtremChoice& choice,
                     const std::function<SolvingPath(const Grid&)>& path) {
    if (level < 3 || !choice.technique) return FitsLevel(path(clues), level, choice) ? LevelJudge::kAccepted : -1;
    const Rung& aim = Info(*choice.technique);
    const bool openEnded = choice.band.high >= kNoUpperEnd;
    const bool lookBehind = !openEnded && !aim.chain;
    const int top = !openEnded ? choice.band.high + 1 : aim.difficulty < kCostlyRungs ? kCostlyRungs : INT_MAX;
    const std::optional<LogicState> start = LogicState::FromGrid(clues);
    if (!start) return -1;
    // Only a path going on past a stall needs the solution; a puzzle of the level's rule has one.
    std::optional<Grid> solution;
    const auto solutionOf = [&]() -> const Grid& {
        if (!solution) SudokuXSolver::CountSolutions(clues, 1, &solution.emplace());
        return *solution;
    };
    WalkMemo& memo = WalkMemo::For(choice);
    std::vector<std::pair<PositionKey, int>> passed;  // the positions past singles, chances before each
    LogicState state = *start;
    PathRest rest;
    while (!state.Solved() && !state.Contradicted()) {
        const PositionKey key = KeyOf(state);
        if (const auto known = memo.rests.find(key); known != memo.rests.end()) {
            rest = {rest.chances + known->second.chances, known->second.reachesAim};
            break;
        }
        const std::optional<Step> step = NextStep(state, top);
        if (!step || step->technique > Technique::NakedSingle) passed.emplace_back(key, rest.chances);
        if (!step) {
            if (!openEnded) break;
            ++rest.chances;
            PlaceFewestCell(state, solutionOf());
            continue;
        }
        if (step->technique == aim.technique) {
            rest.reachesAim = true;
            break;
        }
        if (step->technique > aim.technique ||
            (lookBehind && step->technique > Technique::NakedSingle && StandsAlone(aim, state))) {
            ++rest.chances;
        }
        Apply(state, *step);
    }
    for (const auto& [key, before] : passed) memo.rests.emplace(key, PathRest{rest.chances - before, rest.reachesAim});
    // A path through every rung that needed none above the technique's gives a walk nothing to climb.
    if (!rest.reachesAim) return rest.chances == 0 && top == INT_MAX ? -1 : rest.chances;
    const SolvingPath real = path(clues);
    if (FitsLevel(real, level, choice)) return LevelJudge::kAccepted;
    if (!Uses(real, aim.technique) || real.verdict != Verdict::Stuck) return rest.chances;
    state = *start;
    for (const Step& step : real.steps) Apply(state, step);
    return kUsedAboveBand - StallsFrom(state, solutionOf(), choice.band.high + 1);
}

}  // namespace

ExtremChoice MakeExtremChoice(std::optional<RatingBand> band, std::optional<Technique> technique) {
    ExtremChoice choice;
    choice.technique = technique;
    if (band) {
        choice.band = *band;
    } else if (technique) {
        const int base = Info(*technique).difficulty;
        choice.band = {kExtremLowest, base + kRoomBelowBandTop > kExtremBand.high ? kNoUpperEnd : kExtremBand.high};
    }
    return choice;
}

std::optional<RatingBand> ParseRatingBand(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const std::optional<int> low = ParseRating(text.substr(0, dash));
    const std::optional<int> high = ParseRating(text.substr(dash + 1));
    if (!low || !high || *low < kExtremLowest || *low > *high) return std::nullopt;
    return RatingBand{*low, std::min(*high, kNoUpperEnd)};
}

RatingBand LevelBand(int level, const ExtremChoice& choice) {
    return level < 3 ? kSinglesBands.at(level) : choice.band;
}

bool FitsLevel(const SolvingPath& path, int level, const ExtremChoice& choice) {
    if (path.verdict != Verdict::Solved || !LevelBand(level, choice).Holds(path.rating)) return false;
    if (level < 3 || !choice.technique) return true;
    return Uses(path, *choice.technique);
}

LevelJudge RatedLevelJudge(const ExtremChoice& choice) {
    // Paths that would climb above the band stop early instead of finding the harder steps.
    const auto path = [choice](int level, const Grid& clues) {
        const int top = LevelBand(level, choice).high;
        return SolvePath(clues, top >= kNoUpperEnd ? INT_MAX : top + 1);
    };
    LevelJudge judge;
    judge.keeps = [path, choice](int level, const Grid& clues) {
        if (LevelBand(level, choice).high >= kNoUpperEnd) return true;
        return path(level, clues).verdict == Verdict::Solved;
    };
    judge.accepts = [path, choice](int level, const Grid& clues) { return FitsLevel(path(level, clues), level, choice); };
    // The one guess's right digit reaches every cell by singles, so a dynamic forcing chain from
    // the guessed cell is always at hand: a rung above it is needed only where that guess fails.
    judge.beyondGuess = choice.technique && *choice.technique > Technique::DynamicForcingChain;
    if (choice.technique) {
        judge.nearness = [path, choice](int level, const Grid& clues) {
            return PracticeNearness(clues, level, choice, [&](const Grid& g) { return path(level, g); });
        };
    }
    return judge;
}

}  // namespace tessaro::logic
