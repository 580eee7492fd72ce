// Forcing chains drawn as nets of consequences. A candidate implies its own negation over one
// digit's links or all (forcing X-chain, forcing chain), a contradiction over one digit's links with each removal counted at once (Nishio) or
// over all links (dynamic); both values of a candidate, every candidate of a cell or every place
// of a digit in a house imply one conclusion (double, cell and house forcing chains). The scale
// rates each by how many distinct conclusions its proof needs; the easiest instance is taken.
#include <atomic>
#include <bitset>
#include <climits>
#include <memory>
#include <mutex>
#include <vector>

#include "logic/Chains.h"
#include "logic/Finders.h"
#include "logic/Solver.h"
#include "logic/SpareCore.h"

namespace tessaro::logic {
namespace {

std::string Assumed(int literal) {
    const Candidate c = CandidateOfLiteral(literal);
    return "Wäre " + CellName(c.cell) + (IsOn(literal) ? " die " : " nicht die ") + Sym(c.digit);
}

// A proof as one chain where each link starts at the last one's end, else link by link (a dynamic
// conclusion may need several earlier ones).
std::string ProofText(const std::vector<ChainLink>& links) {
    for (std::size_t i = 1; i < links.size(); ++i) {
        if (!(links[i].from == links[i - 1].to && links[i].fromOn == links[i - 1].toOn)) {
            std::string text;
            for (const ChainLink& link : links)
                text += (text.empty() ? "" : ", ") + LiteralText(link.from, link.fromOn) + " → " + LiteralText(link.to, link.toOn);
            return text;
        }
    }
    return ChainText(links);
}

// The easiest instance so far: the fewest conclusions, then the earliest in the order of search
// (cell by cell, each digit's own chains before the cell's).
class Best {
public:
    explicit Best(Technique technique) : technique_(technique), base_(Info(technique).difficulty) {}
    void SetOrder(int order) { order_ = order; }
    bool Beats(int complexity) const {
        return !step_ || complexity < complexity_ || (complexity == complexity_ && order_ < keptOrder_);
    }
    // The most conclusions an instance may need and still beat the one kept.
    int Limit() const { return step_ ? complexity_ : INT_MAX; }
    int KeptOrder() const { return keptOrder_; }
    void Keep(int complexity, std::vector<std::vector<ChainLink>> chains, int concluded, std::string explanation) {
        Step step = ChainStep(technique_, base_, std::move(chains), complexity);
        (IsOn(concluded) ? step.placements : step.eliminations).push_back(CandidateOfLiteral(concluded));
        step.explanation = std::move(explanation);
        complexity_ = complexity;
        keptOrder_ = order_;
        step_ = std::move(step);
    }
    std::optional<Step>& Result() { return step_; }
    // The other's instance where it is the easier one or, equally easy, met first.
    void Take(Best& other) {
        if (!other.step_ || (step_ && (complexity_ < other.complexity_ ||
                                       (complexity_ == other.complexity_ && keptOrder_ < other.keptOrder_))))
            return;
        complexity_ = other.complexity_;
        keptOrder_ = other.keptOrder_;
        step_ = std::move(other.step_);
    }

private:
    Technique technique_;
    int base_;
    int complexity_ = INT_MAX;
    int order_ = 0, keptOrder_ = 0;
    std::optional<Step> step_;
};

// Where the search meets a cell's chains: each digit's contradictions and doubles, then the
// houses in which the cell is the digit's first place (box, row, column, diagonals), the cell's
// own chains last.
int OrderOf(int cell, int digit, int part) { return 1000 * cell + 100 * digit + part; }
constexpr int kCellPart = 99;
int HousePart(int house) {
    switch (KindOf(house)) {
    case HouseKind::Box: return 1;
    case HouseKind::Row: return 2;
    case HouseKind::Column: return 3;
    default: return house == kMainDiagonal ? 4 : 5;
    }
}

// The net from start ran into a contradiction: start is false.
void JudgeContradiction(const NetRecord& net, int start, Best& best) {
    const int clash = net.Contradiction();
    if (clash < 0) return;
    const int first = net.Ancestors(clash, best.Limit());
    const int complexity = first > best.Limit() ? first : first + net.Ancestors(Negated(clash), best.Limit() - first);
    if (!best.Beats(complexity)) return;
    std::vector<std::vector<ChainLink>> chains{net.Proof(Negated(clash)), net.Proof(clash)};
    std::string text = Assumed(start) + ", so folgte " + LiteralText(clash) + " ebenso wie " + LiteralText(Negated(clash)) +
                       ". Das ist ein Widerspruch, also " + LiteralText(Negated(start)) + ".";
    best.Keep(complexity, std::move(chains), Negated(start), std::move(text));
}

// Every net of the group reached the same conclusion; starts are the group's assumptions.
// group names the assumptions in the explanation; it is asked only for an instance kept.
template <class Group>
void JudgeCommon(const std::vector<const NetRecord*>& nets, const std::vector<int>& starts, const Group& group, Best& best) {
    // A net stopped at a contradiction counts with what it reached up to there, as the scale does
    // (sound: its assumption is false, and the others' common conclusions hold anyway).
    LiteralSet common = nets[0]->ReachedSet();
    for (const NetRecord* net : nets) {
        for (int w = 0; w < kLiteralWords; ++w) common[w] &= net->ReachedSet()[w];
    }
    for (int start : starts) {
        common[start / 64] &= ~(std::uint64_t{1} << (start % 64));
        common[Negated(start) / 64] &= ~(std::uint64_t{1} << (Negated(start) % 64));
    }
    for (int w = 0; w < kLiteralWords; ++w) {
        for (std::uint64_t bits = common[w]; bits != 0; bits &= bits - 1) {
            const int literal = 64 * w + std::countr_zero(bits);
            int complexity = 0;
            for (const NetRecord* net : nets) {
                if (complexity > best.Limit()) break;
                complexity += net->Ancestors(literal, best.Limit() - complexity);
            }
            if (!best.Beats(complexity)) continue;
            std::vector<std::vector<ChainLink>> chains;
            std::string text;
            for (const NetRecord* net : nets) {
                chains.push_back(net->Proof(literal));
                text += (text.empty() ? "" : "; ") + ProofText(chains.back());
            }
            best.Keep(complexity, std::move(chains), literal,
                      group() + " führt zu " + LiteralText(literal) + ": " + text + ". Also " + LiteralText(literal) + ".");
        }
    }
}

// Whether the candidate assumed false leaves no single behind: then its net holds nothing else.
bool Barren(const LogicState& state, int cell, int digit, const NetRules& rules) {
    if (rules.cellLinks && TwoDigits(state.cand[cell])) return false;
    for (int k = 0; k < kHouses.houseCount[cell]; ++k) {
        if (state.PlacesOf(kHouses.housesOf[cell][k], digit).Count() == 2) return false;
    }
    return true;
}

enum class Family { ForcingX, Forcing, Multiple, Dynamic, DynamicPlus };

// The basic rungs (locked candidates, subsets, X-wing and swordfish: those below the strong-link
// patterns, cheap enough to ask at every stall of every net) on the board the net has left,
// their effects added to the net with the removals in their cells as causes.
bool AddLowerRungSteps(ChainNet& net) {
    const LogicState& origin = net.Origin();
    LogicState board = origin;
    board.cand = net.Candidates();
    board.cellsWith = net.CellsWith();
    for (int w = 0; w < kLiteralWords; ++w) {
        for (std::uint64_t bits = net.ReachedSet()[w]; bits != 0; bits &= bits - 1) {
            const int literal = 64 * w + std::countr_zero(bits);
            const int cell = CellOfLiteral(literal);
            if (IsOn(literal) && board.value[cell] == 0 && board.Has(cell, DigitOfLiteral(literal))) board.Place(cell, DigitOfLiteral(literal));
        }
    }
    if (board.Contradicted() || board.Solved()) return false;
    const std::optional<Step> step = NextStep(board, Info(Technique::TwoStrongLinks).difficulty, 0);
    if (!step) return false;
    std::vector<int> causes;
    auto causesIn = [&](int cell) {
        for (DigitMask m = origin.cand[cell] & static_cast<DigitMask>(~net.Candidates()[cell]); m != 0; m &= m - 1) {
            const int literal = LiteralOf(cell, LowestDigit(m), false);
            if (net.Reached(literal)) causes.push_back(literal);
        }
    };
    for (int cell : step->cells) causesIn(cell);
    for (int house : step->houses) {
        if (!causes.empty()) break;
        for (int cell : kHouses.cells[house]) causesIn(cell);
    }
    bool added = false;
    auto add = [&](const Candidate& c, bool on) {
        const int literal = LiteralOf(c.cell, c.digit, on);
        if (net.Reached(literal)) return;
        net.Add(literal, causes);
        added = true;
    };
    for (const Candidate& c : step->placements) add(c, true);
    for (const Candidate& c : step->eliminations) add(c, false);
    return added;
}

// A net is large: each thread keeps one for the next search, and a search inside another gets a
// fresh one.
class NetLease {
public:
    NetLease() : net_(spare_ ? std::move(spare_) : std::make_unique<ChainNet>()) {}
    ~NetLease() { spare_ = std::move(net_); }
    NetLease(const NetLease&) = delete;
    NetLease& operator=(const NetLease&) = delete;
    ChainNet& operator*() { return *net_; }
    ChainNet* operator->() { return net_.get(); }
    ChainNet* get() { return net_.get(); }

private:
    static thread_local std::unique_ptr<ChainNet> spare_;
    std::unique_ptr<ChainNet> net_;
};
thread_local std::unique_ptr<ChainNet> NetLease::spare_;

// The net from start, judged for a contradiction.
void Refute(ChainNet& net, const LogicState& state, int start, NetRules& rules, const ChainNet::Stall& stall, Best& best) {
    rules.maxDepth = best.Limit();
    net.Run(state, start, rules, stall);
    JudgeContradiction(net, start, best);
}

// Nishio nets keep to one digit, so what they find for a digit depends on its places alone. Most
// steps leave most digits' places as they were: each digit's easiest instance is kept for the
// next position, and the easiest of the digits' is the step.
std::optional<Step> FindNishio(const LogicState& state) {
    struct DigitInstance {
        bool known = false;
        CellSet places;
        int complexity = INT_MAX, order = 0;
        std::optional<Step> step;
    };
    thread_local std::array<DigitInstance, 10> kept;
    NetRules rules;
    rules.dynamic = true;
    rules.cellLinks = false;
    NetLease net;
    const DigitInstance* easiest = nullptr;
    for (int digit = 1; digit <= 9; ++digit) {
        DigitInstance& mine = kept[digit];
        if (!mine.known || mine.places != state.cellsWith[digit]) {
            Best best(Technique::NishioForcingChain);
            for (int cell : state.cellsWith[digit]) {
                const int on = LiteralOf(cell, digit, true);
                best.SetOrder(OrderOf(cell, digit, 0));
                Refute(*net, state, on, rules, nullptr, best);
                if (!Barren(state, cell, digit, rules)) Refute(*net, state, Negated(on), rules, nullptr, best);
            }
            mine.known = true;
            mine.places = state.cellsWith[digit];
            mine.complexity = best.Limit();
            mine.order = best.KeptOrder();
            mine.step = std::move(best.Result());
        }
        if (mine.step && (!easiest || mine.complexity < easiest->complexity ||
                          (mine.complexity == easiest->complexity && mine.order < easiest->order)))
            easiest = &mine;
    }
    if (!easiest) return std::nullopt;
    return easiest->step;
}

std::optional<Step> FindNetChain(const LogicState& state, Family family, Technique technique) {
    Best best(technique);
    NetRules rules;
    const bool forcing = family == Family::Forcing || family == Family::ForcingX;
    rules.dynamic = !forcing && family != Family::Multiple;
    rules.cellLinks = family != Family::ForcingX;
    rules.stopAtContradiction = !forcing;
    const ChainNet::Stall stall = family == Family::DynamicPlus ? ChainNet::Stall(AddLowerRungSteps) : nullptr;

    if (forcing) {
        NetLease net;
        const ImplicationClosure& closure = ClosureOf(state);
        for (int cell = 0; cell < kCellCount; ++cell) {
            for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) {
                for (bool on : {true, false}) {
                    const int start = LiteralOf(cell, LowestDigit(m), on);
                    if (!closure.Implies(start, Negated(start))) continue;
                    rules.maxDepth = best.Limit();
                    net->Run(state, start, rules);
                    if (!net->Reached(Negated(start))) continue;
                    const int complexity = net->Ancestors(Negated(start), best.Limit());
                    if (!best.Beats(complexity)) continue;
                    std::vector<std::vector<ChainLink>> chains{net->Proof(Negated(start))};
                    std::string text = Assumed(start) + ", so folgte " + ChainText(chains[0]) +
                                       ". Das ist ein Widerspruch, also " + LiteralText(Negated(start)) + ".";
                    best.Keep(complexity, std::move(chains), Negated(start), std::move(text));
                }
            }
        }
        return std::move(best.Result());
    }

