#include "logic/Chains.h"

#include <algorithm>
#include <bitset>
#include <climits>

#include "logic/Finders.h"

namespace tessaro::logic {
namespace {

constexpr int kUnboundedDepth = 250;

int CandidateIndex(int literal) { return literal >> 1; }

// Runs fn(search, cell, digit) for every candidate: all with one search over every link, or
// digit by digit with the search kept to that digit's links.
template <class Fn>
void ForEachScopedCandidate(const LogicState& state, int digitScope, Fn&& fn) {
    if (digitScope == kEveryDigit || digitScope == kBivalueCells) {
        ImplicationSearch search(state, digitScope);
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (digitScope == kBivalueCells && !TwoDigits(state.cand[cell])) continue;
            for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) fn(search, cell, LowestDigit(m));
        }
        return;
    }
    ImplicationSearch search(state, 1);
    for (int digit = 1; digit <= 9; ++digit) {
        search.SetScope(digit);
        for (int cell : state.cellsWith[digit]) fn(search, cell, digit);
    }
}

int MaxDepthBelow(int bestLength, int margin) {
    return bestLength == INT_MAX ? kUnboundedDepth : bestLength - margin;
}

}  // namespace

int ImplicationSearch::Trace(int literal, Path& path) const {
    const int count = depth_[literal] + 1;
    int at = literal;
    for (int i = count - 1; i >= 0; --i, at = parent_[at]) path[i] = static_cast<std::int16_t>(at);
    return count;
}

std::vector<ChainLink> ImplicationSearch::PathTo(int literal) const {
    Path path;
    const int count = Trace(literal, path);
    std::vector<ChainLink> links;
    for (int i = 1; i < count; ++i) links.push_back(LinkOf(path[i - 1], path[i]));
    return links;
}

