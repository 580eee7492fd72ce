// Aligned exclusion: the candidates of two or three cells are tried together. A combination is
// impossible when two of the cells that see each other would hold one digit, or when a cell that
// sees them all would keep no candidate. A candidate no possible combination uses is false.

#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

constexpr bool TwoOrMore(CellSet cells) {
    cells.Remove(cells.First());
    return !cells.Empty();
}

// The cells that may rule combinations out, gathered by the combinations they strike for x, the
// digit the cell that may lose one holds.
struct Excluders {
    std::array<DigitMask, 10> beside{};  // per digit y: the x of each excluder {x, y}
    std::array<std::array<DigitMask, 10>, 10> between{};  // per y and z: x of {x, y, z}, any x for {y, z}

    void Add(DigitMask cand) {
        const int p = LowestDigit(cand);
        cand &= cand - 1;
        const int q = LowestDigit(cand);
        cand &= cand - 1;
        if (cand == 0) {
            beside[p] |= Bit(q);
            beside[q] |= Bit(p);
            between[p][q] = between[q][p] = kAllDigits;
            return;
        }
        const int r = LowestDigit(cand);
        between[p][q] |= Bit(r), between[q][p] |= Bit(r);
        between[p][r] |= Bit(q), between[r][p] |= Bit(q);
        between[q][r] |= Bit(p), between[r][q] |= Bit(p);
    }
    // The digits x for which one of them rules out y in j beside z in k (no k for a pair, z unused).
    DigitMask Striking(int y, int z, bool triple) const {
        return triple ? beside[y] | beside[z] | between[y][z] : beside[y];
    }
};

Excluders ExcludersOf(const LogicState& state, CellSet cells) {
    Excluders ex;
    for (int cell : cells) ex.Add(state.cand[cell]);
    return ex;
}

// How a cell holding x lies to the base cells j and k (no k for a pair).
struct Sight {
    bool j = false;  // it sees j
    bool k = false;  // it sees k
    bool jk = false;  // j sees k
    bool triple = true;
};

// The digits x for which the houses alone rule out y in j beside z in k: x in a house of j or
// of k, or any x when j sees k and y == z.
DigitMask RuledByHouses(Sight sight, int y, int z) {
    if (sight.jk && y == z) return kAllDigits;
    return (sight.j ? Bit(y) : 0) | (sight.k ? Bit(z) : 0);
}

// The digits of tested that a cell lying to j and k as sight says loses beside them: those for
// which every combination of their digits (inJ, inK) is ruled out by the cell's own houses or by
// an excluder of ex.
DigitMask LosableDigits(Sight sight, DigitMask inJ, DigitMask inK, const Excluders& ex, DigitMask tested) {
    if (!sight.triple) inK = Bit(1);  // a pair: z unused
    // A combination mostly keeps the digits of its own houses, y and z: the next one taken shares
    // neither where it can, so that most tests end after two or three. Round by round, the digits
    // of j are taken with those of k in turn, each round starting one digit of k later.
    DigitMask digits = tested;
    for (DigitMask first = inK; first != 0; first &= first - 1) {
        DigitMask zs = first;
        for (DigitMask ys = inJ; ys != 0; ys &= ys - 1) {
            const int y = LowestDigit(ys), z = LowestDigit(zs);
            zs &= zs - 1;
            if (zs == 0) zs = inK;
            if (sight.jk && y == z) continue;  // ruled out whatever x is
            digits &= RuledByHouses(sight, y, z) | ex.Striking(y, z, sight.triple);
            if (digits == 0) return 0;
        }
    }
    return digits;
}

