// Rates a corpus of puzzles that another rater has rated and compares: how many ratings agree, and
// where they do not, which technique each side found hardest. Lines of the corpus:
//   <81 characters> <rating> <hardest technique>   (path lines, indented, and # comments skipped)
// Exit 1 when fewer than --min percent agree.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "logic/Solver.h"
#include "puzzles/Exchange.h"

namespace {

using namespace tessaro::logic;

struct Entry {
    std::string givens;
    int theirRating = 0;  // tenths
    std::string theirTechnique;
    int ourRating = 0;
    std::string ourTechnique;
    bool solved = false;
    std::vector<std::string> theirPath;  // "<rating> <description>" a step
    bool samePath = false;               // step for step the same ratings
};

int Tenths(const std::string& text) { return static_cast<int>(std::lround(std::strtod(text.c_str(), nullptr) * 10)); }

// "Skyscraper 011" and "Skyscraper 016" are one technique; the digits name the houses used.
std::string FamilyOf(std::string technique) {
    while (!technique.empty() && (std::isdigit(static_cast<unsigned char>(technique.back())) || technique.back() == ' ')) {
        technique.pop_back();
    }
    return technique;
}

std::vector<Entry> ReadCorpus(const char* path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(2);
    }
    std::vector<Entry> entries;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == ' ') {
            if (!entries.empty()) entries.back().theirPath.push_back(line.substr(line.find_first_not_of(' ')));
            continue;
        }
        std::istringstream fields(line);
        Entry e;
        std::string rating;
        fields >> e.givens >> rating;
        std::getline(fields >> std::ws, e.theirTechnique);
        e.theirRating = Tenths(rating);
        entries.push_back(std::move(e));
    }
    return entries;
}

void RateAll(std::vector<Entry>& entries) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < entries.size();) {
            Entry& e = entries[i];
            const auto reading = tessaro::ParsePuzzleText(e.givens);
            const SolvingPath path = SolvePath(reading.givens);
            e.solved = path.verdict == Verdict::Solved;
            e.ourRating = path.rating;
            e.ourTechnique = std::string(Info(path.hardest).name);
            e.samePath = path.steps.size() == e.theirPath.size();
            for (std::size_t s = 0; e.samePath && s < path.steps.size(); ++s)
                e.samePath = path.steps[s].difficulty == Tenths(e.theirPath[s]);
        }
    };
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i) workers.emplace_back(work);
    for (auto& w : workers) w.join();
}

// Both paths of one puzzle side by side, the first step whose rating differs marked: where
// the two raters part.
void Trace(const Entry& e) {
    const SolvingPath path = SolvePath(tessaro::ParsePuzzleText(e.givens).givens);
    std::printf("%s\n", e.givens.c_str());
    bool parted = false;
    for (std::size_t i = 0; i < std::max(path.steps.size(), e.theirPath.size()); ++i) {
        std::string ours;
        int ourTenths = -1;
        if (i < path.steps.size()) {
            const Step& s = path.steps[i];
            ourTenths = s.difficulty;
            ours = RatingText(s.difficulty) + " " + std::string(Info(s.technique).name) + " " + EffectsText(s);
        }
        const std::string& theirs = i < e.theirPath.size() ? e.theirPath[i] : std::string();
        const bool differs = !parted && ourTenths >= 0 && ourTenths != Tenths(theirs);
        parted = parted || differs;
        std::printf("%3zu %s %-60.60s | %s\n", i + 1, differs ? "*" : " ", ours.c_str(), theirs.c_str());
        if (differs) std::printf("      %s\n", RenderText(path.steps[i].explanation).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS [--min PERCENT] [--list] [--trace N]\n", argv[0]);
        return 2;
    }
    double minPercent = 0;
    bool list = false;
    int trace = -1;  // the puzzle's line number among the puzzles, from 1
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--min" && i + 1 < argc) minPercent = std::strtod(argv[++i], nullptr);
        else if (arg == "--list") list = true;
        else if (arg == "--trace" && i + 1 < argc) trace = std::atoi(argv[++i]);
    }
    std::vector<Entry> entries = ReadCorpus(argv[1]);
    if (trace > 0 && trace <= static_cast<int>(entries.size())) {
        Trace(entries[trace - 1]);
        return 0;
    }
    RateAll(entries);

    struct Family {
        int count = 0, equal = 0, near = 0;
        std::map<std::string, int> ours;  // "our technique (+diff)" of the unequal ones
    };
    std::map<std::string, Family> families;
    std::map<std::string, int> differences;
    int equal = 0, near = 0, unsolved = 0, samePaths = 0;
    for (const Entry& e : entries) {
        samePaths += e.samePath;
        Family& f = families[FamilyOf(e.theirTechnique)];
        ++f.count;
        unsolved += !e.solved;
        const int diff = e.ourRating - e.theirRating;
        if (diff == 0) {
            ++equal, ++f.equal;
            continue;
        }
        if (std::abs(diff) <= 2) ++near, ++f.near;
        char label[160];
        std::snprintf(label, sizeof label, "%s %+.1f", e.ourTechnique.c_str(), diff / 10.0);
        ++f.ours[label];
        ++differences[FamilyOf(e.theirTechnique) + " -> " + label];
        if (list) {
            std::printf("%3zu %s %s %s | %s %s\n", static_cast<std::size_t>(&e - entries.data() + 1), e.givens.c_str(), RatingText(e.theirRating).c_str(),
                        e.theirTechnique.c_str(), RatingText(e.ourRating).c_str(), e.ourTechnique.c_str());
        }
    }
    std::printf("%-40s %6s %6s %6s  most frequent of ours where unequal\n", "their hardest", "count", "equal", "<=0.2");
    for (const auto& [name, f] : families) {
        const auto top = std::max_element(f.ours.begin(), f.ours.end(),
                                          [](const auto& a, const auto& b) { return a.second < b.second; });
        std::printf("%-40s %6d %6d %6d  %s\n", name.c_str(), f.count, f.equal, f.near,
                    top == f.ours.end() ? "" : (top->first + " x" + std::to_string(top->second)).c_str());
    }
    const double percent = entries.empty() ? 0 : 100.0 * equal / entries.size();
    std::printf("equal ratings: %d of %zu (%.1f %%); within 0.2: %d more; unsolved: %d; paths rated step for step "
                "alike: %d\n",
                equal, entries.size(), percent, near, unsolved, samePaths);
    if (!differences.empty()) {
        const auto top = std::max_element(differences.begin(), differences.end(),
                                          [](const auto& a, const auto& b) { return a.second < b.second; });
        std::printf("most frequent difference: %s (%d puzzles)\n", top->first.c_str(), top->second);
    }
    return percent + 1e-9 < minPercent ? 1 : 0;
}