ImplicationClosure::ImplicationClosure(const LogicState& state) {
    // The literals of present candidates get dense numbers in literal order (so false, true per
    // candidate); the links are adjacency lists over those numbers, and so is all that follows.
    std::array<std::int16_t, kLiteralCount> literalOf;
    dense_.fill(-1);
    int count = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) {
            const int off = LiteralOf(cell, LowestDigit(m), false);
            for (int literal : {off, off + 1}) {
                dense_[literal] = static_cast<std::int16_t>(count);
                literalOf[count++] = static_cast<std::int16_t>(literal);
            }
        }
    }
    words_ = (count + 63) / 64;
    std::array<std::int16_t, kLiteralCount + 1> first;
    // At most 20 peers and 8 other digits follow a true literal, a cell and 5 houses a false one.
    thread_local std::array<std::int16_t, kLiteralCount / 2 * (28 + 6)> next;
    int links = 0;
    for (int v = 0; v < count; ++v) {
        first[v] = static_cast<std::int16_t>(links);
        ForEachConsequence(state, literalOf[v], kEveryDigit, [&](int to) { next[links++] = dense_[to]; });
    }
    first[count] = static_cast<std::int16_t>(links);

    // Tarjan's components, found sinks first, so every successor's set is complete when used.
    std::array<std::int16_t, kLiteralCount> order, low, component, stack;
    std::array<std::uint8_t, kLiteralCount> onStack;
    std::array<std::pair<std::int16_t, std::int16_t>, kLiteralCount> calls;  // number, next link to follow
    std::fill_n(onStack.begin(), count, 0);
    // Literals leading nowhere (most false ones) imply nothing: they share the empty set and
    // count as visited, so the search never enters them.
    for (int v = 0; v < count; ++v) {
        order[v] = static_cast<std::int16_t>(first[v] == first[v + 1] ? 0 : -1);
        component[v] = 0;
    }
    int top = 0, depth = 0;
    sets_.reserve(static_cast<std::size_t>(count + 1) * words_);
    sets_.assign(static_cast<std::size_t>(words_), 0);  // 0: the empty set
    std::vector<std::int16_t> mergedInto(1, -1);          // per component: the last one it joined
    std::vector<std::uint64_t> reached(static_cast<std::size_t>(words_));
    int counter = 0;
    auto enter = [&](int v) {
        order[v] = low[v] = static_cast<std::int16_t>(counter++);
        stack[top++] = static_cast<std::int16_t>(v);
        onStack[v] = 1;
        calls[depth++] = {static_cast<std::int16_t>(v), first[v]};
    };
    for (int root = 0; root < count; ++root) {
        if (order[root] >= 0) continue;
        enter(root);
        while (depth > 0) {
            auto& [v, link] = calls[depth - 1];
            const int end = first[v + 1];
            int k = link;
            for (; k < end && order[next[k]] >= 0; ++k) {
                if (onStack[next[k]]) low[v] = std::min(low[v], order[next[k]]);
            }
            if (k < end) {
                link = static_cast<std::int16_t>(k + 1);
                enter(next[k]);
                continue;
            }
            const int done = v;
            --depth;
            if (depth > 0) low[calls[depth - 1].first] = std::min(low[calls[depth - 1].first], low[done]);
            if (low[done] != order[done]) continue;
            const auto id = static_cast<std::int16_t>(mergedInto.size());
            // The component lies on top of the stack: look for its root from there.
            int members = top - 1;
            while (stack[members] != done) --members;
            for (int m = members; m < top; ++m) {
                component[stack[m]] = id;
                onStack[stack[m]] = 0;
            }
            std::fill(reached.begin(), reached.end(), 0);
            for (int m = members; m < top; ++m) {
                for (int k = first[stack[m]]; k < first[stack[m] + 1]; ++k) {
                    const int to = next[k];
                    reached[static_cast<unsigned>(to) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(to) % 64);
                    const int beyond = component[to];
                    if (beyond == id || beyond == 0 || mergedInto[beyond] == id) continue;
                    mergedInto[beyond] = id;
                    const std::uint64_t* set = &sets_[static_cast<std::size_t>(beyond) * words_];
                    for (int w = 0; w < words_; ++w) reached[w] |= set[w];
                }
            }
            top = members;
            sets_.insert(sets_.end(), reached.begin(), reached.end());
            mergedInto.push_back(-1);
        }
    }
    component_.fill(0);
    for (int v = 0; v < count; ++v) component_[literalOf[v]] = component[v];
    for (int v = 1; v < count && !someRefuted_; v += 2)
        someRefuted_ = Implies(literalOf[v], Negated(literalOf[v])) || ImpliesContradiction(literalOf[v]);
}

bool ImplicationClosure::Implies(int from, int to) const {
    const int bit = dense_[to];
    return bit >= 0 && (SetOf(from)[static_cast<unsigned>(bit) / 64] >> (static_cast<unsigned>(bit) % 64) & 1u) != 0;
}

bool ImplicationClosure::ImpliesContradiction(int from) const {
    const std::uint64_t* set = SetOf(from);
    for (int w = 0; w < words_; ++w) {
        if ((set[w] & set[w] >> 1 & 0x5555555555555555u) != 0) return true;
    }
    return false;
}

bool ImplicationClosure::ShareConsequence(const std::vector<int>& literals) const {
    for (int w = 0; w < words_; ++w) {
        std::uint64_t common = ~std::uint64_t{0};
        for (int literal : literals) common &= SetOf(literal)[w];
        if (common != 0) return true;
    }
    return false;
}

// A cell's houses in the order the nets visit them: box, row, column, diagonals. Which link
// reaches a conclusion first decides what it is counted to need.
struct NetHouseOrder {
    std::array<std::array<std::uint8_t, 5>, kCellCount> houses{};
    std::array<std::uint8_t, kCellCount> count{};
};
constexpr NetHouseOrder kNetHouses = [] {
    NetHouseOrder order{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (int k : {2, 0, 1, 3, 4}) {
            if (k < kHouses.houseCount[cell]) order.houses[cell][order.count[cell]++] = static_cast<std::uint8_t>(kHouses.housesOf[cell][k]);
        }
    }
    return order;
}();

