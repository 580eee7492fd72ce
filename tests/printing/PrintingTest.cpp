#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

#include "display/Canvas.h"
#include "engine/Random.h"
#include "engine/Engine.h"
#include "persistence/RecordFile.h"
#include "support/LoadInto.h"
#include "printing/Printing.h"

namespace tessaro {
namespace {

constexpr int kDpi = 300;

std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(kDpi);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setOutputFileName(path);
    return printer;
}

// The board page drawn onto `page` with every text recorded.
PageGrid DrawRecorded(QImage& page, const BoardModel& model, const Settings& settings, std::vector<TextCall>& texts) {
    Canvas canvas(&page);
    canvas.SetTextRecorder(&texts);
    return DrawBoardPage(canvas, model, settings);
}

// Hands out one prepared printer, then none (as a cancelled dialog would).
class FixedPrinterSource : public PrinterSource {
public:
    explicit FixedPrinterSource(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}
    std::unique_ptr<QPrinter> SelectPrinter() override {
        ++calls;
        return std::move(printer_);
    }
    int calls = 0;

private:
    std::unique_ptr<QPrinter> printer_;
};

// A white page of the A4 printer's printable size and resolution.
QImage PrinterPage() {
    const auto printer = PdfPrinter(QStringLiteral("/dev/null"));
    QImage image(printer->width(), printer->height(), QImage::Format_RGB32);
    image.setDotsPerMeterX(std::lround(kDpi / 0.0254));
    image.setDotsPerMeterY(std::lround(kDpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

int DarkPixels(const QImage& image, int x1, int y1, int x2, int y2) {
    int count = 0;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (Dark(image, x, y)) ++count;
    return count;
}

// Bounding box of the dark pixels in the region, or a null rectangle.
QRect DarkBounds(const QImage& image, const QRect& region) {
    QRect bounds;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (Dark(image, x, y)) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QRect CellRect(const PageGrid& grid, int left, int top, int x, int y) {
    return QRect(left + (x - 1) * grid.cellWidth, top + (y - 1) * grid.cellHeight, grid.cellWidth, grid.cellHeight);
}

// The cell without its outline (and without the thick borders' inner halves).
QRect Interior(const QRect& cell) { return cell.adjusted(6, 6, -6, -6); }

bool IsSymbol(const TextCall& call) { return call.text.size() == 1; }

// Runs a test in a scratch working directory and returns to the old one afterwards.
class WorkingDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        old_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    }
    void TearDown() override { QDir::setCurrent(old_); }
    void CopyPuzzleFile(int g) {
        const QString name = QString::fromUtf8(kPuzzleFiles[static_cast<std::size_t>(g)].data());
        ASSERT_TRUE(QFile::copy(QStringLiteral(TESSARO_SOURCE_DATA_DIR "/") + name, dir_.filePath(name)));
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QString old_;
};

TEST(PageGridTest, UnitsComeFromThePageAndOffsetsAreRounded) {
    const PageGrid board = BoardPageGrid(2480, 3508);
    EXPECT_EQ(board.unitX, 31);
    EXPECT_EQ(board.unitY, 50);
    EXPECT_EQ(board.cellWidth, 248);
    EXPECT_EQ(board.cellHeight, 300);
    EXPECT_EQ(board.symbolOffsetX, 16);
    EXPECT_EQ(board.symbolOffsetY, -17);

    const PageGrid games = GamesPageGrid(2480, 3508);
    EXPECT_EQ(games.cellWidth, 124);
    EXPECT_EQ(games.cellHeight, 150);
    EXPECT_EQ(GamesBoardOffsetX(games, 0), 0);
    EXPECT_EQ(GamesBoardOffsetY(games, 1), 0);
    EXPECT_EQ(GamesBoardOffsetX(games, 3), 1240);
    EXPECT_EQ(GamesBoardOffsetY(games, 2), 1600);
}

TEST(BoardPageTest, GridLinesAndShadedDiagonalsSitOnThePageGrid) {
    QImage page = PrinterPage();
    BoardModel model;
    Settings settings;
    std::vector<TextCall> texts;
    const PageGrid grid = DrawRecorded(page, model, settings, texts);
    page.save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/print_board_empty.png"));
    const int ux = page.width() / 80;
    const int uy = page.height() / 70;
    ASSERT_EQ(grid.unitX, ux);
    ASSERT_EQ(grid.cellWidth, 8 * ux);
    ASSERT_EQ(grid.cellHeight, 6 * uy);
    const int cw = grid.cellWidth;
    const int ch = grid.cellHeight;

    // Row 5 between columns 1 and 2: two-pixel outlines of both cells, the left one's right edge
    // one pixel inside it, so three pixels together.
    const int midRow5 = uy + 4 * ch + ch / 2;
    const int thin = ux + cw;
    for (int x = thin - 2; x <= thin; ++x) EXPECT_TRUE(Dark(page, x, midRow5)) << x;
    EXPECT_FALSE(Dark(page, thin - 3, midRow5));
    EXPECT_FALSE(Dark(page, thin + 1, midRow5));
    // Box borders are eight pixels wide: the grid's left edge alone, and nine where the borders of
    // two boxes meet after column 3.
    for (int x = ux - 4; x <= ux + 3; ++x) EXPECT_TRUE(Dark(page, x, midRow5)) << x;
    EXPECT_FALSE(Dark(page, ux - 5, midRow5));
    EXPECT_FALSE(Dark(page, ux + 4, midRow5));
    const int inner = ux + 3 * cw;
    for (int x = inner - 5; x <= inner + 3; ++x) EXPECT_TRUE(Dark(page, x, midRow5)) << x;
    EXPECT_FALSE(Dark(page, inner - 6, midRow5));
    EXPECT_FALSE(Dark(page, inner + 4, midRow5));
    // The top edge, and the right edge ending one pixel inside the grid's last column plus the pen.
    const int midColumn2 = ux + cw + cw / 2;
    for (int y = uy - 4; y <= uy + 3; ++y) EXPECT_TRUE(Dark(page, midColumn2, y)) << y;
    EXPECT_FALSE(Dark(page, midColumn2, uy - 5));
    const int right = ux + 9 * cw - 1;
    EXPECT_TRUE(Dark(page, right + 3, midRow5));
    EXPECT_FALSE(Dark(page, right + 4, midRow5));

    // Light shading on both diagonals (the centre once as light as the rest), none elsewhere.
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const QRect inner = Interior(CellRect(grid, ux, uy, x, y));
            const double share = DarkPixels(page, inner.left(), inner.top(), inner.right() + 1, inner.bottom() + 1) /
                                 double(inner.width() * inner.height());
            if (x == y || x + y == 10) {
                EXPECT_GT(share, 0.05) << x << "," << y;
                EXPECT_LT(share, 0.2) << x << "," << y;
            } else {
                EXPECT_EQ(share, 0.0) << x << "," << y;
            }
        }
    }

    // An empty board: no symbols, and the caption gives 0 below the grid.
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Schwierigkeitsgrad:   Leicht mit 0 Zahlen"));
    EXPECT_EQ(texts[0].x, ux);
    EXPECT_EQ(texts[0].y, 56 * uy);
    const QRect caption = DarkBounds(page, QRect(0, 55 * uy + 10, page.width(), page.height() - 55 * uy - 10));
    ASSERT_FALSE(caption.isNull());
    EXPECT_GE(caption.left(), ux);
    EXPECT_GE(caption.top(), 56 * uy);
    // 12 points at 300 dpi: capitals about 36 pixels high.
    EXPECT_NEAR(caption.height(), 12 * kDpi / 72 * 0.72, 12);
}

TEST(BoardPageTest, SymbolsLandInTheirCellsAndOnlyGivensAreCounted) {
    QImage page = PrinterPage();
    BoardModel model;
    Settings settings;
    settings.difficulty = 2;
    model.cell(3, 4) = 5;
    model.given(3, 4) = 5;
    model.cell(6, 2) = 7;  // a player entry
    model.cell(5, 5) = 1;
    model.given(5, 5) = 1;
    std::vector<TextCall> texts;
    const PageGrid grid = DrawRecorded(page, model, settings, texts);
    page.save(QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/print_board_symbols.png"));
    const int ux = grid.unitX;
    const int uy = grid.unitY;

    // Columns outer, rows inner; caption last with the two givens.
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, QStringLiteral("5"));
    EXPECT_EQ(texts[1].text, QStringLiteral("1"));
    EXPECT_EQ(texts[2].text, QStringLiteral("7"));
    EXPECT_EQ(texts[3].text, QStringLiteral("Schwierigkeitsgrad:  Schwer mit 2 Zahlen"));
    const int sox = std::lround(ux / 2.0);
    const int soy = std::lround(-uy / 3.0);
    EXPECT_EQ(texts[0].x, 2 * ux + 2 * grid.cellWidth + sox + 7);
    EXPECT_EQ(texts[0].y, std::lround(1.5 * uy) + 3 * grid.cellHeight + soy + 3);
    EXPECT_EQ(texts[2].x, 2 * ux + 5 * grid.cellWidth + sox + 7);
    EXPECT_EQ(texts[2].y, std::lround(1.5 * uy) + 1 * grid.cellHeight + soy + 3);

    // Each symbol is drawn inside its cell, near its middle, at 54 points (digits about 160
    // pixels high at 300 dpi), and the shading of the centre cell does not hide the digit.
    for (const auto& [x, y] : {std::pair{3, 4}, std::pair{6, 2}, std::pair{5, 5}}) {
        const QRect cell = CellRect(grid, ux, uy, x, y);
        const QRect inner = Interior(cell);
        QRect glyph = DarkBounds(page, inner);
        if (x == 5) {
            // Ignore the sparse pattern: keep rows and columns with several dark pixels.
            QImage copy = page.copy(inner);
            QRect solid;
            for (int yy = 0; yy < copy.height(); ++yy)
                for (int xx = 0; xx + 3 < copy.width(); ++xx)
                    if (Dark(copy, xx, yy) && Dark(copy, xx + 1, yy) && Dark(copy, xx + 2, yy) && Dark(copy, xx + 3, yy))
                        solid |= QRect(inner.left() + xx, inner.top() + yy, 4, 1);
            glyph = solid;
        }
        ASSERT_FALSE(glyph.isNull()) << x << "," << y;
        EXPECT_TRUE(inner.contains(glyph)) << x << "," << y;
        EXPECT_NEAR(glyph.center().x(), cell.center().x(), cell.width() / 6) << x << "," << y;
        EXPECT_NEAR(glyph.center().y(), cell.center().y(), cell.height() / 6) << x << "," << y;
        EXPECT_NEAR(glyph.height(), 54 * kDpi / 72 * 0.72, 15) << x << "," << y;
    }
    // The neighbouring empty cells stay blank.
    const QRect empty = Interior(CellRect(grid, ux, uy, 4, 3));
    EXPECT_EQ(DarkPixels(page, empty.left(), empty.top(), empty.right(), empty.bottom()), 0);
}

TEST(BoardPageTest, LettersModePrintsLettersWithTheirNudges) {
    QImage page = PrinterPage();
    BoardModel model;
    Settings settings;
    settings.showDigits = false;
    for (int v = 1; v <= 9; ++v) model.cell(v, 1) = static_cast<std::uint8_t>(v);
    std::vector<TextCall> texts;
    const PageGrid grid = DrawRecorded(page, model, settings, texts);
    ASSERT_EQ(texts.size(), 10u);
    const int base = 2 * grid.unitX + grid.symbolOffsetX;
    for (int v = 1; v <= 9; ++v) {
        const TextCall& call = texts[static_cast<std::size_t>(v - 1)];
        EXPECT_EQ(call.text, QString(QChar('@' + v)));
        EXPECT_EQ(call.x, base + (v - 1) * grid.cellWidth + (v == 9 ? 11 : 4));
    }
    EXPECT_TRUE(texts[9].text.endsWith(QStringLiteral("mit 0 Zahlen")));
}

// Puzzle files whose records carry player entries besides the givens.
void WriteMarkedPuzzleFiles(int firstGiven) {
    for (int g = 0; g < 4; ++g) {
        BoardModel model;
        Settings settings;
        settings.currentFile = std::string(kPuzzleFiles[static_cast<std::size_t>(g)]);
        // g + firstGiven givens along row 1, and player entries in row 9.
        for (int x = 1; x <= g + firstGiven; ++x) {
            model.cell(x, 1) = static_cast<std::uint8_t>(x);
            model.given(x, 1) = static_cast<std::uint8_t>(x);
        }
        for (int x = 1; x <= 9; ++x) model.cell(x, 9) = static_cast<std::uint8_t>(10 - x);
        for (int slot = 0; slot < 4; ++slot) ASSERT_TRUE(SaveRecord(model, settings, slot));
    }
}

// Symbol calls between the captions, one list per board.
std::vector<std::vector<TextCall>> SymbolsPerBoard(const std::vector<TextCall>& texts) {
    std::vector<std::vector<TextCall>> boards(1);
    for (const TextCall& call : texts) {
        if (IsSymbol(call)) boards.back().push_back(call);
        else boards.emplace_back();
    }
    boards.pop_back();
    return boards;
}

using GamesPageTest = WorkingDirectory;

TEST_F(GamesPageTest, FourBoardsInLevelOrderWithTheirGivensOnly) {
    WriteMarkedPuzzleFiles(3);
    QImage page = PrinterPage();
    BoardModel model;
    Settings settings;
    settings.difficulty = 1;
    settings.currentFile = "brett.brd";
    std::vector<TextCall> texts;
    {
        Canvas canvas(&page);
        canvas.SetTextRecorder(&texts);
        Engine engine(model, settings);
        DrawGamesPage(canvas, DealGamesPuzzles(engine), settings.showDigits);
    }
    const PageGrid grid = GamesPageGrid(page.width(), page.height());
    const int ux = grid.unitX;
    const int uy = grid.unitY;

    std::vector<TextCall> captions;
    for (const TextCall& call : texts)
        if (!IsSymbol(call)) captions.push_back(call);
    ASSERT_EQ(captions.size(), 4u);
    const QString names[] = {QStringLiteral("  Leicht "), QStringLiteral("  Mittel "), QStringLiteral(" Schwer "),
                             QStringLiteral(" Extrem ")};
    for (int g = 0; g < 4; ++g) {
        EXPECT_EQ(captions[g].text, QStringLiteral("Schwierigkeitsgrad: ") + names[g] + QStringLiteral("mit ") +
                                        QString::number(g + 3) + QStringLiteral(" Zahlen"));
        EXPECT_EQ(captions[g].x, ux + (g & 1) * 40 * ux);
        EXPECT_EQ(captions[g].y, std::lround(28.5 * uy) + (g / 2) * 32 * uy);
    }
    // Only the givens are printed, never the player entries of the records.
    const auto boards = SymbolsPerBoard(texts);
    ASSERT_EQ(boards.size(), 4u);
    for (int g = 0; g < 4; ++g) EXPECT_EQ(boards[g].size(), static_cast<std::size_t>(g + 3)) << g;

    // The Extrem board is left in the model, and its givens are the symbols printed last.
    EXPECT_EQ(settings.currentFile, "extrem.brd");
    EXPECT_EQ(settings.difficulty, 1);
    int given = 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int value = model.given(x, y);
            if (value == 0) continue;
            ASSERT_LT(given, 6);
            const TextCall& call = boards[3][static_cast<std::size_t>(given++)];
            EXPECT_EQ(call.text, QString::number(value));
            EXPECT_EQ(call.x, 2 * ux + (x - 1) * grid.cellWidth + 40 * ux + 7);
            EXPECT_EQ(call.y, std::lround(1.5 * uy) + (y - 1) * grid.cellHeight + 32 * uy + 3);
        }
    }
    EXPECT_EQ(given, 6);
    int playerEntries = 0;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (model.cell(x, y) != 0 && model.given(x, y) == 0) ++playerEntries;
    EXPECT_EQ(playerEntries, 9);

