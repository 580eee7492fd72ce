#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "logic/LogicState.h"
#include "logic/Step.h"

namespace tessaro::logic {

// A literal is a candidate with a truth value, numbered 2 * (9 * cell + digit - 1) + (on ? 1 : 0),
// so every chain search works on flat arrays.
inline constexpr int kLiteralCount = 2 * 9 * kCellCount;
constexpr int LiteralOf(int cell, int digit, bool on) { return 2 * (9 * cell + digit - 1) + (on ? 1 : 0); }
// Literals are never negative: unsigned division spares the sign correction in the hot loops.
constexpr int CellOfLiteral(int literal) { return static_cast<int>(static_cast<unsigned>(literal) / 18u); }
constexpr int DigitOfLiteral(int literal) { return static_cast<int>(static_cast<unsigned>(literal) / 2u % 9u) + 1; }
constexpr bool IsOn(int literal) { return (literal & 1) != 0; }
constexpr int Negated(int literal) { return literal ^ 1; }

// digitScope of the searches: kEveryDigit uses every link; kEachDigitAlone (finders) or a digit
// (searches) only the links between candidates of one digit (X-chains).
inline constexpr int kEveryDigit = 0;
inline constexpr int kEachDigitAlone = -1;
// Only the links of bivalue cells and between equal digits that see each other (Y-cycles).
inline constexpr int kBivalueCells = -2;

// Two different candidates that cannot both be true: the same cell, or the same digit in cells
// that share a house (row, column, box or diagonal).
constexpr bool WeaklyLinked(int cellA, int digitA, int cellB, int digitB) {
    if (cellA == cellB) return digitA != digitB;
    return digitA == digitB && Sees(cellA, cellB);
}

// Cheaper than counting bits, for the innermost loops.
constexpr bool SingleBit(std::uint64_t bits) { return bits != 0 && (bits & (bits - 1)) == 0; }
constexpr bool OneCell(CellSet s) { return s.low == 0 ? SingleBit(s.high) : s.high == 0 && SingleBit(s.low); }
constexpr bool TwoDigits(DigitMask m) { return m != 0 && SingleBit(m & (m - 1u)); }

// Calls f(next) for each literal that directly follows from literal: a true candidate makes every
// candidate it sees false; a false one makes its conjugate true (the other digit of a bivalue
// cell, the other place of the digit in a house that holds it twice). The same literal may come
// twice (two houses).
template <class F>
void ForEachConsequence(const LogicState& state, int literal, int digitScope, F&& f) {
    const int cell = CellOfLiteral(literal), digit = DigitOfLiteral(literal);
    if (IsOn(literal)) {
        for (int peer : kHouses.peers[cell] & state.cellsWith[digit]) f(LiteralOf(peer, digit, false));
        if (digitScope != kEveryDigit && digitScope != kBivalueCells) return;
        for (DigitMask rest = state.cand[cell] & static_cast<DigitMask>(~Bit(digit)); rest != 0; rest &= rest - 1)
            f(LiteralOf(cell, LowestDigit(rest), false));
        return;
    }
    if ((digitScope == kEveryDigit || digitScope == kBivalueCells) && TwoDigits(state.cand[cell]))
        f(LiteralOf(cell, LowestDigit(state.cand[cell] & static_cast<DigitMask>(~Bit(digit))), true));
    if (digitScope == kBivalueCells) return;
    for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
        CellSet others = state.PlacesOf(kHouses.housesOf[cell][k], digit);
        others.Remove(cell);
        if (OneCell(others)) f(LiteralOf(others.First(), digit, true));
    }
}

// Breadth-first search along those links from one literal. Reached literals keep their
// predecessor and distance until the next run; a generation stamp spares clearing the arrays.
class ImplicationSearch {
public:
    ImplicationSearch(const LogicState& state, int digitScope) : state_(state), scope_(digitScope) {}
    void SetScope(int digitScope) { scope_ = digitScope; }