void ChainNet::Run(const LogicState& origin, int start, const NetRules& rules, const Stall& stall) {
    origin_ = &origin;
    rules_ = rules;
    reached_.fill(0);
    contradiction_ = -1;
    cand_ = origin.cand;
    cellsWith_ = origin.cellsWith;
    falseAt_ = {};
    if (countedFor_ != origin.cellsWith) {
        countedFor_ = origin.cellsWith;
        for (int digit = 1; digit <= 9; ++digit) {
            for (int house = 0; house < kHouseCount; ++house)
                originCount_[digit][house] = static_cast<std::uint8_t>(origin.PlacesOf(house, digit).Count());
        }
    }
    placeCount_ = originCount_;
    causes_.clear();
    causes_.reserve(4 * kLiteralCount);
    trueHead_ = trueTail_ = falseHead_ = falseTail_ = 0;
    cut_ = stopped_ = false;
    Reach(start, CellOfLiteral(start), DigitOfLiteral(start), -1, nullptr, 0);
    do {
        while (!stopped_ && (trueHead_ < trueTail_ || falseHead_ < falseTail_)) {
            while (!stopped_ && trueHead_ < trueTail_) FromTrue(trueQueue_[trueHead_++]);
            while (!stopped_ && falseHead_ < falseTail_) FromFalse(falseQueue_[falseHead_++]);
        }
        if (cut_) return;
    } while (!stopped_ && stall && stall(*this));
}

void ChainNet::Add(int literal, const std::vector<int>& causes) {
    Emit(literal, CellOfLiteral(literal), DigitOfLiteral(literal), causes.empty() ? -1 : causes[0],
         causes.data() + (causes.empty() ? 0 : 1), causes.empty() ? 0 : static_cast<int>(causes.size()) - 1);
}

[[gnu::always_inline]] inline void ChainNet::Reach(int literal, int cell, int digit, int parent, const int* more, int moreCount) {
    depth_[literal] = static_cast<std::uint16_t>(parent < 0 ? 0 : depth_[parent] + 1);
    reached_[static_cast<unsigned>(literal) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(literal) % 64);
    const std::size_t first = causes_.size();
    firstCause_[literal] = static_cast<std::int16_t>(first);
    if (parent >= 0) causes_.push_back(static_cast<std::int16_t>(parent));
    for (int i = 0; i < moreCount; ++i) causes_.push_back(static_cast<std::int16_t>(more[i]));
    causeCount_[literal] = static_cast<std::uint8_t>(causes_.size() - first);
    if (IsOn(literal)) {
        trueQueue_[trueTail_++] = static_cast<std::int16_t>(literal);
    } else {
        falseQueue_[falseTail_++] = static_cast<std::int16_t>(literal);
        falseAt_[digit].Add(cell);
    }
}

[[gnu::always_inline]] inline void ChainNet::Emit(int literal, int cell, int digit, int parent, const int* more, int moreCount) {
    if (Reached(literal) || stopped_) return;
    if (parent >= 0 && depth_[parent] >= rules_.maxDepth) {
        cut_ = true;  // the rest of the net could only make longer proofs
        return;
    }
    if (contradiction_ < 0 && Reached(Negated(literal))) {
        contradiction_ = literal;
        if (rules_.stopAtContradiction) {
            // Recorded for its proof, not followed.
            stopped_ = true;
            Reach(literal, cell, digit, parent, more, moreCount);
            if (IsOn(literal)) --trueTail_;
            else --falseTail_;
            return;
        }
    }
    Reach(literal, cell, digit, parent, more, moreCount);
}

