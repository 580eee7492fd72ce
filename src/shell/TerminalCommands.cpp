#include "shell/TerminalCommands.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <string_view>

#include "logic/CommandLine.h"
#include "logic/RatedLevels.h"
#include "shell/RenewPuzzles.h"

namespace tessaro {
namespace {

void PrintUsage() {
    std::printf(
        "Aufruf: tessaro [RÄTSEL]\n"
        "        tessaro --loesungsweg RÄTSEL\n"
        "        tessaro --bewerten [DATEI|-]\n"
        "        tessaro --neue-raetsel [--bewertung VON-BIS] [--technik NAME]\n"
        "        tessaro --help | --version\n"
        "\n"
        "Sudoku X mit beiden Diagonalen.\n"
        "\n"
        "  RÄTSEL                startet das Spiel mit diesem Rätsel als Vorgaben: eine Zeile aus\n"
        "                        81 Zeichen (Ziffern, „.“ oder „0“ für leere Felder) oder eine\n"
        "                        Textdatei, deren erstes brauchbares Rätsel gilt\n"
        "  --loesungsweg RÄTSEL  zeigt den Lösungsweg, einen Schritt je Zeile\n"
        "                        („Technik: Erklärung => Wirkungen“), dann die Bewertung\n"
        "  --bewerten [DATEI|-]  bewertet jedes Rätsel der Datei, eines je Zeile (ohne DATEI oder\n"
        "                        mit „-“ die Standardeingabe): „Rätsel Bewertung Technik“\n"
        "  --neue-raetsel        schreibt vier neue Rätsel je Stufe in den persönlichen Datenordner\n"
        "    --bewertung VON-BIS   Bewertung der Extrem-Rätsel (Vorgabe 3.4-6.5, ab 2.6)\n"
        "    --technik NAME        Extrem-Rätsel, deren Lösungsweg diese Technik braucht\n"
        "  --help                diese Übersicht\n"
        "  --version             die Version\n"
        "\n"
        "Stufen nach Bewertung: Leicht 1.0–1.2, Mittel 1.5, Schwer 2.3, Extrem ab 2.6.\n"
        "Techniken (NAME) mit ihrer Grundbewertung:\n");
    for (const logic::TechniqueInfo& info : logic::Ladder()) {
        std::printf("  %-30s %s  %s\n", std::string(info.key).c_str(), logic::RatingText(info.difficulty).c_str(),
                    std::string(info.name).c_str());
    }
    std::printf("\nExit-Status: 0 gut, 1 eine Zeile bei --bewerten abgelehnt, 2 Rätsel oder Aufruf abgelehnt.\n");
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "%s\n„tessaro --help“ zeigt alle Optionen.\n", message.c_str());
    return 2;
}

int RenewWithOptions(int argc, char** argv) {
    std::optional<logic::RatingBand> band;
    std::optional<logic::Technique> technique;
    for (int i = 2; i < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option != "--bewertung" && option != "--technik") {
            return UsageError("Die Option „" + std::string(option) + "“ gibt es bei --neue-raetsel nicht.");
        }
        if (i + 1 >= argc) return UsageError("Nach „" + std::string(option) + "“ fehlt der Wert.");
        const std::string_view value = argv[i + 1];
        if (option == "--bewertung") {
            band = logic::ParseRatingBand(value);
            if (!band) {
                return UsageError("„" + std::string(value) +
                                  "“ ist kein Bereich VON-BIS ab 2.6, etwa 3.4-6.5.");
            }
        } else {
            technique = logic::TechniqueByName(value);
            if (!technique) return UsageError("Die Technik „" + std::string(value) + "“ gibt es nicht.");
        }
    }
    // No window, so no display is needed either.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaro"));
    return RenewPlayerPuzzles(logic::MakeExtremChoice(band, technique));
}

}  // namespace

std::optional<int> RunTerminalCommand(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h") {
        PrintUsage();
        return 0;
    }
    if (command == "--version") {
        std::printf("Tessaro %s\n", TESSARO_VERSION);
        return 0;
    }
    if (command == "--loesungsweg") {
        if (argc != 3) return UsageError("--loesungsweg braucht genau ein Rätsel.");
        return logic::PrintSolvingPath(argv[2], stdout, stderr);
    }
    if (command == "--bewerten") {
        if (argc > 3) return UsageError("--bewerten liest eine Datei oder die Standardeingabe.");
        return logic::RatePuzzleFile(argc == 3 ? argv[2] : "-", stdout, stderr);
    }
    if (command == "--neue-raetsel") return RenewWithOptions(argc, argv);
    return std::nullopt;
}

}  // namespace tessaro
