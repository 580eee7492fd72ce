#include "shell/RenewPuzzles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <random>

#include "persistence/GameFile.h"
#include "puzzles/PuzzleGenerator.h"
#include "shell/DataLocation.h"

namespace tessaro {

int RenewPlayerPuzzles(const logic::ExtremChoice& choice) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        std::fprintf(stderr, "Der Datenordner „%s“ kann nicht angelegt werden.\n", qPrintable(folder));
        return 1;
    }
    // A data folder that leads to the installed files (or the source tree's) must not replace them.
    const QString target = QFileInfo(folder).canonicalFilePath();
    for (const QString& shipped : ShippedDataCandidates()) {
        if (QFileInfo(shipped).canonicalFilePath() == target) {
            std::fprintf(stderr, "„%s“ enthält die installierten Rätsel; sie bleiben unverändert.\n",
                         qPrintable(folder));
            return 1;
        }
    }
    std::printf("Neue Rätsel in %s:", qPrintable(folder));
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t seed = (std::uint64_t{std::random_device{}()} << 32) ^
                               static_cast<std::uint64_t>(start.time_since_epoch().count());
    // Through the game's own saves: locked against a running game, atomic, synced.
    const auto save = [](const std::filesystem::path& path, const std::string& bytes) {
        const QByteArray contents(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return static_cast<bool>(UpdateGameFile(QString::fromStdString(path.string()), 0,
                                                [&](const QByteArray&) { return contents; }));
    };
    const auto written = [](int level, const std::array<Grid, 4>&) {
        std::printf(" %s", std::string(kPuzzleFiles[level]).c_str());
        std::fflush(stdout);
    };
    // Practice puzzles of one technique are rarer; the first four found will do.
    const int extremCandidates = choice.technique ? 4 : kExtremCandidates;
    const bool ok = RenewPuzzleFiles(folder.toStdString(), seed, save, written, extremCandidates,
                                     logic::RatedLevelJudge(choice));
    if (!ok) {
        std::printf("\n");
        if (choice.technique) {
            std::fprintf(stderr, "Mit der Technik „%s“ fanden sich nicht genug Extrem-Rätsel, oder die Rätsel "
                                 "konnten nicht geschrieben werden.\n",
                         std::string(logic::Info(*choice.technique).name).c_str());
        } else {
            std::fprintf(stderr, "Die Rätsel konnten nicht erzeugt oder nicht geschrieben werden.\n");
        }
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf(" – fertig in %.1f s.\n", took.count());
    return 0;
}

}  // namespace tessaro
