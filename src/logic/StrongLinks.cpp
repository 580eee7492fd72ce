// Fishes of strong links on one digit: skyscrapers, kites, turbot fish and their loops, grouped
// or not. Each strong link is a house whose places of the digit form just two nodes (a cell, or
// a group of cells where a box meets a line); one of the two holds the digit. Chained by nodes
// that see each other, the ends cannot both be free of it.
#include <vector>

#include "logic/FinderTools.h"

namespace tessaro::logic {
namespace {

struct Node {
    CellSet cells;
    CellSet seen;  // the cells that see every cell of the node
};

struct Link {
    int from, to;  // nodes: without the digit in from, it is in to
    int house;
};

bool InOneLine(CellSet cells) {
    for (int line : kLines) {
        if (cells.Without(kHouses.sets[line]).Empty()) return true;
    }
    return false;
}

bool IsNode(CellSet cells) {
    const int count = cells.Count();
    if (count == 1) return true;
    if (count < 2 || count > 3) return false;
    const int box = BoxOf(cells.First());
    for (int cell : cells) {
        if (BoxOf(cell) != box) return false;
    }
    return InOneLine(cells);
}

struct StrongLinkSearch {
    const LogicState& state;
    int digit;
    int size;  // strong links in the chain
    std::vector<Node> nodes;
    std::vector<Link> links;
    // The chain being built and the best found.
    std::array<int, 6> chain{};
    CellSet used{};
    int bestRise = 99;
    std::array<int, 6> best{};
    CellSet bestRemoved{};
    bool bestLoop = false;

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
        const CellSet places = state.PlacesOf(house, digit);
        if (places.Count() < 2) return;
        auto add = [&](CellSet one) {
            const CellSet other = places.Without(one);
            if (one.First() > other.First() || !IsNode(one) || !IsNode(other)) return;
            const int a = NodeOf(one), b = NodeOf(other);
            links.push_back({a, b, house});
            links.push_back({b, a, house});
        };
        for (int cell : places) add(CellSet::Of(cell));
        for (int h = 0; h < kHouseCount; ++h) {
            if (h == house || IsLine(h) == IsLine(house)) continue;
            const CellSet group = places & kHouses.sets[h];
            if (group.Count() >= 2 && group != places) add(group);
        }
    }

    // Rises in tenths above the base: none for links in parallel rows (or columns), one for
    // boxes or crossing lines, three with a diagonal or a group.
    int Rise() const {
        bool rows = true, columns = true;
        for (int i = 0; i < size; ++i) {
            const Link& link = links[chain[i]];
            if (KindOf(link.house) == HouseKind::Diagonal || nodes[link.from].cells.Count() > 1 ||
                nodes[link.to].cells.Count() > 1)
                return 3;
            rows = rows && KindOf(link.house) == HouseKind::Row;
            columns = columns && KindOf(link.house) == HouseKind::Column;
        }
        return rows || columns ? 0 : 1;
    }

    CellSet SeenByBoth(int a, int b) const {
        return (nodes[a].seen & nodes[b].seen & state.cellsWith[digit]).Without(used);
    }

    void Finish() {
        const int first = links[chain[0]].from, last = links[chain[size - 1]].to;
        const bool loop = nodes[last].cells.Without(nodes[first].seen).Empty();
        CellSet removed = SeenByBoth(first, last);
        if (loop) {
            for (int i = 0; i + 1 < size; ++i) removed |= SeenByBoth(links[chain[i]].to, links[chain[i + 1]].from);
        }
        if (removed.Empty()) return;
        const int rise = Rise();
        if (rise > bestRise || (rise == bestRise && removed.Count() <= bestRemoved.Count())) return;
        bestRise = rise;
        best = chain;
        bestRemoved = removed;
        bestLoop = loop;
    }

    void Extend(int depth) {
        if (depth == size) {
            Finish();
            return;
        }
        for (int i = 0; i < static_cast<int>(links.size()); ++i) {
            const Link& link = links[i];
            const CellSet cells = nodes[link.from].cells | nodes[link.to].cells;
            if (!(cells & used).Empty()) continue;
            if (depth > 0) {
                const Link& prev = links[chain[depth - 1]];
                if (!nodes[link.from].cells.Without(nodes[prev.to].seen).Empty()) continue;
                if (link.house == prev.house) continue;
            }
            chain[depth] = i;
            used |= cells;
            Extend(depth + 1);
            used = used.Without(cells);
        }
    }
};

std::string NodeName(CellSet cells) {
    std::string out;
    for (int cell : cells) out += (out.empty() ? "" : "/") + CellName(cell);
    return out;
}

Step StrongLinkStep(Technique technique, const StrongLinkSearch& s) {
    Step step = NewStep(technique);
    step.difficulty += s.bestRise;
    std::vector<ChainLink> chain;
    auto candidate = [&](int node) {
        return Candidate{static_cast<std::uint8_t>(s.nodes[node].cells.First()), static_cast<std::uint8_t>(s.digit)};
    };
    std::string text;
    CellSet cells{};
    for (int i = 0; i < s.size; ++i) {
        const Link& link = s.links[s.best[i]];
        if (i > 0) chain.push_back({candidate(s.links[s.best[i - 1]].to), candidate(link.from), true, false});
        chain.push_back({candidate(link.from), candidate(link.to), false, true});
        step.houses.push_back(link.house);
        cells |= s.nodes[link.from].cells | s.nodes[link.to].cells;
        text += (i == 0 ? "" : i + 1 == s.size ? " und " : ", ") + NodeName(s.nodes[link.from].cells) + "–" +
                NodeName(s.nodes[link.to].cells) + " in " + HouseAfterPreposition(link.house);
    }
    const int first = s.links[s.best[0]].from, last = s.links[s.best[s.size - 1]].to;
    if (s.bestLoop) chain.push_back({candidate(last), candidate(first), true, false});
    step.chains = {std::move(chain)};
    AddCells(step, cells);
    AddCandidates(step.pattern, cells, s.digit);
    AddCandidates(step.eliminations, s.bestRemoved, s.digit);
    step.explanation = "Die " + Sym(s.digit) + " steht in genau einem Ende jeder starken Verbindung " + text +
                       "; die Verbindungen hängen über Felder zusammen, die sich sehen. ";
    step.explanation += s.bestLoop ? "Sie schließen sich zum Ring, also fällt die " + Sym(s.digit) +
                                         " in " + CellList(s.bestRemoved) + ", die zwei Nachbarn im Ring sehen."
                                   : "Also steht sie in " + NodeName(s.nodes[first].cells) + " oder " +
                                         NodeName(s.nodes[last].cells) + " und fällt in " +
                                         CellList(s.bestRemoved) + ", die beide sehen.";
    return step;
}

std::optional<Step> FindStrongLinks(const LogicState& state, int size, Technique technique) {
    std::optional<Step> found;
    for (int d = 1; d <= 9; ++d) {
        StrongLinkSearch search{state, d, size};
        for (int house = 0; house < kHouseCount; ++house) search.AddLinks(house);
        if (static_cast<int>(search.links.size()) < 2 * size) continue;
        search.Extend(0);
        if (search.bestRise == 99) continue;
        const int difficulty = Info(technique).difficulty + search.bestRise;
        if (!found || difficulty < found->difficulty ||
            (difficulty == found->difficulty && search.bestRemoved.Count() > static_cast<int>(found->eliminations.size())))
            found = StrongLinkStep(technique, search);
    }
    return found;
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
