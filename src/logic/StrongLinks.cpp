// Fishes of strong links on one digit: skyscrapers, kites, turbot fish and their loops, grouped
// or not. Each strong link is a house whose places of the digit form just two nodes (a cell, or
// a group of cells where a box meets a line); one of the two holds the digit. Chained by nodes
// that see each other, the ends cannot both be free of it.
#include <algorithm>
#include <bit>
#include <vector>

#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

constexpr int kMostLinks = 6;

struct Node {
    CellSet cells;
    CellSet seen;  // the cells that see every cell of the node
};

struct Link {
    int from, to;  // nodes: without the digit in from, it is in to
    int house;
    CellSet cells;  // both nodes'
};

struct Fish {
    int rise = -1;  // none found
    std::array<int, kMostLinks> links{};
    CellSet removed{};
    bool loop = false;
};

// The scale's choice among fishes: the least rise, then a loop, then the most removed.
bool Better(const Fish& a, const Fish& b) {
    if (a.rise != b.rise) return a.rise < b.rise;
    if (a.loop != b.loop) return a.loop;
    return a.removed.Count() > b.removed.Count();
}

// A group node lies where a box meets a line; in a box's own link, where it meets a row or a
// column only, as the scale groups them.
bool IsNode(CellSet cells, bool inBox) {
    const int first = cells.First();
    if (!cells.Without(kHouses.sets[18 + BoxOf(first)]).Empty()) return false;
    for (int k = 0; k < kHouses.houseCount[first]; ++k) {
        const int line = kHouses.housesOf[first][k];
        if (IsLine(line) && (!inBox || KindOf(line) != HouseKind::Diagonal) && cells.Without(kHouses.sets[line]).Empty())
            return true;
    }
    return false;
}

// Per house, the houses of the other sort (boxes for a line, lines for a box) sharing two cells
// or more with it: where its group nodes lie.
struct Crossings {
    std::array<std::array<int, 8>, kHouseCount> houses{};
    std::array<int, kHouseCount> count{};
};
constexpr Crossings kCrossings = [] {
    Crossings t{};
    for (int house = 0; house < kHouseCount; ++house) {
        for (int h = 0; h < kHouseCount; ++h) {
            if (IsLine(h) != IsLine(house) && (kHouses.sets[h] & kHouses.sets[house]).Count() >= 2)
                t.houses[house][t.count[house]++] = h;
        }
    }
    return t;
}();

// A set of a digit's links by number. Each link holds the house's first place: a box has at most
// three (the cell, its row's or its column's part), a line two, so 134 links both ways at most.
struct LinkSet {
    std::array<std::uint64_t, 3> words{};
    void Add(int link) { words[static_cast<unsigned>(link) / 64] |= std::uint64_t{1} << (link % 64); }
    LinkSet& operator|=(const LinkSet& o) {
        for (std::size_t w = 0; w < words.size(); ++w) words[w] |= o.words[w];
        return *this;
    }
    // Appends the links of this set outside `without` to out, in ascending order.
    void AppendWithout(const LinkSet& without, std::vector<int>& out) const {
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (std::uint64_t bits = words[w] & ~without.words[w]; bits != 0; bits &= bits - 1)
                out.push_back(static_cast<int>(64 * w) + std::countr_zero(bits));
        }
    }
};

// The strong links of one digit's places and the best fish of each size among them. Both depend
// on those places alone, so they are kept while the places stay.
struct DigitLinks {
    CellSet places{};
    std::vector<Node> nodes;
    std::vector<Link> links;
    // Per link, the links that may follow it (from a node its end sees, in another house), in
    // ascending order: those of link i are next[firstNext[i]] up to next[firstNext[i + 1]].
    std::vector<int> next, firstNext;
    std::array<LinkSet, kHouseCount> inHouse;  // per house, its links: none follows another
    std::array<std::optional<Fish>, kMostLinks + 1> best;

