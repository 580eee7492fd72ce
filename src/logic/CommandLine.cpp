#include "logic/CommandLine.h"

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "logic/Solver.h"
#include "puzzles/Exchange.h"

namespace tessaro::logic {
namespace {

constexpr const char* kStuck = "Der Lösungsweg bleibt stecken: keine Technik findet einen weiteren Schritt.";

// Solves what was read into path; says why there is no path, or nothing when there is one.
std::string SolveReading(const PuzzleReading& reading, SolvingPath& path) {
    if (!reading.error.empty()) return reading.error;
    path = SolvePath(reading.givens);
    if (path.verdict == Verdict::Solved) return {};
    if (path.verdict == Verdict::Stuck) return kStuck;
    return PuzzleProblem(reading.givens);
}

struct RatedLine {
    std::string out;  // the rating line, or empty
    std::string err;  // why the line was refused, or empty
};

RatedLine RateLine(const std::string& line, int number) {
    const PuzzleReading reading = ParsePuzzleText(line);
    SolvingPath path;
    if (const std::string refused = SolveReading(reading, path); !refused.empty()) {
        return {{}, "Zeile " + std::to_string(number) + ": " + refused};
    }
    return {GivensLine(reading.givens) + ' ' + RatingText(path.rating) + ' ' + std::string(Info(path.hardest).name), {}};
}

bool IsBlankLine(const std::string& line) { return line.find_first_not_of(" \t\r\f\v") == std::string::npos; }

}  // namespace

int PrintSolvingPath(std::string_view argument, std::FILE* out, std::FILE* err) {
    const PuzzleReading reading = PuzzleFromArgument(argument);
    SolvingPath path;
    if (const std::string refused = SolveReading(reading, path); !refused.empty()) {
        std::fprintf(err, "%s\n", refused.c_str());
        return 2;
    }
    for (const Step& step : path.steps) {
        std::fprintf(out, "%s: %s => %s\n", std::string(Info(step.technique).name).c_str(),
                     RenderText(step.explanation).c_str(), EffectsText(step).c_str());
    }
    std::fprintf(out, "Bewertung: %s (%s)\n", RatingText(path.rating).c_str(),
                 std::string(Info(path.hardest).name).c_str());
    return 0;
}

int RatePuzzleFile(std::string_view argument, std::FILE* out, std::FILE* err) {
    if (argument.empty() || argument == "-") return RatePuzzleLines(std::cin, out, err);
    const std::string name(argument);
    std::error_code error;
    if (!std::filesystem::exists(name, error)) {
        std::fprintf(err, "Die Datei „%s“ gibt es nicht.\n", name.c_str());
        return 2;
    }
    std::ifstream in(name);
    if (!in || std::filesystem::is_directory(name, error)) {
        std::fprintf(err, "Die Datei „%s“ kann nicht gelesen werden.\n", name.c_str());
        return 2;
    }
    return RatePuzzleLines(in, out, err);
}

int RatePuzzleLines(std::istream& in, std::FILE* out, std::FILE* err) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
    const int count = static_cast<int>(lines.size());

    // Workers rate the lines in any order; this thread prints them in input order as they come.
    std::vector<RatedLine> results(lines.size());
    std::vector<char> ready(lines.size(), 0);
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < count; i = next++) {
            RatedLine rated = IsBlankLine(lines[i]) ? RatedLine{} : RateLine(lines[i], i + 1);
            const std::lock_guard lock(mutex);
            results[i] = std::move(rated);
            ready[i] = 1;
            done.notify_one();
        }
    };
    std::vector<std::thread> workers;
    const int threads = std::max(1, std::min<int>(count, static_cast<int>(std::thread::hardware_concurrency())));
    for (int i = 0; i < threads; ++i) workers.emplace_back(work);

    const bool progress = isatty(fileno(err)) != 0;
    bool refused = false;
    for (int i = 0; i < count; ++i) {
        RatedLine rated;
        {
            std::unique_lock lock(mutex);
            done.wait(lock, [&] { return ready[i] != 0; });
            rated = std::move(results[i]);
        }
        if (progress) std::fprintf(err, "\r\033[K");
        if (!rated.out.empty()) std::fprintf(out, "%s\n", rated.out.c_str());
        if (!rated.err.empty()) {
            std::fprintf(err, "%s\n", rated.err.c_str());
            refused = true;
        }
        if (progress) {
            std::fflush(out);
            std::fprintf(err, "%d von %d Zeilen bewertet", i + 1, count);
            std::fflush(err);
        }
    }
    if (progress && count > 0) std::fprintf(err, "\r\033[K");
    for (std::thread& worker : workers) worker.join();
    return refused ? 1 : 0;
}

}  // namespace tessaro::logic
