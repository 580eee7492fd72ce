#include "logic/Chains.h"

#include <algorithm>
#include <bitset>
#include <climits>

namespace tessaro::logic {
namespace {

constexpr int kUnboundedDepth = 250;

int CandidateIndex(int literal) { return literal >> 1; }

// Runs fn(search, start candidate literal's cell, digit) for every candidate the scope covers:
// all candidates with one search, or digit by digit with a search of that digit's links.
template <class Fn>
void ForEachScopedCandidate(const LogicState& state, int digitScope, Fn&& fn) {
    if (digitScope == kEveryDigit) {
        ImplicationSearch search(state, kEveryDigit);
        for (int cell = 0; cell < kCellCount; ++cell) {
            for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) fn(search, cell, LowestDigit(m));
        }
        return;
    }
    for (int digit = 1; digit <= 9; ++digit) {
        ImplicationSearch search(state, digit);
        for (int cell : state.cellsWith[digit]) fn(search, cell, digit);
    }
}

int MaxDepthBelow(int bestLength, int margin) {
    return bestLength == INT_MAX ? kUnboundedDepth : bestLength - margin;
}

}  // namespace

std::vector<int> ImplicationSearch::LiteralsTo(int literal) const {
    std::vector<int> literals;
    for (int at = literal;; at = parent_[at]) {
        literals.push_back(at);
        if (depth_[at] == 0) break;
    }
    std::reverse(literals.begin(), literals.end());
    return literals;
}

std::vector<ChainLink> ImplicationSearch::PathTo(int literal) const {
    const std::vector<int> literals = LiteralsTo(literal);
    std::vector<ChainLink> links;
    for (std::size_t i = 1; i < literals.size(); ++i) links.push_back(LinkOf(literals[i - 1], literals[i]));
    return links;
}

int LengthBonus(int length) {
    int bound = 4, bonus = 0;
    bool timesThreeHalves = true;
    while (length > bound) {
        ++bonus;
        bound = timesThreeHalves ? bound * 3 / 2 : bound * 4 / 3;
        timesThreeHalves = !timesThreeHalves;
    }
    return bonus;
}

Candidate CandidateOfLiteral(int literal) {
    return {static_cast<std::uint8_t>(CellOfLiteral(literal)), static_cast<std::uint8_t>(DigitOfLiteral(literal))};
}

ChainLink LinkOf(int from, int to) { return {CandidateOfLiteral(from), CandidateOfLiteral(to), IsOn(from), IsOn(to)}; }

std::string LiteralText(const Candidate& candidate, bool on) {
    return CellName(candidate.cell) + (on ? "=" : "≠") + Sym(candidate.digit);
}

std::string LiteralText(int literal) { return LiteralText(CandidateOfLiteral(literal), IsOn(literal)); }

std::string ChainText(const std::vector<ChainLink>& chain) {
    if (chain.empty()) return {};
    std::string text = LiteralText(chain.front().from, chain.front().fromOn);
    for (const ChainLink& link : chain) text += " → " + LiteralText(link.to, link.toOn);
    return text;
}

Step ChainStep(Technique technique, int baseDifficulty, std::vector<std::vector<ChainLink>> chains) {
    Step step;
    step.technique = technique;
    std::size_t length = 0;
    std::bitset<kLiteralCount / 2> seen;
    CellSet cells;
    auto note = [&](const Candidate& c) {
        const int index = 9 * c.cell + c.digit - 1;
        if (seen[index]) return;
        seen[index] = true;
        step.pattern.push_back(c);
        if (!cells.Has(c.cell)) step.cells.push_back(c.cell);
        cells.Add(c.cell);
    };
    for (const std::vector<ChainLink>& chain : chains) {
        length += chain.size();
        for (const ChainLink& link : chain) {
            note(link.from);
            note(link.to);
        }
    }
    step.difficulty = baseDifficulty + LengthBonus(static_cast<int>(length));
    step.chains = std::move(chains);
    return step;
}