// The excluders that strike a combination first when the cell holding x, a losable digit, loses it.
CellSet Strikers(const LogicState& state, Sight sight, DigitMask inJ, DigitMask inK, CellSet ex, int x) {
    CellSet used{};
    for (DigitMask ys = inJ; ys != 0; ys &= ys - 1) {
        const int y = LowestDigit(ys);
        for (DigitMask zs = sight.triple ? inK : Bit(1); zs != 0; zs &= zs - 1) {
            const int z = LowestDigit(zs);
            if ((RuledByHouses(sight, y, z) & Bit(x)) != 0) continue;
            for (int cell : ex) {
                Excluders one;
                one.Add(state.cand[cell]);
                if ((one.Striking(y, z, sight.triple) & Bit(x)) == 0) continue;
                used.Add(cell);
                break;
            }
        }
    }
    return used;
}

// The step of the base cells at, j and k (k < 0 for a pair) if at loses a candidate; only those of
// tested may go. The cells of seeingAll that hold no digit beyond the base cells' may rule
// combinations out.
std::optional<Step> Exclude(const LogicState& state, int at, int j, int k, CellSet seeingAll, DigitMask tested,
                            Technique technique) {
    const DigitMask all = state.cand[at] | state.cand[j] | (k >= 0 ? state.cand[k] : 0);
    CellSet ex{};
    for (int cell : seeingAll) {
        if ((state.cand[cell] & ~all) == 0) ex.Add(cell);
    }
    if (!TwoOrMore(ex)) return std::nullopt;
    const bool triple = k >= 0;
    const Sight sight{Sees(at, j), triple && Sees(at, k), triple && Sees(j, k), triple};
    const DigitMask inK = triple ? state.cand[k] : 0;
    const DigitMask losable = LosableDigits(sight, state.cand[j], inK, ExcludersOf(state, ex), tested);
    if (losable == 0) return std::nullopt;
    std::vector<Candidate> removed;
    CellSet used{};
    for (DigitMask m = losable; m != 0; m &= m - 1) {
        const int x = LowestDigit(m);
        used |= Strikers(state, sight, state.cand[j], inK, ex, x);
        removed.push_back({static_cast<std::uint8_t>(at), static_cast<std::uint8_t>(x)});
    }
    Step step = NewStep(technique);
    CellSet cells = CellSet::Of(at) | CellSet::Of(j);
    if (k >= 0) cells.Add(k);
    step.eliminations = removed;
    AddCells(step, cells);
    for (int cell : used) AddCandidates(step.pattern, cell, state.cand[cell]);
    std::string names;
    for (const Candidate& c : removed) names += (names.empty() ? "" : " oder ") + CellName(c.cell) + " die " + Sym(c.digit);
    step.explanation = "Für " + CellList(cells) + " bleibt keine Verteilung, in der " + names +
                       " ist: Jede ließe " + CellList(used, " oder ") +
                       (used.Count() == 1 ? ", das sie alle sieht," : ", die sie alle sehen,") +
                       " ohne Kandidaten oder gäbe zwei von ihnen, die einander sehen, dieselbe Ziffer.";
    return step;
}

// The digits x of tested for which a third cell holding x could lose it beside j and k: even
// with every excluder they share and x in both of its own houses, few enough combinations of j
// and k are left. Where none of j's (or k's) digits is left, the pair of the third cell and k (or
// j) removes x already, a rung below. The third cells the search tries hold one of these.
DigitMask ThirdCellDigits(const LogicState& state, int j, int k, CellSet near, DigitMask tested) {
    const DigitMask jk = static_cast<DigitMask>(state.cand[j] | state.cand[k]);
    std::array<DigitMask, 10> lines{};
    std::array<int, 10> singles{};
    int pairs = 0;  // excluders of two digits of j and k: a single for every x they lack
    for (int cell : near) {
        const DigitMask cand = state.cand[cell];
        const DigitMask beyond = cand & ~jk;  // a digit beyond j and k must be x
        if (DigitCount(beyond) > 1) continue;
        const bool two = DigitCount(cand) == 2;
        if (two && beyond == 0) ++pairs;
        for (DigitMask m = beyond != 0 ? beyond : cand; m != 0; m &= m - 1) {
            const int x = LowestDigit(m);
            if (two) lines[x] |= cand & ~Bit(x), singles[x] -= beyond == 0;
            else ++singles[x];
        }
    }
    DigitMask digits = 0;
    for (; tested != 0; tested &= tested - 1) {
        const int x = LowestDigit(tested);
        const DigitMask leftJ = state.cand[j] & ~lines[x] & ~Bit(x), leftK = state.cand[k] & ~lines[x] & ~Bit(x);
        if (leftJ != 0 && leftK != 0 &&
            DigitCount(leftJ) * DigitCount(leftK) <= 2 * (pairs + singles[x]) + DigitCount(leftJ & leftK))
            digits |= Bit(x);
    }
    return digits;
}

