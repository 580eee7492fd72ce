// Cell and house forcing chains: every candidate of a cell, or every place of a digit in a house,
// leads to the same conclusion, so it holds.
#include <array>
#include <climits>
#include <vector>

#include "logic/Chains.h"
#include "logic/Finders.h"

namespace tessaro::logic {
namespace {

struct Reach {
    LiteralSet reached{};
    std::array<std::uint8_t, kLiteralCount> depth{};
};

struct Conclusion {
    int total = INT_MAX;
    int literal = -1;
    std::vector<int> starts;
    int house = -1;  // -1: the starts are the candidates of one cell
};

}  // namespace

std::optional<Step> FindMultipleForcingChain(const LogicState& state) {
    // What each true candidate implies with its distances, searched once and only for groups whose
    // closures share a conclusion.
    const ImplicationClosure& closure = ClosureOf(state);
    std::array<int, kLiteralCount / 2> slot;
    slot.fill(-1);
    std::vector<Reach> reach;
    reach.reserve(kLiteralCount / 2);
    ImplicationSearch search(state, kEveryDigit);
    auto reachOf = [&](int start) -> const Reach& {
        int& at = slot[start >> 1];
        if (at < 0) {
            at = static_cast<int>(reach.size());
            Reach& r = reach.emplace_back();
            search.Run(start, 250, [&](int literal, int depth) {
                r.reached[literal / 64] |= std::uint64_t{1} << (literal % 64);
                r.depth[literal] = static_cast<std::uint8_t>(depth);
                return false;
            });
        }
        return reach[at];
    };
    Conclusion best;
    std::vector<int> starts;
    auto judge = [&](int house) {
        if (starts.size() < 2) return;
        if (!closure.ShareConsequence(starts)) return;
        LiteralSet common = reachOf(starts[0]).reached;
        for (int start : starts) {
            const LiteralSet& other = reachOf(start).reached;
            for (int w = 0; w < kLiteralWords; ++w) common[w] &= other[w];
        }
        for (int w = 0; w < kLiteralWords; ++w) {
            for (std::uint64_t bits = common[w]; bits != 0; bits &= bits - 1) {
                const int literal = 64 * w + std::countr_zero(bits);
                int total = 0;
                for (int start : starts) total += reach[slot[start >> 1]].depth[literal];
                if (total < best.total) best = {total, literal, starts, house};
            }
        }
    };
    for (int cell = 0; cell < kCellCount; ++cell) {
        starts.clear();
        for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) starts.push_back(LiteralOf(cell, LowestDigit(m), true));
        judge(-1);
    }
    for (int house = 0; house < kHouseCount; ++house) {
        for (int digit = 1; digit <= 9; ++digit) {
            starts.clear();
            for (int cell : state.PlacesOf(house, digit)) starts.push_back(LiteralOf(cell, digit, true));
            judge(house);
        }
    }
    if (best.literal < 0) return std::nullopt;

    std::vector<std::vector<ChainLink>> chains;
    std::string text;
    for (int start : best.starts) {
        search.Run(start, 250, [&](int literal, int) { return literal == best.literal; });
        chains.push_back(search.PathTo(best.literal));
        text += (text.empty() ? "" : "; ") + ChainText(chains.back());
    }
    Step step = ChainStep(Technique::MultipleForcingChain, Info(Technique::MultipleForcingChain).difficulty,
                          std::move(chains));
    const Candidate concluded = CandidateOfLiteral(best.literal);
    (IsOn(best.literal) ? step.placements : step.eliminations).push_back(concluded);
    const Candidate first = CandidateOfLiteral(best.starts.front());
    const std::string conclusion = LiteralText(best.literal);
    if (best.house < 0) {
        step.explanation = "Jeder Kandidat von " + CellName(first.cell) + " führt zu " + conclusion + ": " + text +
                           ". Einer davon ist wahr, also " + conclusion + ".";
    } else {
        step.houses = {best.house};
        step.explanation = "Jede Stelle der " + Sym(first.digit) + " in " + HouseName(best.house) + " führt zu " +
                           conclusion + ": " + text + ". Eine davon ist wahr, also " + conclusion + ".";
    }
    return step;
}

}  // namespace tessaro::logic
