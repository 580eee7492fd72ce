#include "printing/Printing.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

#include "display/Canvas.h"
#include "engine/Engine.h"
#include "persistence/RecordFile.h"

namespace tessaro {

namespace {

int Rounded(double value) { return static_cast<int>(std::lround(value)); }

// Ends the document; a printer that reports an error makes the job a failure.
bool FinishJob(Canvas& canvas, QPrinter& printer) {
    const bool ended = canvas.Painter()->end();
    canvas.End();
    return ended && printer.printerState() != QPrinter::Error;
}

}  // namespace

std::unique_ptr<QPrinter> SystemPrinterSource::SelectPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
        auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        if (printer->isValid()) return printer;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), dialogParent_);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return printer;
}

PageGrid BoardPageGrid(int pageWidth, int pageHeight) {
    PageGrid grid;
    grid.unitX = pageWidth / 80;
    grid.unitY = pageHeight / 70;
    grid.cellWidth = 8 * grid.unitX;
    grid.cellHeight = 6 * grid.unitY;
    grid.symbolOffsetX = Rounded(grid.unitX / 2.0);
    grid.symbolOffsetY = Rounded(-(grid.unitY / 3.0));
    return grid;
}

PageGrid GamesPageGrid(int pageWidth, int pageHeight) {
    PageGrid grid;
    grid.unitX = pageWidth / 80;
    grid.unitY = pageHeight / 70;
    grid.cellWidth = 4 * grid.unitX;
    grid.cellHeight = 3 * grid.unitY;
    return grid;
}

int GamesBoardOffsetX(const PageGrid& grid, int g) { return (g & 1) * 40 * grid.unitX; }

int GamesBoardOffsetY(const PageGrid& grid, int g) { return (g / 2) * 32 * grid.unitY; }

void DrawPrintGrid(Canvas& canvas, const PageGrid& grid, int left, int top) {
    const int cw = grid.cellWidth;
    const int ch = grid.cellHeight;
    // FilledBox with the hollow fill style draws the outline only.
    const auto cellBox = [&](int x, int y) {
        const int x1 = left + (x - 1) * cw;
        const int y1 = top + (y - 1) * ch;
        canvas.FilledBox(x1, y1, x1 + cw, y1 + ch);
    };

    canvas.SetForeColour(kColourBlack);
    canvas.SetLineStyle(0);
    canvas.SetLineWidth(2);
    canvas.SetFillStyle(kFillHollow);
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) cellBox(x, y);

    canvas.SetLineWidth(8);
    for (int b = 1; b <= 3; ++b) {
        for (int s = 1; s <= 3; ++s) {
            const int x1 = left + 3 * (s - 1) * cw;
            const int y1 = top + 3 * (b - 1) * ch;
            canvas.Box(x1, y1, x1 + 3 * cw, y1 + 3 * ch);
        }
    }

    // Black dots on a transparent background: the lines stay whole and the symbols readable.
    canvas.SetFillStyle(kFillPattern);
    canvas.SetFillColour(kColourBlack);
    canvas.SetLineWidth(2);
    canvas.SetRasterOp(kRopCopyPen);
    canvas.SetBackgroundMode(kTransparent);
    for (int k = 1; k <= 9; ++k) cellBox(k, k);
    // The centre lies on both diagonals. Its dots are already there; a second fill would only
    // darken it where a PDF viewer smooths the pattern.
    for (int k = 1; k <= 9; ++k)
        if (k != 10 - k) cellBox(k, 10 - k);
    canvas.SetFillStyle(kFillHollow);
}

void PrintCellSymbol(Canvas& canvas, PageGrid& grid, const BoardModel& model, bool showDigits, int x, int y,
                     int value) {
    if (model.given(x, y) != 0) ++grid.givensCount;
    const int left = 2 * grid.unitX + (x - 1) * grid.cellWidth + grid.symbolOffsetX;
    const int top = Rounded(1.5 * grid.unitY) + (y - 1) * grid.cellHeight + grid.symbolOffsetY;
    if (value < 1 || value > 9) return;
    // The narrow digits and letters are moved right to sit nearer the middle of the cell.
    const int nudge = showDigits ? 7 : (value == 9 ? 11 : 4);
    canvas.Text(left + nudge, top + 3, QString::fromStdString(SymbolText(value, showDigits)));
}