    void Build(CellSet with) {
        places = with;
        nodes.clear();
        links.clear();
        best = {};
        inHouse = {};
        for (int house = 0; house < kHouseCount; ++house) AddLinks(house);
        std::vector<LinkSet> from(nodes.size()), follow(nodes.size());
        for (std::size_t i = 0; i < links.size(); ++i) from[links[i].from].Add(static_cast<int>(i));
        for (std::size_t a = 0; a < nodes.size(); ++a) {
            for (std::size_t b = 0; b < nodes.size(); ++b) {
                if (nodes[b].cells.Without(nodes[a].seen).Empty()) follow[a] |= from[b];
            }
        }
        next.clear();
        firstNext.clear();
        for (const Link& link : links) {
            firstNext.push_back(static_cast<int>(next.size()));
            follow[link.to].AppendWithout(inHouse[link.house], next);
            // A chain never takes a cell twice: followers overlapping the link are dropped here.
            next.erase(std::remove_if(next.begin() + firstNext.back(), next.end(),
                                      [&](int j) { return !(links[j].cells & link.cells).Empty(); }),
                       next.end());
        }
        firstNext.push_back(static_cast<int>(next.size()));
    }

    int NodeOf(CellSet cells) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].cells == cells) return static_cast<int>(i);
        }
        CellSet seen = kEveryCell;
        for (int cell : cells) seen &= kHouses.peers[cell];
        nodes.push_back({cells, seen});
        return static_cast<int>(nodes.size()) - 1;
    }

    // Each link once, from the node holding the house's first place.
    void AddLinks(int house) {
        const CellSet mine = places & kHouses.sets[house];
        if (mine.Count() < 2) return;
        const bool inBox = KindOf(house) == HouseKind::Box;
        auto add = [&](CellSet one) {
            const CellSet other = mine.Without(one);
            if (!IsNode(one, inBox) || !IsNode(other, inBox)) return;
            const int a = NodeOf(one), b = NodeOf(other);
            inHouse[house].Add(static_cast<int>(links.size()));
            links.push_back({a, b, house, mine});
            inHouse[house].Add(static_cast<int>(links.size()));
            links.push_back({b, a, house, mine});
        };
        const int first = mine.First();
        add(CellSet::Of(first));
        for (int k = 0; k < kCrossings.count[house]; ++k) {
            const CellSet group = mine & kHouses.sets[kCrossings.houses[house][k]];
            if (group.Has(first) && group.Count() >= 2 && group != mine) add(group);
        }
    }

    const Fish& Best(int size) {
        if (!best[size]) {
            FishSearch search{*this, size};
            if (static_cast<int>(links.size()) >= 2 * size) search.Extend(0);
            best[size] = search.best;
        }
        return *best[size];
    }

    struct FishSearch {
        const DigitLinks& d;
        int size;
        std::array<int, kMostLinks> chain{};
        CellSet used{};
        Fish best;

        // Tenths above the base: none for links in parallel rows (or columns), one for boxes or
        // crossing lines, three with a diagonal or a group.
        int Rise() const {
            bool rows = true, columns = true;
            for (int i = 0; i < size; ++i) {
                const Link& link = d.links[chain[i]];
                if (KindOf(link.house) == HouseKind::Diagonal || d.nodes[link.from].cells.Count() > 1 ||
                    d.nodes[link.to].cells.Count() > 1)
                    return 3;
                rows = rows && KindOf(link.house) == HouseKind::Row;
                columns = columns && KindOf(link.house) == HouseKind::Column;
            }
            return rows || columns ? 0 : 1;
        }

        CellSet SeenByBoth(int a, int b) const { return (d.nodes[a].seen & d.nodes[b].seen & d.places).Without(used); }

        void Finish() {
            const int first = d.links[chain[0]].from, last = d.links[chain[size - 1]].to;
            const bool loop = d.nodes[last].cells.Without(d.nodes[first].seen).Empty();
            CellSet removed = SeenByBoth(first, last);
            if (loop) {
                for (int i = 0; i + 1 < size; ++i) removed |= SeenByBoth(d.links[chain[i]].to, d.links[chain[i + 1]].from);
            }
            if (removed.Empty()) return;
            const int rise = Rise();
            const Fish fish{rise, chain, removed, loop};
            if (best.rise >= 0 && !Better(fish, best)) return;
            best = fish;
        }

        void Extend(int depth) {
            if (depth == size) {
                Finish();
                return;
            }
            auto tryLink = [&](int i) {
                const CellSet cells = d.links[i].cells;
                if (!(cells & used).Empty()) return;
                chain[depth] = i;
                used |= cells;
                Extend(depth + 1);
                used = used.Without(cells);
            };
            if (depth == 0) {
                for (int i = 0; i < static_cast<int>(d.links.size()); ++i) tryLink(i);
                return;
            }
            const int* first = d.next.data() + d.firstNext[chain[depth - 1]];
            const int* end = d.next.data() + d.firstNext[chain[depth - 1] + 1];
            // Links come in pairs, i ^ 1 the reverse of i. A chain read backwards is the same fish,
            // met first if its first link, the last one's reverse, is the lower: only then is it
            // finished (chain[0] and its reverse themselves share its cells).
            if (depth + 1 == size) first = std::upper_bound(first, end, chain[0] ^ 1);
            for (const int* i = first; i != end; ++i) tryLink(*i);
        }
    };
};