void ChainNet::FromTrue(int literal) {
    const int cell = CellOfLiteral(literal), digit = DigitOfLiteral(literal);
    if (rules_.cellLinks) {
        for (DigitMask m = cand_[cell] & static_cast<DigitMask>(~Bit(digit)); m != 0; m &= m - 1) {
            const int other = LowestDigit(m);
            Emit(LiteralOf(cell, other, false), cell, other, literal, nullptr, 0);
        }
    }
    // A peer in two houses is drawn from the first; one already false needs nothing.
    CellSet done = falseAt_[digit];
    done.Add(cell);
    for (int k = 0; k < kNetHouses.count[cell]; ++k) {
        const CellSet places = (cellsWith_[digit] & kHouses.sets[kNetHouses.houses[cell][k]]).Without(done);
        done |= places;
        for (int peer : places) Emit(LiteralOf(peer, digit, false), peer, digit, literal, nullptr, 0);
    }
}

void ChainNet::FromFalse(int literal) {
    const int cell = CellOfLiteral(literal), digit = DigitOfLiteral(literal);
    if ((cand_[cell] & Bit(digit)) == 0) return;  // already off the board
    std::array<int, 9> hidden;
    if (rules_.cellLinks && TwoDigits(cand_[cell])) {
        const int otherDigit = LowestDigit(cand_[cell] & static_cast<DigitMask>(~Bit(digit)));
        const int other = LiteralOf(cell, otherDigit, true);
        int count = 0;
        if (rules_.dynamic && !Reached(other)) {
            for (DigitMask m = origin_->cand[cell] & static_cast<DigitMask>(~cand_[cell]); m != 0; m &= m - 1)
                hidden[count++] = LiteralOf(cell, LowestDigit(m), false);
        }
        Emit(other, cell, otherDigit, literal, hidden.data(), count);
    }
    std::array<std::uint8_t, kHouseCount>& counts = placeCount_[digit];
    for (int k = 0; k < kNetHouses.count[cell]; ++k) {
        const int house = kNetHouses.houses[cell][k];
        // The cell is one of the places; a dynamic net removes it once its houses are seen.
        const bool lastPlace = counts[house] == 2;
        if (rules_.dynamic) --counts[house];
        if (!lastPlace || !rules_.houseLinks) continue;
        CellSet others = cellsWith_[digit] & kHouses.sets[house];
        others.Remove(cell);
        const int lastCell = others.First();
        const int last = LiteralOf(lastCell, digit, true);
        if (Reached(last)) continue;
        int count = 0;
        if (rules_.dynamic) {
            for (int gone : origin_->PlacesOf(house, digit).Without(cellsWith_[digit]))
                hidden[count++] = LiteralOf(gone, digit, false);
        }
        Emit(last, lastCell, digit, literal, hidden.data(), count);
    }
    if (rules_.dynamic) {
        cand_[cell] &= static_cast<DigitMask>(~Bit(digit));
        cellsWith_[digit].Remove(cell);
    }
}

int NetRecord::Ancestors(int literal, int limit) const {
    thread_local std::array<std::uint32_t, kLiteralCount> seen{};
    thread_local std::uint32_t stamp = 0;
    if (++stamp == 0) {
        seen.fill(0);
        stamp = 1;
    }
    std::array<std::int16_t, kLiteralCount> stack;
    int top = 0, count = 0;
    stack[top++] = static_cast<std::int16_t>(literal);
    seen[literal] = stamp;
    while (top > 0 && count <= limit) {
        const int at = stack[--top];
        ++count;
        for (int i = 0; i < causeCount_[at]; ++i) {
            const int cause = causes_[firstCause_[at] + i];
            if (seen[cause] == stamp) continue;
            seen[cause] = stamp;
            stack[top++] = static_cast<std::int16_t>(cause);
        }
    }
    return count;
}