    // The net of every candidate assumed true, kept for the cell and house forcing chains. Without
    // dynamic links, only the candidates of groups whose closures share a conclusion need one.
    thread_local std::vector<NetRecord> keptNets;
    keptNets.resize(kLiteralCount / 2);
    // A reference, not the name: in a helper thread running the lambda below, the name would be
    // the helper's own thread_local copy.
    std::vector<NetRecord>& trueNets = keptNets;
    const bool binary = family == Family::Dynamic || family == Family::DynamicPlus;
    // Two candidates in a cell or two places in a house make a chain the lower rungs find first.
    const int fewest = binary ? 2 : 3;
    std::bitset<kLiteralCount / 2> needed;
    if (family == Family::Multiple) {
        const ImplicationClosure& closure = ClosureOf(state);
        std::vector<int> group;
        auto note = [&] {
            if (static_cast<int>(group.size()) < fewest || !closure.ShareConsequence(group)) return;
            for (int literal : group) needed[literal / 2] = true;
        };
        for (int cell = 0; cell < kCellCount; ++cell) {
            group.clear();
            for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) group.push_back(LiteralOf(cell, LowestDigit(m), true));
            note();
        }
        for (int house = 0; house < kHouseCount; ++house) {
            for (int digit = 1; digit <= 9; ++digit) {
                group.clear();
                for (int cell : state.PlacesOf(house, digit)) group.push_back(LiteralOf(cell, digit, true));
                note();
            }
        }
    } else {
        needed.set();
    }
    // Each candidate's own nets, cell by cell from a shared counter. Without lower rungs inside,
    // a spare core shares the cells: each thread meets its cells in order, so its bound on the
    // proofs is never tighter than one search's would be there, and the better of their instances
    // is the one search's.
    std::atomic<int> nextCell{0};
    auto ownNets = [&](Best& found) {
        NetLease net;
        NetRules mine = rules;
        for (int cell; (cell = nextCell++) < kCellCount;) {
            for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) {
                const int digit = LowestDigit(m), on = LiteralOf(cell, digit, true);
                if (!needed[on / 2]) continue;
                found.SetOrder(OrderOf(cell, digit, 0));
                Refute(*net, state, on, mine, stall, found);
                NetRecord& trueNet = trueNets[9 * cell + digit - 1];
                net->KeepIn(trueNet);
                if (!binary || (!stall && Barren(state, cell, digit, mine))) continue;
                Refute(*net, state, Negated(on), mine, stall, found);
                JudgeCommon({&trueNet, net.get()}, {on},
                            [&] { return "Ob " + CellName(cell) + " die " + Sym(digit) + " ist oder nicht, beides"; }, found);
            }
        }
    };
    if (stall) {
        ownNets(best);
    } else {
        std::mutex merging;
        ShareWithSpareCore([&] {
            Best found(technique);
            ownNets(found);
            std::lock_guard lock(merging);
            best.Take(found);
        });
    }
    auto wanted = [&](const std::vector<int>& starts) {
        for (int start : starts) {
            if (!needed[start / 2]) return false;
        }
        return family != Family::Multiple || ClosureOf(state).ShareConsequence(starts);
    };
    std::vector<const NetRecord*> nets;
    std::vector<int> starts;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (DigitCount(state.cand[cell]) < fewest) continue;
        nets.clear();
        starts.clear();
        for (DigitMask m = state.cand[cell]; m != 0; m &= m - 1) {
            nets.push_back(&trueNets[9 * cell + LowestDigit(m) - 1]);
            starts.push_back(LiteralOf(cell, LowestDigit(m), true));
        }
        best.SetOrder(OrderOf(cell, 0, kCellPart));
        if (wanted(starts)) JudgeCommon(nets, starts, [&] { return "Jeder Kandidat von " + CellName(cell); }, best);
    }
    for (int house = 0; house < kHouseCount; ++house) {
        for (int digit = 1; digit <= 9; ++digit) {
            const CellSet places = state.PlacesOf(house, digit);
            // The scale looks at a house's chains from its digit's first place, and without dynamic
            // links only from cells of three candidates or more.
            if (places.Count() < fewest || (!binary && DigitCount(state.cand[places.First()]) < 3)) continue;
            nets.clear();
            starts.clear();
            for (int cell : places) {
                nets.push_back(&trueNets[9 * cell + digit - 1]);
                starts.push_back(LiteralOf(cell, digit, true));
            }
            best.SetOrder(OrderOf(places.First(), digit, HousePart(house)));
            if (wanted(starts)) JudgeCommon(nets, starts, [&] { return "Jede Stelle der " + Sym(digit) + " in " + HouseName(house); }, best);
        }
    }
    return std::move(best.Result());
}

}  // namespace

std::optional<Step> FindForcingXChain(const LogicState& state) {
    return FindNetChain(state, Family::ForcingX, Technique::ForcingXChain);
}
std::optional<Step> FindForcingChain(const LogicState& state) {
    return FindNetChain(state, Family::Forcing, Technique::ForcingChain);
}
std::optional<Step> FindNishioForcingChain(const LogicState& state) {
    return FindNishio(state);
}
std::optional<Step> FindMultipleForcingChain(const LogicState& state) {
    return FindNetChain(state, Family::Multiple, Technique::MultipleForcingChain);
}
std::optional<Step> FindDynamicForcingChain(const LogicState& state) {
    return FindNetChain(state, Family::Dynamic, Technique::DynamicForcingChain);
}
std::optional<Step> FindDynamicForcingChainPlus(const LogicState& state) {
    return FindNetChain(state, Family::DynamicPlus, Technique::DynamicForcingChainPlus);
}

}  // namespace tessaro::logic