std::optional<Step> FindContradictionChain(const LogicState& state, Technique technique, int digitScope) {
    int bestLength = INT_MAX;
    std::optional<Step> best;
    ForEachScopedCandidate(state, digitScope, [&](ImplicationSearch& search, int cell, int digit) {
        for (bool assumeOn : {true, false}) {
            const int start = LiteralOf(cell, digit, assumeOn);
            search.Run(start, MaxDepthBelow(bestLength, 1), [&](int literal, int depth) {
                const int opposite = Negated(literal);
                if (!search.Reached(opposite)) return false;
                const int length = depth + search.Depth(opposite);
                if (length >= bestLength) return true;
                bestLength = length;
                std::vector<std::vector<ChainLink>> chains{search.PathTo(literal)};
                std::string text;
                if (opposite == start) {
                    text = "so folgte " + ChainText(chains[0]);
                } else {
                    chains.push_back(search.PathTo(opposite));
                    text = "so folgte sowohl " + ChainText(chains[0]) + " als auch " + ChainText(chains[1]);
                }
                best = ChainStep(technique, Info(technique).difficulty, std::move(chains));
                const Candidate assumed = CandidateOfLiteral(start);
                (assumeOn ? best->eliminations : best->placements).push_back(assumed);
                best->explanation = std::string("Wäre ") + CellName(cell) + (assumeOn ? " die " : " nicht die ") +
                                    Sym(digit) + ", " + text + ". Das ist ein Widerspruch, also " +
                                    LiteralText(assumed, !assumeOn) + ".";
                return true;
            });
        }
    });
    return best;
}

std::optional<Step> FindContinuousLoop(const LogicState& state, Technique technique, int digitScope) {
    int bestLength = INT_MAX;
    std::optional<Step> best;
    ForEachScopedCandidate(state, digitScope, [&](ImplicationSearch& search, int cellA, int digitA) {
        const int start = LiteralOf(cellA, digitA, false);
        search.Run(start, MaxDepthBelow(bestLength, 2), [&](int literal, int depth) {
            const int cellZ = CellOfLiteral(literal), digitZ = DigitOfLiteral(literal);
            if (!IsOn(literal) || depth < 3 || !WeaklyLinked(cellZ, digitZ, cellA, digitA)) return false;
            std::vector<int> loop = search.LiteralsTo(literal);
            std::bitset<kLiteralCount / 2> inLoop;
            for (int l : loop) {
                if (inLoop[CandidateIndex(l)]) return false;  // not a simple loop
                inLoop[CandidateIndex(l)] = true;
            }
            loop.push_back(start);
            // Each weak link (true → false) of the loop holds exactly one true candidate.
            std::bitset<kLiteralCount / 2> gone;
            for (std::size_t i = 1; i < loop.size(); i += 2) {
                const int p = loop[i], q = loop[i + 1];
                const int cellP = CellOfLiteral(p), cellQ = CellOfLiteral(q), digit = DigitOfLiteral(p);
                if (cellP == cellQ) {
                    const DigitMask rest = state.cand[cellP] & static_cast<DigitMask>(~(Bit(digit) | Bit(DigitOfLiteral(q))));
                    for (DigitMask m = rest; m != 0; m &= m - 1) gone[9 * cellP + LowestDigit(m) - 1] = true;
                } else {
                    for (int cell : kHouses.peers[cellP] & kHouses.peers[cellQ] & state.cellsWith[digit])
                        gone[9 * cell + digit - 1] = true;
                }
            }
            gone &= ~inLoop;
            if (gone.none()) return false;
            bestLength = depth + 1;
            std::vector<ChainLink> chain = search.PathTo(literal);
            chain.push_back(LinkOf(literal, start));
            const std::string text = ChainText(chain);
            best = ChainStep(technique, Info(technique).difficulty, {std::move(chain)});
            for (int index = 0; index < kLiteralCount / 2; ++index) {
                if (gone[index])
                    best->eliminations.push_back({static_cast<std::uint8_t>(index / 9), static_cast<std::uint8_t>(index % 9 + 1)});
            }
            best->explanation = "In der geschlossenen Schleife " + text +
                                " ist jede schwache Verbindung zugleich stark: von zwei Nachbarn darin ist genau einer "
                                "wahr, also fällt jeder Kandidat, der beide ausschließt.";
            return true;
        });
    });
    return best;
}

}  // namespace tessaro::logic