// The cells that see two cells near j and k that may rule out combinations: a digit of such a
// cell beyond j and k must be the third cell's own, so one of digits.
CellSet SeeingTwo(const LogicState& state, int j, int k, CellSet near, CellSet open, DigitMask digits) {
    const DigitMask jk = static_cast<DigitMask>(state.cand[j] | state.cand[k]);
    CellSet seeOne{}, seeTwo{};
    for (int cell : near) {
        const DigitMask beyond = state.cand[cell] & ~jk;
        if ((beyond & (beyond - 1)) != 0 || (beyond & ~digits) != 0) continue;  // one digit beyond at most
        const CellSet seeing = kHouses.peers[cell] & (beyond != 0 ? state.cellsWith[LowestDigit(beyond)] : open);
        seeTwo |= seeOne & seeing;
        seeOne |= seeing;
    }
    return seeTwo;
}

// Per digit d: the digits a third cell could lose beside cell and a second cell holding d, at
// best: the third cell sees both, the second sees cell and every cell near cell rules
// combinations out. The cells near a pair are near each of them, so the pair leaves a third cell
// no more than these for each digit of the other, from either side.
using BesideDigits = std::array<DigitMask, 10>;
BesideDigits LosableBeside(const LogicState& state, int cell, CellSet small) {
    const Excluders ex = ExcludersOf(state, kHouses.peers[cell] & small);
    constexpr Sight kBest{true, true, true, true};
    BesideDigits digits;
    digits.fill(kAllDigits);
    for (DigitMask ys = state.cand[cell]; ys != 0; ys &= ys - 1) {
        const int y = LowestDigit(ys);
        for (int d = 1; d <= 9; ++d) digits[d] &= RuledByHouses(kBest, y, d) | ex.Striking(y, d, true);
    }
    return digits;
}

// Those of digits a third cell could lose beside a cell whose BesideDigits are beside and the
// other cell holding other.
DigitMask LosableWith(const BesideDigits& beside, DigitMask other, DigitMask digits) {
    for (; other != 0 && digits != 0; other &= other - 1) digits &= beside[LowestDigit(other)];
    return digits;
}

// The cells numbered above cell.
constexpr CellSet CellsAfter(int cell) {
    const int from = cell + 1;
    const std::uint64_t high = (std::uint64_t{1} << (kCellCount - 64)) - 1;
    if (from < 64) return {~std::uint64_t{0} << from, high};
    return {0, high & (~std::uint64_t{0} << (from - 64))};
}

