#include "logic/RatedLevels.h"

#include <algorithm>
#include <charconv>

#include "puzzles/SudokuXSolver.h"

namespace tessaro::logic {
namespace {

// Above every count of chances, below acceptance.
constexpr int kUsedAboveBand = 1 << 20;

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

// How many places of a path from state on need a rung of maxDifficulty or more. At each, the cell
// with the fewest candidates gets its digit of the solution instead of the harder step, which
// would cost far more to find than the count needs.
int StallsFrom(LogicState state, const Grid& solution, int maxDifficulty) {
    int stalls = 0;
    while (!state.Solved() && !state.Contradicted()) {
        if (const std::optional<Step> step = NextStep(state, maxDifficulty)) {
            Apply(state, *step);
            continue;
        }
        ++stalls;
        int fewest = -1;
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (state.value[cell] == 0 && (fewest < 0 || DigitCount(state.cand[cell]) < DigitCount(state.cand[fewest])))
                fewest = cell;
        }
        state.Place(fewest, solution[GridIndex(fewest)]);
    }
    return stalls;
}

// How near a path comes to using the practised technique: a rare rung is used only where no
// rung below it has a step, so every place where the path needed a harder rung is a chance the
// technique takes, and every place where the technique stood behind a lower rung that won is a
// pattern a nearby puzzle may keep without the lower one. Chain rungs are too slow to look
// behind on every step. A path that uses the technique but then needs rungs above the band
// comes nearer the fewer places need them.
int PracticeNearness(const SolvingPath& path, const Grid& clues, int level, const ExtremChoice& choice) {
    if (FitsLevel(path, level, choice)) return LevelJudge::kAccepted;
    if (level < 3 || !choice.technique) return -1;
    const Rung& aim = Info(*choice.technique);
    int chances = 0;
    bool used = false;
    const std::optional<LogicState> start = LogicState::FromGrid(clues);
    if (!start) return -1;
    LogicState state = *start;
    for (const Step& step : path.steps) {
        if (step.technique > aim.technique) {
            ++chances;
        } else if (!aim.chain && step.technique > Technique::NakedSingle && StandsAlone(aim, state)) {
            ++chances;
        }
        used = used || step.technique == aim.technique;
        Apply(state, step);
    }
    Grid solution{};
    if (!used || path.verdict != Verdict::Stuck || SudokuXSolver::CountSolutions(clues, 2, &solution) != 1) return chances;
    return kUsedAboveBand - StallsFrom(state, solution, choice.band.high + 1);
}

}  // namespace

ExtremChoice MakeExtremChoice(std::optional<RatingBand> band, std::optional<Technique> technique) {
    ExtremChoice choice;
    choice.technique = technique;
    if (band) {
        choice.band = *band;
    } else if (technique) {
        const int base = Info(*technique).difficulty;
        choice.band = {kExtremLowest, base >= kExtremBand.high ? kNoUpperEnd : kExtremBand.high};
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
    return std::any_of(path.steps.begin(), path.steps.end(),
                       [&](const Step& step) { return step.technique == *choice.technique; });
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
    if (choice.technique) {
        judge.nearness = [path, choice](int level, const Grid& clues) {
            return PracticeNearness(path(level, clues), clues, level, choice);
        };
    }
    return judge;
}

}  // namespace tessaro::logic
