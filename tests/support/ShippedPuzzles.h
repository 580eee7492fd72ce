#pragma once

// The givens of every record of the four shipped puzzle files.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Board.h"

namespace tessaro::sx {

struct ShippedPuzzle {
    std::string name;
    Grid givens{};
};

inline std::vector<ShippedPuzzle> ShippedPuzzles(const std::filesystem::path& dir) {
    constexpr int kRecordSize = 2200;
    constexpr int kGivensOffset = 100;
    std::vector<ShippedPuzzle> puzzles;
    for (std::string_view file : kPuzzleFiles) {
        std::ifstream in(dir / file, std::ios::binary);
        std::vector<char> record(kRecordSize);
        for (int n = 0; in.read(record.data(), kRecordSize); ++n) {
            ShippedPuzzle puzzle{std::string(file) + "/" + std::to_string(n)};
            for (int i = 0; i < 100; ++i) puzzle.givens[i] = static_cast<std::uint8_t>(record[kGivensOffset + i]);
            puzzles.push_back(puzzle);
        }
    }
    return puzzles;
}

}  // namespace tessaro::sx
