#pragma once

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Board.h"

class QPrinter;
class QWidget;

namespace tessaro {

class Canvas;
class Engine;

// Chooses the printer a job goes to. Tests hand in a PDF printer instead of the system's.
class PrinterSource {
public:
    virtual ~PrinterSource() = default;
    // A printer ready for a job, or nullptr when there is none or the user cancelled.
    virtual std::unique_ptr<QPrinter> SelectPrinter() = 0;
};

// The system's default printer; without one, the print dialog (which on Linux also offers a PDF file).
class SystemPrinterSource final : public PrinterSource {
public:
    explicit SystemPrinterSource(QWidget* dialogParent = nullptr) : dialogParent_(dialogParent) {}
    std::unique_ptr<QPrinter> SelectPrinter() override;

private:
    QWidget* dialogParent_;
};

// Point sizes of the printer fonts.
inline constexpr int kBoardSymbolPoints = 54;
inline constexpr int kBoardCaptionPoints = 12;
inline constexpr int kGamesSymbolPoints = 20;
inline constexpr int kGamesCaptionPoints = 10;

// The page grid of one print, in device pixels, recomputed for every page from its size.
struct PageGrid {
    int unitX = 0;
    int unitY = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    // Added to every symbol position; the games print puts the board offsets here.
    int symbolOffsetX = 0;
    int symbolOffsetY = 0;
    // Givens met by PrintCellSymbol since the count was last reset.
    int givensCount = 0;
};

// The full-size grid of the board print and the half-size grid of the games print.
PageGrid BoardPageGrid(int pageWidth, int pageHeight);
PageGrid GamesPageGrid(int pageWidth, int pageHeight);
// Where game g (0..3, the difficulty printed) of the games print is shifted to.
int GamesBoardOffsetX(const PageGrid& grid, int g);
int GamesBoardOffsetY(const PageGrid& grid, int g);

// Thin cell outlines, thick 3x3 box outlines and both diagonals shaded, top left at (left, top).
// Leaves the canvas with a transparent background, ready for the symbols.
void DrawPrintGrid(Canvas& canvas, const PageGrid& grid, int left, int top);
// Prints value (0 prints nothing) into cell (x, y) in the canvas's current font and counts the
// cell when it holds a given.
void PrintCellSymbol(Canvas& canvas, PageGrid& grid, const BoardModel& model, bool showDigits, int x, int y,
                     int value);
// "Schwierigkeitsgrad: " + the difficulty name with its blanks + "mit <n> Zahlen".
QString PrintCaption(int difficulty, int givens);
// The printer font "Arial" at a point size, measured on the canvas's device.
void SetPrinterFont(Canvas& canvas, int points);

// Draws the board page onto the canvas's device, its size taken as the page; returns the grid
// with the number of givens printed.
PageGrid DrawBoardPage(Canvas& canvas, const BoardModel& model, const Settings& settings);
// One fresh puzzle per level for the games print; nothing for a level whose file cannot be read.
using GamesPuzzles = std::array<std::optional<BoardModel>, 4>;
// Starts a fresh puzzle of each level in turn, as a new game gets it. Afterwards the board holds
// the last one that could be read (the Extrem puzzle) and the current file is the Extrem file; the
// difficulty setting is not touched.
GamesPuzzles DealGamesPuzzles(Engine& engine);
// Draws the givens of each puzzle as one of four half-size boards; a missing puzzle leaves its
// quarter of the page empty.
void DrawGamesPage(Canvas& canvas, const GamesPuzzles& puzzles, bool showDigits);

// How a games print went: printed is false when no printer was chosen or printing failed; the
// puzzle files that could not be read are listed whenever the page was drawn.
struct GamesPrint {
    bool printed = false;
    std::vector<std::string> unreadableFiles;
};

// The print jobs "Brett drucken" and "Spiele drucken". A job without a printer, or one that
// failed, ends without a message. A games print that never got a printer leaves the board as it
// was.
bool PrintBoard(PrinterSource& printers, const BoardModel& model, const Settings& settings);
GamesPrint PrintGames(PrinterSource& printers, Engine& engine);

}  // namespace tessaro