    // Each half-size grid starts with its eight-pixel border at its own corner; the gap between
    // the columns of boards stays white.
    for (int g = 0; g < 4; ++g) {
        const int left = ux + (g & 1) * 40 * ux;
        const int top = uy + (g / 2) * 32 * uy;
        const int midRow5 = top + 4 * grid.cellHeight + grid.cellHeight / 2;
        EXPECT_TRUE(Dark(page, left - 4, midRow5) && Dark(page, left + 3, midRow5)) << g;
        EXPECT_FALSE(Dark(page, left - 5, midRow5)) << g;
        EXPECT_FALSE(Dark(page, left + 4, midRow5)) << g;
        const QRect shaded = Interior(CellRect(grid, left, top, 2, 2));
        EXPECT_GT(DarkPixels(page, shaded.left(), shaded.top(), shaded.right(), shaded.bottom()), 0) << g;
    }
    EXPECT_EQ(DarkPixels(page, 37 * ux + 8, uy, 41 * ux - 8, 60 * uy), 0);
}

TEST_F(GamesPageTest, SuccessivePrintsDifferAndMissingFilesKeepTheLastBoard) {
    for (int g = 0; g < 4; ++g) CopyPuzzleFile(g);
    SeedRandom(2024);
    BoardModel model;
    Settings settings;
    settings.timedGame = true;
    std::vector<TextCall> first;
    std::vector<TextCall> second;
    for (auto* texts : {&first, &second}) {
        QImage page(800, 700, QImage::Format_RGB32);
        Canvas canvas(&page);
        canvas.SetTextRecorder(texts);
        Engine engine(model, settings);
        DrawGamesPage(canvas, DealGamesPuzzles(engine), settings.showDigits);
    }
    EXPECT_FALSE(settings.timedGame);
    const auto a = SymbolsPerBoard(first);
    const auto b = SymbolsPerBoard(second);
    ASSERT_EQ(a.size(), 4u);
    ASSERT_EQ(b.size(), 4u);
    for (int g = 0; g < 4; ++g) {
        EXPECT_GE(a[g].size(), 10u) << g;  // a real puzzle, not an empty board
        const bool same = a[g].size() == b[g].size() &&
                          std::equal(a[g].begin(), a[g].end(), b[g].begin(), [](const TextCall& l, const TextCall& r) {
                              return l.x == r.x && l.y == r.y && l.text == r.text;
                          });
        EXPECT_FALSE(same) << g;
    }

    // Without the other files only the Leicht board is printed, and the board keeps it.
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("mittel.brd"))));
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("schwer.brd"))));
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("extrem.brd"))));
    std::vector<TextCall> third;
    {
        QImage page(800, 700, QImage::Format_RGB32);
        Canvas canvas(&page);
        canvas.SetTextRecorder(&third);
        Engine engine(model, settings);
        DrawGamesPage(canvas, DealGamesPuzzles(engine), settings.showDigits);
    }
    const auto c = SymbolsPerBoard(third);
    ASSERT_EQ(c.size(), 1u);
    int givens = 0;
    for (int i = 0; i < 100; ++i) givens += model.givens[static_cast<std::size_t>(i)] != 0;
    EXPECT_EQ(static_cast<std::size_t>(givens), c[0].size());
    EXPECT_EQ(settings.currentFile, "extrem.brd");
}

