#include "shell/TerminalCommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

#include "logic/CommandLine.h"
#include "logic/RatedLevels.h"
#include "shell/RenewPuzzles.h"

namespace tessaro {
namespace {

void PrintUsage() {
    std::printf(
        "Aufruf: tessaro [--] [RÄTSEL]\n"
        "        tessaro --loesungsweg RÄTSEL\n"
        "        tessaro --bewerten [DATEI|-]\n"
        "        tessaro --neue-raetsel [--bewertung VON-BIS] [--technik NAME]\n"
        "        tessaro --help | --version\n"
        "\n"
        "Sudoku X mit beiden Diagonalen.\n"
        "\n"
        "  RÄTSEL                startet das Spiel mit diesem Rätsel als Vorgaben: eine Zeile aus\n"
        "                        81 Zeichen (Ziffern, „.“ oder „0“ für leere Felder) oder eine\n"
        "                        Textdatei, deren erstes brauchbares Rätsel gilt (ein Dateiname,\n"
        "                        der mit „-“ beginnt, nach „--“)\n"
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

// True for UTF-8 text without NUL bytes.
bool IsText(const QByteArray& bytes) {
    if (bytes.contains('\0')) return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

int NotText(const std::string& subject) {
    std::fprintf(stderr, "%s kein Text; --bewerten liest Rätsel als Textzeilen.\n", subject.c_str());
    return 2;
}

// --bewerten on a file or standard input that holds text; anything else is refused whole, so
// that no line of it is quoted back as bytes that are not UTF-8.
int RateTextFile(const char* argument) {
    const std::string_view name = argument;
    if (name.empty() || name == "-") {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) return logic::RatePuzzleFile(name, stdout, stderr);
        const QByteArray bytes = in.readAll();
        if (!IsText(bytes)) return NotText("Die Standardeingabe ist");
        std::istringstream lines(bytes.toStdString());
        return logic::RatePuzzleLines(lines, stdout, stderr);
    }
    QFile file(QString::fromLocal8Bit(argument));
    const QFileInfo info(file);
    if (info.isFile() && file.open(QIODevice::ReadOnly) && !IsText(file.readAll())) {
        return NotText("Die Datei „" + std::string(name) + "“ ist");
    }
    return logic::RatePuzzleFile(name, stdout, stderr);
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
        return RateTextFile(argc == 3 ? argv[2] : "-");
    }
    if (command == "--neue-raetsel") return RenewWithOptions(argc, argv);
    // Qt's own options take one dash; they are known only once the application has taken them.
    if (command.starts_with("--")) return RefuseUnknownOption(argc, argv);
    return std::nullopt;
}

std::optional<int> RefuseUnknownOption(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const std::string_view first = argv[1];
    if (first.size() < 2 || first[0] != '-' || first == "--") return std::nullopt;
    return UsageError("Die Option „" + std::string(first) + "“ gibt es nicht.");
}

const char* StartPuzzleArgument(int argc, char** argv) {
    if (argc < 2) return nullptr;
    if (std::string_view(argv[1]) != "--") return argv[1];
    return argc >= 3 ? argv[2] : nullptr;
}

}  // namespace tessaro