    // visit(literal, depth) is told each newly reached literal and returns true to stop the run.
    template <class Visit>
    void Run(int start, int maxDepth, Visit&& visit) {
        ++generation_;
        Reach(start, start, 0);
        int head = 0, tail = 0;
        queue_[tail++] = static_cast<std::int16_t>(start);
        bool stop = false;
        while (head < tail && !stop) {
            const int from = queue_[head++];
            const int next = depth_[from] + 1;
            if (next > maxDepth) break;
            ForEachConsequence(state_, from, scope_, [&](int to) {
                if (stop || Reached(to)) return;
                Reach(to, from, next);
                queue_[tail++] = static_cast<std::int16_t>(to);
                stop = visit(to, next);
            });
        }
    }
    bool Reached(int literal) const { return stamp_[literal] == generation_; }
    int Depth(int literal) const { return depth_[literal]; }
    // The links from the start to a reached literal.
    std::vector<ChainLink> PathTo(int literal) const;
    // The literals from the start to a reached one into path, the start first; their count.
    using Path = std::array<std::int16_t, 256>;
    int Trace(int literal, Path& path) const;

private:
    void Reach(int literal, int from, int depth) {
        stamp_[literal] = generation_;
        parent_[literal] = static_cast<std::int16_t>(from);
        depth_[literal] = static_cast<std::uint8_t>(depth > 255 ? 255 : depth);
    }
    const LogicState& state_;
    int scope_;
    std::uint32_t generation_ = 0;
    std::array<std::uint32_t, kLiteralCount> stamp_{};
    std::array<std::int16_t, kLiteralCount> parent_{};
    std::array<std::uint8_t, kLiteralCount> depth_{};
    std::array<std::int16_t, kLiteralCount> queue_{};
};

// A set of literals as bits.
inline constexpr int kLiteralWords = (kLiteralCount + 63) / 64;
using LiteralSet = std::array<std::uint64_t, kLiteralWords>;

// Everything each literal implies along the links of every digit, for all literals at once: the
// strongly connected parts of the implication graph, each with the union of what its successors
// reach. Tells in one look-up whether a chain exists before a search looks for its shortest form.
// Literals of present candidates only: every question names such literals.
class ImplicationClosure {
public:
    explicit ImplicationClosure(const LogicState& state);
    // from leads to `to` by one link or more.
    bool Implies(int from, int to) const;
    // from leads to some candidate both true and false.
    bool ImpliesContradiction(int from) const;
    // Some literal follows from each of the literals.
    bool ShareConsequence(const std::vector<int>& literals) const;
    // Some candidate assumed true leads to its own removal or to a contradiction.
    bool SomeRefuted() const { return someRefuted_; }

private:
    // Sets are over dense numbers of the present candidates' literals, kept in true/false pairs.
    const std::uint64_t* SetOf(int literal) const { return &sets_[static_cast<std::size_t>(component_[literal]) * words_]; }
    int words_ = 0;
    bool someRefuted_ = false;
    std::vector<std::uint64_t> sets_;
    std::array<std::int16_t, kLiteralCount> component_{};
    std::array<std::int16_t, kLiteralCount> dense_{};
};

// Which links a net of consequences may use, and how.
struct NetRules {
    bool cellLinks = true;   // within a cell (else: one digit only, X-links)
    bool houseLinks = true;  // within a house
    // Each false candidate leaves the board as soon as the net has drawn it, so later links see
    // what it left (a cell or house with one place fewer); else the links are the board's.
    bool dynamic = false;
    bool stopAtContradiction = true;
    // Conclusions more links away than this are not drawn: their proofs need more conclusions
    // than an instance already found.
    int maxDepth = INT_MAX;
};

// What a net of consequences reached and why: each conclusion with the conclusions it needs
// (several where the net is dynamic: the candidates it removed earlier). Copyable, so the nets of
// every candidate on a board can be kept and compared.
class NetRecord {
public:
    bool Reached(int literal) const {
        const auto at = static_cast<unsigned>(literal);
        return (reached_[at / 64] >> (at % 64) & 1u) != 0;
    }
    const LiteralSet& ReachedSet() const { return reached_; }
    // The literal reached in both truth values, or -1 (the net stopped there when told to).
    int Contradiction() const { return contradiction_; }
    // How many distinct conclusions, the literal included, its proof needs; counting stops past
    // limit.
    int Ancestors(int literal, int limit = INT_MAX) const;
    // The proof's links, every cause before its effects.
    std::vector<ChainLink> Proof(int literal) const;
    // Copies what the reached literals need, not the whole arrays (a net reaches few of them).
    void KeepIn(NetRecord& record) const;

protected:
    LiteralSet reached_{};
    int contradiction_ = -1;
    std::array<std::int16_t, kLiteralCount> firstCause_{};
    std::array<std::uint8_t, kLiteralCount> causeCount_{};
    std::vector<std::int16_t> causes_;
};