void NetRecord::KeepIn(NetRecord& record) const {
    record.reached_ = reached_;
    record.contradiction_ = contradiction_;
    record.causes_ = causes_;
    for (int w = 0; w < kLiteralWords; ++w) {
        for (std::uint64_t bits = reached_[w]; bits != 0; bits &= bits - 1) {
            const int literal = 64 * w + std::countr_zero(bits);
            record.firstCause_[literal] = firstCause_[literal];
            record.causeCount_[literal] = causeCount_[literal];
        }
    }
}

std::vector<ChainLink> NetRecord::Proof(int literal) const {
    std::vector<ChainLink> links;
    std::vector<std::uint8_t> done(kLiteralCount, 0);
    auto visit = [&](auto&& self, int at) -> void {
        if (done[at]) return;
        done[at] = 1;
        for (int i = 0; i < causeCount_[at]; ++i) self(self, causes_[firstCause_[at] + i]);
        for (int i = 0; i < causeCount_[at]; ++i) links.push_back(LinkOf(causes_[firstCause_[at] + i], at));
    };
    visit(visit, literal);
    return links;
}

const ImplicationClosure& ClosureOf(const LogicState& state) {
    return ForSameCandidates(state, [&] { return ImplicationClosure(state); });
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

int ComplexityBonus(int complexity) { return LengthBonus(complexity - 2); }

Step ChainStep(Technique technique, int baseDifficulty, std::vector<std::vector<ChainLink>> chains, int complexity) {
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
    step.difficulty = baseDifficulty + (complexity < 0 ? LengthBonus(static_cast<int>(length)) : ComplexityBonus(complexity));
    step.chains = std::move(chains);
    return step;
}

std::optional<Step> FindContinuousLoop(const LogicState& state, Technique technique, int digitScope) {
    int bestLength = INT_MAX;
    std::optional<Step> best;
    const ImplicationClosure& closure = ClosureOf(state);
    // What a loop removes sees both ends of one of its weak links, and going round the loop from
    // there refutes it: without a refutable candidate there is no loop to look for.
    if (!closure.SomeRefuted()) return std::nullopt;
    ForEachScopedCandidate(state, digitScope, [&](ImplicationSearch& search, int cellA, int digitA) {
        const int start = LiteralOf(cellA, digitA, false);
        // The loop closes only at a true candidate that sees A.
        bool closes = false;
        for (int peer : kHouses.peers[cellA] & state.cellsWith[digitA])
            closes = closes || closure.Implies(start, LiteralOf(peer, digitA, true));
        if (!closes) return;
        search.Run(start, MaxDepthBelow(bestLength, 2), [&](int literal, int depth) {
            const int cellZ = CellOfLiteral(literal), digitZ = DigitOfLiteral(literal);
            if (!IsOn(literal) || depth < 3 || !WeaklyLinked(cellZ, digitZ, cellA, digitA)) return false;
            ImplicationSearch::Path loop;
            const int count = search.Trace(literal, loop);
            std::bitset<kLiteralCount / 2> inLoop;
            for (int i = 0; i < count; ++i) {
                if (inLoop[CandidateIndex(loop[i])]) return false;  // not a simple loop
                inLoop[CandidateIndex(loop[i])] = true;
            }
            loop[count] = static_cast<std::int16_t>(start);
            // Each weak link (true → false) of the loop holds exactly one true candidate.
            std::bitset<kLiteralCount / 2> gone;
            for (int i = 1; i < count; i += 2) {
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
            const int nodes = static_cast<int>(chain.size());
            best = ChainStep(technique, Info(technique).difficulty, {std::move(chain)}, nodes);
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

namespace tessaro::logic {

// Single-digit alternating loops (X-cycles) and loops over cells and houses of any digits.
std::optional<Step> FindXCycle(const LogicState& state) { return FindContinuousLoop(state, Technique::XCycle, kEachDigitAlone); }
std::optional<Step> FindYCycle(const LogicState& state) { return FindContinuousLoop(state, Technique::YCycle, kBivalueCells); }

}  // namespace tessaro::logic
