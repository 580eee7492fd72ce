// Proof by contradiction: a candidate is assumed and the consequences are drawn with the lower
// rungs (level 1: every rung below this one, the dynamic chains included; level 2 and on: this
// rung itself, one level shallower) until some cell or house cannot be filled. Deep enough, this refutes some candidate in every position with one
// solution, which makes the ladder complete.
#include <algorithm>
#include <bitset>
#include <climits>
#include <vector>

#include "logic/Chains.h"
#include "logic/Finders.h"
#include "logic/Solver.h"
#include "puzzles/SudokuXSolver.h"

namespace tessaro::logic {
namespace {

constexpr int kLevelStep = 5;  // tenths each level adds to the base

int Index(int cell, int digit) { return 9 * cell + digit - 1; }

std::string ContradictionText(int cell, int house, int digit) {
    if (cell >= 0) return "für " + CellName(cell) + " kein Kandidat bleibt";
    return "in " + HouseName(house) + " kein Platz für die " + Sym(digit) + " bleibt";
}

// The singles drawn from one assumption on a queue of their own, each conclusion with its reason,
// so that a contradiction can be shown as the links that lead to it.
class SinglesPropagation {
public:
    explicit SinglesPropagation(const LogicState& origin) : origin_(origin) {
        for (int h = 0; h < kHouseCount; ++h) {
            for (int cell : kHouses.cells[h]) {
                if (origin.value[cell] != 0) originPlaced_[h] |= Bit(origin.value[cell]);
            }
        }
        queue_.reserve(6 * kLiteralCount);
    }

    enum class Outcome { Refuted, Exhausted, Cut };  // Cut: stopped at maxDepth
    // Whether assuming digit in cell makes some cell or house unfillable within maxDepth rounds
    // of singles.
    Outcome Refutes(int cell, int digit, int maxDepth) {
        state_ = origin_;
        placed_ = originPlaced_;
        queue_.clear();
        conflictCell_ = conflictHouse_ = -1;
        depth_ = 0;
        Place(cell, digit, kAssumed);
        for (std::size_t head = 0; !Conflict() && head < queue_.size(); ++head) {
            const Pending p = queue_[head];
            if (p.depth > maxDepth) return Outcome::Cut;
            depth_ = p.depth;
            if (state_.value[p.cell] == 0 && state_.Has(p.cell, p.digit)) Place(p.cell, p.digit, p.reason);
        }
        return Conflict() ? Outcome::Refuted : Outcome::Exhausted;
    }

    // The state the last propagation reached.
    const LogicState& Result() const { return state_; }

private:
    static constexpr std::int8_t kAssumed = -1;
    static constexpr std::int8_t kNakedSingle = -2;  // else: hidden single in that house
    struct Pending {
        std::uint8_t cell, digit;
        std::int8_t reason;
        std::uint8_t depth;  // rounds of singles from the assumption
    };

    bool Conflict() const { return conflictCell_ >= 0 || conflictHouse_ >= 0; }
    std::uint8_t NextDepth() const { return static_cast<std::uint8_t>(depth_ < 255 ? depth_ + 1 : 255); }

    void Place(int cell, int digit, std::int8_t reason) {
        onReason_[Index(cell, digit)] = reason;
        state_.value[cell] = static_cast<std::uint8_t>(digit);
        for (int k = 0; k < kHouses.houseCount[cell]; ++k) placed_[kHouses.housesOf[cell][k]] |= Bit(digit);
        const DigitMask others = state_.cand[cell] & static_cast<DigitMask>(~Bit(digit));
        state_.cand[cell] = 0;
        state_.cellsWith[digit].Remove(cell);
        const auto cause = static_cast<std::int16_t>(Index(cell, digit));
        for (DigitMask m = others; m != 0 && !Conflict(); m &= m - 1) {
            const int other = LowestDigit(m);
            state_.cellsWith[other].Remove(cell);
            offCause_[Index(cell, other)] = cause;
            CheckHouses(cell, other);
        }
        for (int peer : kHouses.peers[cell] & state_.cellsWith[digit]) {
            if (Conflict()) return;
            Eliminate(peer, digit, cause);
        }
    }

    void Eliminate(int cell, int digit, std::int16_t cause) {
        state_.Eliminate(cell, digit);
        offCause_[Index(cell, digit)] = cause;
        const DigitMask left = state_.cand[cell];
        if (left == 0) {
            conflictCell_ = cell;
            return;
        }
        if (SingleBit(left))
            queue_.push_back({static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(LowestDigit(left)), kNakedSingle,
                              NextDepth()});
        CheckHouses(cell, digit);
    }

    // The digit just left cell: a house of it may have one place left, or none.
    void CheckHouses(int cell, int digit) {
        for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
            const int house = kHouses.housesOf[cell][k];
            const CellSet places = state_.PlacesOf(house, digit);
            if (!places.Empty() && !OneCell(places)) continue;  // the common case first
            if ((placed_[house] & Bit(digit)) != 0) continue;
            if (places.Empty()) {
                conflictHouse_ = house;
                conflictDigit_ = digit;
                return;
            }
            queue_.push_back({static_cast<std::uint8_t>(places.First()), static_cast<std::uint8_t>(digit),
                              static_cast<std::int8_t>(house), NextDepth()});
        }
    }