QString PrintCaption(int difficulty, int givens) {
    const int level = std::clamp(difficulty, 0, static_cast<int>(kDifficultyNames.size()) - 1);
    const auto name = kDifficultyNames[static_cast<std::size_t>(level)];
    return QStringLiteral("Schwierigkeitsgrad: ") + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
           QStringLiteral("mit ") + QString::number(givens) + QStringLiteral(" Zahlen");
}

void SetPrinterFont(Canvas& canvas, int points) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    canvas.SetFont(font);
}

PageGrid DrawBoardPage(Canvas& canvas, const BoardModel& model, const Settings& settings) {
    const QPaintDevice* device = canvas.Device();
    if (!device) return {};
    PageGrid grid = BoardPageGrid(device->width(), device->height());
    SetPrinterFont(canvas, kBoardSymbolPoints);
    DrawPrintGrid(canvas, grid, grid.unitX, grid.unitY);

    grid.givensCount = 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int value = model.cell(x, y);
            if (value != 0) PrintCellSymbol(canvas, grid, model, settings.showDigits, x, y, value);
        }
    }

    SetPrinterFont(canvas, kBoardCaptionPoints);
    canvas.Text(grid.unitX, 56 * grid.unitY, PrintCaption(settings.difficulty, grid.givensCount));
    return grid;
}

GamesPuzzles DealGamesPuzzles(Engine& engine) {
    GamesPuzzles puzzles;
    for (int g = 0; g < 4; ++g) {
        if (StartPuzzle(engine, g)) puzzles[static_cast<std::size_t>(g)] = engine.Model();
    }
    return puzzles;
}

void DrawGamesPage(Canvas& canvas, const GamesPuzzles& puzzles, bool showDigits) {
    const QPaintDevice* device = canvas.Device();
    if (!device) return;
    PageGrid grid = GamesPageGrid(device->width(), device->height());
    SetPrinterFont(canvas, kGamesSymbolPoints);

    for (int g = 0; g < 4; ++g) {
        if (!puzzles[static_cast<std::size_t>(g)]) continue;
        const BoardModel& model = *puzzles[static_cast<std::size_t>(g)];
        const int offsetX = GamesBoardOffsetX(grid, g);
        const int offsetY = GamesBoardOffsetY(grid, g);
        DrawPrintGrid(canvas, grid, grid.unitX + offsetX, grid.unitY + offsetY);

        SetPrinterFont(canvas, kGamesSymbolPoints);
        grid.givensCount = 0;
        grid.symbolOffsetX = offsetX;
        grid.symbolOffsetY = offsetY;
        for (int x = 1; x <= 9; ++x) {
            for (int y = 1; y <= 9; ++y) {
                const int value = model.given(x, y);
                if (value != 0) PrintCellSymbol(canvas, grid, model, showDigits, x, y, value);
            }
        }

        SetPrinterFont(canvas, kGamesCaptionPoints);
        canvas.Text(grid.unitX + offsetX, Rounded(28.5 * grid.unitY) + offsetY, PrintCaption(g, grid.givensCount));
    }
}

bool PrintBoard(PrinterSource& printers, const BoardModel& model, const Settings& settings) {
    std::unique_ptr<QPrinter> printer = printers.SelectPrinter();
    if (!printer) return false;
    printer->setDocName(QStringLiteral("Brett drucken"));
    Canvas canvas;
    canvas.Begin(printer.get());
    if (!canvas.IsActive()) return false;
    DrawBoardPage(canvas, model, settings);
    return FinishJob(canvas, *printer);
}

GamesPrint PrintGames(PrinterSource& printers, Engine& engine) {
    std::unique_ptr<QPrinter> printer = printers.SelectPrinter();
    if (!printer) return {};
    printer->setDocName(QStringLiteral("Spiele drucken"));
    Canvas canvas;
    canvas.Begin(printer.get());
    if (!canvas.IsActive()) return {};
    GamesPrint result;
    const GamesPuzzles puzzles = DealGamesPuzzles(engine);
    for (std::size_t g = 0; g < puzzles.size(); ++g) {
        if (!puzzles[g]) result.unreadableFiles.emplace_back(kPuzzleFiles[g]);
    }
    DrawGamesPage(canvas, puzzles, engine.Config().showDigits);
    result.printed = FinishJob(canvas, *printer);
    return result;
}

}  // namespace tessaro