using PrintJobTest = WorkingDirectory;

TEST_F(PrintJobTest, CancelledOrFailingPrinterEndsTheJobAndLeavesTheBoard) {
    WriteMarkedPuzzleFiles(3);
    BoardModel model;
    model.cell(1, 1) = 4;
    Settings settings;
    settings.currentFile = "brett.brd";
    const BoardModel before = model;

    FixedPrinterSource none(nullptr);
    EXPECT_FALSE(PrintBoard(none, model, settings));
    Engine engine(model, settings);
    EXPECT_FALSE(PrintGames(none, engine).printed);
    EXPECT_EQ(none.calls, 2);

    // A PDF file that cannot be created: the printer fails when the job begins.
    FixedPrinterSource broken(PdfPrinter(Path(QStringLiteral("no/such/dir/out.pdf"))));
    EXPECT_FALSE(PrintGames(broken, engine).printed);
    EXPECT_EQ(model.board, before.board);
    EXPECT_EQ(settings.currentFile, "brett.brd");
}

TEST_F(PrintJobTest, NoDefaultPrinterOffersTheDialogAndCancelPrintsNothing) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer exists; not printing to it";
    bool dialogSeen = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogSeen = true;
            QMetaObject::invokeMethod(modal, "reject");
        }
    });
    closer.start(20);
    SystemPrinterSource system;
    BoardModel model;
    Settings settings;
    EXPECT_FALSE(PrintBoard(system, model, settings));
    EXPECT_TRUE(dialogSeen);
}

