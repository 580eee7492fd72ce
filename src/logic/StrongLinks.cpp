// Fishes of strong links on one digit: skyscrapers, kites, turbot fish and their loops, grouped
// or not. Each strong link is a house whose places of the digit form just two nodes (a cell, or
// a group of cells where a box meets a line); one of the two holds the digit. Chained by nodes
// that see each other, the ends cannot both be free of it.
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
    const int count = cells.Count();
    if (count == 1) return true;
    if (count < 2 || count > 3) return false;
    const int box = BoxOf(cells.First());
    for (int cell : cells) {
        if (BoxOf(cell) != box) return false;
    }
    for (int line : kLines) {
        if ((!inBox || KindOf(line) != HouseKind::Diagonal) && cells.Without(kHouses.sets[line]).Empty()) return true;
    }
    return false;
}

// The strong links of one digit's places and the best fish of each size among them. Both depend
// on those places alone, so they are kept while the places stay.
struct DigitLinks {
    CellSet places{};
    std::vector<Node> nodes;
    std::vector<Link> links;
    std::vector<std::vector<int>> next;  // per link, the links that may follow it
    std::array<std::optional<Fish>, kMostLinks + 1> best;

    void Build(CellSet with) {
        places = with;
        nodes.clear();
        links.clear();
        best = {};
        for (int house = 0; house < kHouseCount; ++house) AddLinks(house);
        next.assign(links.size(), {});
        for (std::size_t i = 0; i < links.size(); ++i) {
            const CellSet reach = nodes[links[i].to].seen;
            for (std::size_t j = 0; j < links.size(); ++j) {
                if (links[j].house != links[i].house && nodes[links[j].from].cells.Without(reach).Empty())
                    next[i].push_back(static_cast<int>(j));
            }
        }
    }

    int NodeOf(CellSet cells) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].cells == cells) return static_cast<int>(i);
        }
        CellSet seen{~std::uint64_t{0}, (std::uint64_t{1} << 17) - 1};
        for (int cell : cells) seen &= kHouses.peers[cell];
        nodes.push_back({cells, seen});
        return static_cast<int>(nodes.size()) - 1;
    }

    void AddLinks(int house) {
        const CellSet mine = places & kHouses.sets[house];
        if (mine.Count() < 2) return;
        auto add = [&](CellSet one) {
            const CellSet other = mine.Without(one);
            const bool inBox = KindOf(house) == HouseKind::Box;
            if (one.First() > other.First() || !IsNode(one, inBox) || !IsNode(other, inBox)) return;
            const int a = NodeOf(one), b = NodeOf(other);
            links.push_back({a, b, house});
            links.push_back({b, a, house});
        };
        for (int cell : mine) add(CellSet::Of(cell));
        for (int h = 0; h < kHouseCount; ++h) {
            if (h == house || IsLine(h) == IsLine(house)) continue;
            const CellSet group = mine & kHouses.sets[h];
            if (group.Count() >= 2 && group != mine) add(group);
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
                const CellSet cells = d.nodes[d.links[i].from].cells | d.nodes[d.links[i].to].cells;
                if (!(cells & used).Empty()) return;
                chain[depth] = i;
                used |= cells;
                Extend(depth + 1);
                used = used.Without(cells);
            };
            if (depth == 0) {
                for (int i = 0; i < static_cast<int>(d.links.size()); ++i) tryLink(i);
            } else {
                for (int i : d.next[chain[depth - 1]]) tryLink(i);
            }
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