    const LogicState& origin_;
    std::array<DigitMask, kHouseCount> originPlaced_{};
    LogicState state_;
    std::array<DigitMask, kHouseCount> placed_{};
    std::array<std::int16_t, kLiteralCount / 2> offCause_{};
    std::array<std::int8_t, kLiteralCount / 2> onReason_{};
    std::vector<Pending> queue_;
    int conflictCell_ = -1, conflictHouse_ = -1, conflictDigit_ = 0;
    int depth_ = 0;
};

Step RefutationStep(int level, int cell, int digit, std::vector<ChainLink> proof, const std::string& how) {
    Step step = ChainStep(Technique::NestedForcingChain,
                          Info(Technique::NestedForcingChain).difficulty + kLevelStep * (level - 1), {std::move(proof)});
    step.eliminations = {{static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(digit)}};
    step.explanation = "Wäre " + CellName(cell) + " die " + Sym(digit) + ", so folgte " + how +
                       ". Das ist ein Widerspruch, also " + CellName(cell) + "≠" + Sym(digit) + ".";
    return step;
}

std::string ContradictionIn(const LogicState& state) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (state.value[cell] == 0 && state.cand[cell] == 0) return ContradictionText(cell, -1, 0);
    }
    for (int h = 0; h < kHouseCount; ++h) {
        for (int digit = 1; digit <= 9; ++digit) {
            bool present = false;
            for (int cell : kHouses.cells[h]) present = present || state.value[cell] == digit || state.Has(cell, digit);
            if (!present) return ContradictionText(-1, h, digit);
        }
    }
    return "das Brett nicht zu füllen ist";
}

// Levels 2 and on: the assumption's consequences drawn with the ladder below maxDifficulty; the
// chain runs from the assumption through each step's first effect.
// The singles come first from the fast propagation, which level 1 has shown not to refute.
std::optional<Step> RefuteWithLadder(const LogicState& state, SinglesPropagation& singles, int cell, int digit, int level,
                                     int maxDifficulty, int nesting) {
    if (singles.Refutes(cell, digit, 255) != SinglesPropagation::Outcome::Exhausted) return std::nullopt;
    LogicState assumed = singles.Result();
    std::vector<ChainLink> chain;
    std::vector<Technique> techniques;  // each once, in the order of first use
    int from = LiteralOf(cell, digit, true);
    for (int other = 0; other < kCellCount; ++other) {
        if (other != cell && state.value[other] == 0 && assumed.value[other] != 0)
            chain.push_back(LinkOf(from, LiteralOf(other, assumed.value[other], true)));
    }
    while (!assumed.Contradicted()) {
        if (assumed.Solved()) return std::nullopt;
        std::optional<Step> step = NextStep(assumed, maxDifficulty, nesting);
        if (!step) return std::nullopt;
        Apply(assumed, *step);
        int next = -1;
        for (const Candidate& c : step->placements) {
            chain.push_back(LinkOf(from, LiteralOf(c.cell, c.digit, true)));
            if (next < 0) next = LiteralOf(c.cell, c.digit, true);
        }
        for (const Candidate& c : step->eliminations) {
            chain.push_back(LinkOf(from, LiteralOf(c.cell, c.digit, false)));
            if (next < 0) next = LiteralOf(c.cell, c.digit, false);
        }
        if (next >= 0) from = next;
        if (std::find(techniques.begin(), techniques.end(), step->technique) == techniques.end())
            techniques.push_back(step->technique);
    }
    std::string names;
    for (std::size_t i = 0; i < techniques.size(); ++i) {
        names += (i == 0 ? "" : i + 1 == techniques.size() ? " und " : ", ") + std::string(Info(techniques[i]).name);
    }
    return RefutationStep(level, cell, digit, std::move(chain),
                          std::string(techniques.size() == 1 ? "mit Einern und der Technik " : "mit Einern und den Techniken ") +
                              names + ", dass " + ContradictionIn(assumed));
}

// The candidates of the fewest-candidate cells first: their refutations tend to be the shortest.
std::vector<Candidate> CandidatesByCellSize(const LogicState& state) {
    std::vector<Candidate> order;
    for (int size = 2; size <= 9; ++size) {
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (state.value[cell] != 0 || DigitCount(state.cand[cell]) != size) continue;
            for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1)
                order.push_back({static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(LowestDigit(m))});
        }
    }
    return order;
}

}  // namespace

std::optional<Step> FindNestedForcingChain(const LogicState& state) {
    return FindNestedForcingChainUpTo(state, kDeepestNesting);
}

// How deep this rung may nest where it runs: a deeper level lowers the limit for its inner steps.
std::optional<Step> FindNestedForcingChainUpTo(const LogicState& state, int deepest) {
    if (deepest < 1) return std::nullopt;
    // These levels search for long only to refute nothing where the board has several solutions
    // (every candidate may be right); with one or none, some candidate falls.
    if (SudokuXSolver::CountSolutions(state.ToGrid(), 2) > 1) return std::nullopt;
    const std::vector<Candidate> order = CandidatesByCellSize(state);
    SinglesPropagation singles(state);
    for (int level = 1; level <= deepest; ++level) {
        const int maxDifficulty = level == 1 ? Info(Technique::NestedForcingChain).difficulty : INT_MAX;
        // Deeper levels cost much more: the first refutation in the order above is taken.
        for (const Candidate& c : order) {
            if (std::optional<Step> step = RefuteWithLadder(state, singles, c.cell, c.digit, level, maxDifficulty, level - 1))
                return step;
        }
    }
    return std::nullopt;
}

}  // namespace tessaro::logic