// Page count and title as pdfinfo reports them; empty when pdfinfo is missing.
QString PdfInfo(const QString& path) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) return {};
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Renders the PDF's first page at 50 dpi into the test output folder; null when pdftoppm is missing.
QImage RenderPdf(const QString& path, const QString& name) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) return {};
    const QString base = QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/") + name;
    QProcess process;
    process.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"),
                                               QStringLiteral("-singlefile"), path, base});
    process.waitForFinished(60000);
    return QImage(base + QStringLiteral(".png"));
}

TEST_F(PrintJobTest, PdfPrintsHaveOnePageWithTheGridWhereThePageGridPutsIt) {
    QDir().mkpath(QStringLiteral(TESSARO_TEST_OUTPUT_DIR));
    for (int g = 0; g < 4; ++g) CopyPuzzleFile(g);
    BoardModel model;
    Settings settings;
    settings.currentFile = "leicht.brd";
    ASSERT_TRUE(LoadInto(model, settings, 0));
    model.cell(1, 1) = model.cell(1, 1) ? model.cell(1, 1) : 9;
    Engine engine(model, settings);

    for (const bool games : {false, true}) {
        SCOPED_TRACE(games ? "games" : "board");
        const QString pdf = Path(games ? QStringLiteral("games.pdf") : QStringLiteral("board.pdf"));
        auto printer = PdfPrinter(pdf);
        const QRect paint = printer->pageLayout().paintRectPixels(kDpi);
        FixedPrinterSource source(std::move(printer));
        ASSERT_TRUE(games ? PrintGames(source, engine).printed : PrintBoard(source, model, settings));
        ASSERT_TRUE(QFileInfo(pdf).size() > 1000);
        const QString kept = QStringLiteral(TESSARO_TEST_OUTPUT_DIR "/") + QFileInfo(pdf).fileName();
        QFile::remove(kept);
        QFile::copy(pdf, kept);

        const QString info = PdfInfo(pdf);
        if (!info.isEmpty()) {
            EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
            EXPECT_TRUE(info.contains(games ? QStringLiteral("Spiele drucken") : QStringLiteral("Brett drucken")));
        }
        const QImage render = RenderPdf(pdf, games ? QStringLiteral("print_games") : QStringLiteral("print_board"));
        if (render.isNull()) continue;
        // A4 at 50 dpi.
        EXPECT_NEAR(render.width(), 413, 2);
        EXPECT_NEAR(render.height(), 585, 2);
        // The thick left border of the (first) grid, scaled from device pixels to 50 dpi.
        const PageGrid grid = games ? GamesPageGrid(paint.width(), paint.height())
                                    : BoardPageGrid(paint.width(), paint.height());
        const double scale = 50.0 / kDpi;
        const int borderX = std::lround((paint.left() + grid.unitX) * scale);
        const int rowY = std::lround((paint.top() + grid.unitY + 4.5 * grid.cellHeight) * scale);
        int darkest = 255;
        for (int x = borderX - 1; x <= borderX + 1; ++x) darkest = std::min(darkest, qGray(render.pixel(x, rowY)));
        EXPECT_LT(darkest, 100);
        EXPECT_GT(qGray(render.pixel(borderX - 4, rowY)), 200);
    }
}

}  // namespace
}  // namespace tessaro
