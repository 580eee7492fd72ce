// Writes the four shipped puzzle files leicht.brd, mittel.brd, schwer.brd and extrem.brd.
//
// Regenerate the committed files from the top of the source tree with
//     cmake --build build --target tessaro_generate
//     build/tools/tessaro_generate data
// An optional second argument replaces the fixed seed; the same seed always gives the same files.
// Every puzzle has exactly one solution; Leicht, Mittel and Schwer are finished by the game's sweeps
// alone, Extrem only with its guess phase (see kLevelRules), and each level is rated into its band
// (see logic/RatedLevels.h): Leicht 1.0-1.2, Mittel 1.5, Schwer 2.3, Extrem 3.4-6.5.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "logic/RatedLevels.h"
#include "logic/Solver.h"
#include "puzzles/PuzzleGenerator.h"
#include "puzzles/SudokuXSolver.h"

namespace {

constexpr std::uint64_t kShippedSeed = 20261208;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output folder> [seed]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::uint64_t seed = kShippedSeed;
    if (argc == 3) {
        char* end = nullptr;
        seed = std::strtoull(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0') {
            std::fprintf(stderr, "seed must be a number: %s\n", argv[2]);
            return 2;
        }
    }
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "no such folder: %s\n", folder.string().c_str());
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    auto levelStart = start;
    const bool ok = tessaro::RenewPuzzleFiles(
        folder, seed, tessaro::WritePuzzleFile, [&](int level, const std::array<tessaro::Grid, 4>& puzzles) {
            std::string counts;
            std::string ratings;
            for (const tessaro::Grid& puzzle : puzzles) {
                counts += ' ' + std::to_string(tessaro::CountGivens(puzzle));
                ratings += ' ' + tessaro::logic::RatingText(tessaro::logic::SolvePath(puzzle).rating);
            }
            const std::filesystem::path path = folder / std::string(tessaro::kPuzzleFiles[level]);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - levelStart;
            levelStart = std::chrono::steady_clock::now();
            std::printf("%s: givens%s, ratings%s (%.1f s)\n", path.string().c_str(), counts.c_str(), ratings.c_str(),
                        took.count());
        },
        tessaro::kExtremCandidates, tessaro::logic::RatedLevelJudge({}));
    if (!ok) {
        std::fprintf(stderr, "cannot make or write the puzzle files in %s\n", folder.string().c_str());
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("done in %.1f s (seed %llu)\n", elapsed.count(), static_cast<unsigned long long>(seed));
    return 0;
}
