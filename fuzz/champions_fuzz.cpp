// libFuzzer target for the hall-of-fame reader: any bytes must give valid, ordered tables that
// save as exactly 120 lines and read back unchanged.
#include "halloffame/HallOfFame.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace tessaro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HallOfFame hof;
    ParseChampions(hof, std::string_view(reinterpret_cast<const char*>(data), size));

    for (int level = 0; level < kLevels; ++level) {
        bool empty = false;
        for (int place = 1; place <= kPlaces; ++place) {
            const bool filled = hof.Filled(place, level);
            if (filled && (empty || !IsChampionTime(hof.times[place][level]))) std::abort();
            if (filled && place > 1 && hof.times[place][level] < hof.times[place - 1][level]) std::abort();
            if (hof.names[place][level].size() > kMaxChampionLine) std::abort();
            empty = empty || !filled;
        }
    }

    const std::string saved = FormatChampions(hof);
    std::size_t lines = 0;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] == '\n') {
            if (i == 0 || saved[i - 1] != '\r') std::abort();
            ++lines;
        } else if (saved[i] == '\r' && (i + 1 == saved.size() || saved[i + 1] != '\n')) {
            std::abort();
        }
    }
    if (lines != kChampionLines) std::abort();

    HallOfFame again;
    ParseChampions(again, saved);
    if (FormatChampions(again) != saved) std::abort();
    return 0;
}