// The first pair or triple with something to remove: triples by the two cells whose combinations
// are struck, then the third. The cells that may rule a
// combination out see every base cell and hold at most as many candidates as there are base
// cells. One such cell alone removes only what a naked pair or a wing removed before, so the base
// cells have at least two in common.
// Pairs by the cell that loses x: every other digit of the second cell has a pair with x among the
// cells of two candidates that see both; if the second cell holds x, it sees the first.
std::optional<Step> FindAlignedPair(const LogicState& state, CellSet open, CellSet pairs) {
    for (int a : open) {
        for (DigitMask m = state.cand[a]; m != 0; m &= m - 1) {
            const int x = LowestDigit(m);
            const CellSet withX = kHouses.peers[a] & pairs & state.cellsWith[x];
            if (!TwoOrMore(withX)) continue;
            std::array<CellSet, 10> cover{};  // per digit y: the cells that see a pair of x and y
            CellSet any{};
            for (int cell : withX) {
                cover[LowestDigit(state.cand[cell] & ~Bit(x))] |= kHouses.peers[cell];
                any |= kHouses.peers[cell];
            }
            for (int b : any & open) {
                if (b == a) continue;
                DigitMask need = state.cand[b] & ~(Sees(a, b) ? Bit(x) : 0);
                for (; need != 0 && cover[LowestDigit(need)].Has(b); need &= need - 1) {
                }
                if (need != 0) continue;
                if (auto step = Exclude(state, a, b, -1, kHouses.peers[a] & kHouses.peers[b] & pairs, state.cand[a],
                                        Technique::AlignedPairExclusion))
                    return step;
            }
        }
    }
    return std::nullopt;
}

std::optional<Step> FindAligned(const LogicState& state, int size, Technique technique) {
    CellSet open{}, small{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int count = DigitCount(state.cand[cell]);
        if (count >= 2) open.Add(cell);
        if (count >= 2 && count <= size) small.Add(cell);
    }
    if (size == 2) return FindAlignedPair(state, open, small);
    std::array<BesideDigits, kCellCount> beside;
    for (int cell : open) beside[cell] = LosableBeside(state, cell, small);
    for (int a : open) {
        const CellSet nearA = kHouses.peers[a] & small;
        CellSet once{}, twice{};  // the cells that see two of those
        for (int cell : nearA) {
            twice |= once & kHouses.peers[cell];
            once |= kHouses.peers[cell];
        }
        for (int b : twice & open & CellsAfter(a)) {
            const CellSet nearAB = nearA & kHouses.peers[b];
            // a and b as the two cells whose combinations are struck; the third is the one that
            // loses a digit. First the digits a third cell could lose if it saw both and every cell
            // near both: fewer peers and excluders only leave more combinations, so no third cell
            // loses another. Most pairs have none, as the cells near each one alone tell.
            const DigitMask atBest =
                LosableWith(beside[b], state.cand[a], LosableWith(beside[a], state.cand[b], kAllDigits));
            if (atBest == 0) continue;
            const Sight best{true, true, Sees(a, b), true};
            const DigitMask losable =
                LosableDigits(best, state.cand[a], state.cand[b], ExcludersOf(state, nearAB), atBest);
            if (losable == 0) continue;
            // The third cell sees two cells near a and b.
            CellSet thirds = SeeingTwo(state, a, b, nearAB, open, kAllDigits);
            thirds.Remove(a);
            thirds.Remove(b);
            // The search tries only third cells holding one of ThirdCellDigits of the digits they
            // hold; as a cell that loses something is rare, that is checked only for such a cell.
            auto tried = [&](int c) {
                DigitMask held = 0;
                for (int third : thirds) held |= state.cand[third];
                const DigitMask digits = ThirdCellDigits(state, a, b, nearAB, held);
                CellSet holding{};
                for (DigitMask m = digits; m != 0; m &= m - 1) holding |= state.cellsWith[LowestDigit(m)];
                return (SeeingTwo(state, a, b, nearAB, open, digits) & holding).Has(c);
            };
            for (int c : thirds) {
                if ((state.cand[c] & losable) == 0) continue;
                auto step = Exclude(state, c, a, b, nearAB & kHouses.peers[c], state.cand[c] & losable, technique);
                if (step && tried(c)) return step;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> FindAlignedPairExclusion(const LogicState& state) {
    return FindAligned(state, 2, Technique::AlignedPairExclusion);
}
std::optional<Step> FindAlignedTripletExclusion(const LogicState& state) {
    return FindAligned(state, 3, Technique::AlignedTripletExclusion);
}

}  // namespace tessaro::logic