std::string NodeName(CellSet cells) {
    std::string out;
    for (int cell : cells) out += (out.empty() ? "" : "/") + CellName(cell);
    return out;
}

Step StrongLinkStep(Technique technique, const DigitLinks& d, int digit, int size, const Fish& fish) {
    Step step = NewStep(technique);
    step.difficulty += fish.rise;
    std::vector<ChainLink> chain;
    auto candidate = [&](int node) {
        return Candidate{static_cast<std::uint8_t>(d.nodes[node].cells.First()), static_cast<std::uint8_t>(digit)};
    };
    std::string text;
    CellSet cells{};
    for (int i = 0; i < size; ++i) {
        const Link& link = d.links[fish.links[i]];
        if (i > 0) chain.push_back({candidate(d.links[fish.links[i - 1]].to), candidate(link.from), true, false});
        chain.push_back({candidate(link.from), candidate(link.to), false, true});
        step.houses.push_back(link.house);
        cells |= d.nodes[link.from].cells | d.nodes[link.to].cells;
        text += (i == 0 ? "" : i + 1 == size ? " und " : ", ") + NodeName(d.nodes[link.from].cells) + "–" +
                NodeName(d.nodes[link.to].cells) + " in " + HouseAfterPreposition(link.house);
    }
    const int first = d.links[fish.links[0]].from, last = d.links[fish.links[size - 1]].to;
    if (fish.loop) chain.push_back({candidate(last), candidate(first), true, false});
    step.chains = {std::move(chain)};
    AddCells(step, cells);
    AddCandidates(step.pattern, cells, digit);
    AddCandidates(step.eliminations, fish.removed, digit);
    step.explanation = "Die " + Sym(digit) + " steht in genau einem Ende jeder starken Verbindung " + text +
                       "; die Verbindungen hängen über Felder zusammen, die sich sehen. ";
    step.explanation += fish.loop ? "Sie schließen sich zum Ring, also fällt die " + Sym(digit) + " in " +
                                        CellList(fish.removed) + ", die zwei Nachbarn im Ring sehen."
                                  : "Also steht sie in " + NodeName(d.nodes[first].cells) + " oder " +
                                        NodeName(d.nodes[last].cells) + " und fällt in " + CellList(fish.removed) +
                                        ", die beide sehen.";
    return step;
}

// The fish of the least rise over all digits, of those the one removing most.
std::optional<Step> FindStrongLinks(const LogicState& state, int size, Technique technique) {
    thread_local std::array<DigitLinks, 10> cache;
    int bestDigit = 0;
    for (int d = 1; d <= 9; ++d) {
        if (cache[d].nodes.empty() || cache[d].places != state.cellsWith[d]) cache[d].Build(state.cellsWith[d]);
        const Fish& fish = cache[d].Best(size);
        if (fish.rise < 0) continue;
        const Fish* held = bestDigit == 0 ? nullptr : &cache[bestDigit].Best(size);
        // Of digits alike in every respect the higher goes first, as the scale's paths show.
        if (!held || !Better(*held, fish))
            bestDigit = d;
    }
    if (bestDigit == 0) return std::nullopt;
    return StrongLinkStep(technique, cache[bestDigit], bestDigit, size, cache[bestDigit].Best(size));
}

}  // namespace

std::optional<Step> FindTwoStrongLinks(const LogicState& state) {
    return FindStrongLinks(state, 2, Technique::TwoStrongLinks);
}
std::optional<Step> FindThreeStrongLinks(const LogicState& state) {
    return FindStrongLinks(state, 3, Technique::ThreeStrongLinks);
}
std::optional<Step> FindFourStrongLinks(const LogicState& state) {
    return FindStrongLinks(state, 4, Technique::FourStrongLinks);
}
std::optional<Step> FindFiveStrongLinks(const LogicState& state) {
    return FindStrongLinks(state, 5, Technique::FiveStrongLinks);
}
std::optional<Step> FindSixStrongLinks(const LogicState& state) {
    return FindStrongLinks(state, 6, Technique::SixStrongLinks);
}

}  // namespace tessaro::logic