// Everything one assumption implies, drawn true before false layer by layer.
class ChainNet : public NetRecord {
public:
    // Called when the links give out; may Add conclusions of its own (true: it did).
    using Stall = std::function<bool(ChainNet&)>;
    void Run(const LogicState& origin, int start, const NetRules& rules, const Stall& stall = nullptr);
    // A conclusion with its causes, followed on like the net's own.
    void Add(int literal, const std::vector<int>& causes);
    const NetRecord& Record() const { return *this; }
    // The board as the net has left it (dynamic nets remove their false candidates).
    const std::array<DigitMask, kCellCount>& Candidates() const { return cand_; }
    const std::array<CellSet, 10>& CellsWith() const { return cellsWith_; }
    const LogicState& Origin() const { return *origin_; }

private:
    using HouseCounts = std::array<std::array<std::uint8_t, kHouseCount>, 10>;
    void Reach(int literal, int cell, int digit, int parent, const int* more, int moreCount);
    void Emit(int literal, int cell, int digit, int parent, const int* more, int moreCount);
    void FromTrue(int literal);
    void FromFalse(int literal);
    bool Stopped() const { return stopped_; }

    const LogicState* origin_ = nullptr;
    NetRules rules_;
    std::array<DigitMask, kCellCount> cand_{};
    std::array<CellSet, 10> cellsWith_{};
    std::array<CellSet, 10> falseAt_{};  // per digit: the cells whose false literal is reached
    // Per digit and house: how many places are left, so a false literal finds a house's last
    // place without counting. The origin's counts are kept for the next net on the same board.
    HouseCounts placeCount_{}, originCount_{};
    std::array<CellSet, 10> countedFor_{};
    std::array<std::int16_t, kLiteralCount> trueQueue_{}, falseQueue_{};
    int trueHead_ = 0, trueTail_ = 0, falseHead_ = 0, falseTail_ = 0;
    bool cut_ = false;  // stopped at the depth limit: the lower rungs are not asked either
    bool stopped_ = false;  // at a contradiction, told to stop there
    std::array<std::uint16_t, kLiteralCount> depth_{};  // links from the assumption, on the first path
};

// The closure of the state, kept for the next finder asking about the same state.
const ImplicationClosure& ClosureOf(const LogicState& state);

// The common scale's length bonus in tenths: one more each time the length passes 4, 6, 8, 12,
// 16, 24, 32, 48, 64, ... (alternately times 3/2 and 4/3).
int LengthBonus(int length);

Candidate CandidateOfLiteral(int literal);
ChainLink LinkOf(int from, int to);
// "Z1S2=5" or "Z1S2≠5", the digit as Sym.
std::string LiteralText(int literal);
std::string LiteralText(const Candidate& candidate, bool on);
// "Z1S2=5 → Z1S7≠5 → Z3S8=5".
std::string ChainText(const std::vector<ChainLink>& chain);

// A chain step: difficulty from the base and the chain's complexity (by default the total length
// of its chains), pattern and cells from the chains' candidates.
Step ChainStep(Technique technique, int baseDifficulty, std::vector<std::vector<ChainLink>> chains, int complexity = -1);
// The scale's rise for a chain whose proof needs that many distinct conclusions.
int ComplexityBonus(int complexity);

// The shortest continuous alternating loop with an effect: every weak link in it is in fact
// strong, so candidates that see both ends of one fall. Shared by the X- and the Y-cycles.
std::optional<Step> FindContinuousLoop(const LogicState& state, Technique technique, int digitScope);

}  // namespace tessaro::logic
