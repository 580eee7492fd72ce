#include "DisplayFixture.h"

namespace tessaro::testing {
namespace {

using BoardPanelTest = DisplayFixture;

constexpr int kRed = 9;
constexpr int kBlue = 4;

TEST_F(BoardPanelTest, StartScreenFramesAndFooter) {
    display.DrawStartScreen();
    // Background.
    EXPECT_TRUE(Is(5, 5, 12));
    // Footer: raised width 2, three white lines on top, three dark at the bottom.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Is(400, 652 + i, 15)) << i;
        EXPECT_TRUE(Is(400, 674 - i, 8)) << i;
        EXPECT_TRUE(Is(0 + i, 663, 15)) << i;
    }
    EXPECT_TRUE(Is(400, 655, 12));
    EXPECT_GT(DarkPixels(9, 655, 110, 672), 30);
    EXPECT_EQ(LastTextAt(9, 655), QStringLiteral("Tessaro V5.0"));
    // Board panel: raised frame around, sunken button-bar well.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Is(300, 16 + i, 15)) << i;
        EXPECT_TRUE(Is(20 + i, 300, 15)) << i;
        EXPECT_TRUE(Is(300, 634 - i, 8)) << i;
        EXPECT_TRUE(Is(577 - i, 300, 8)) << i;
    }
    EXPECT_TRUE(Is(300, 19, 12));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(Is(300, 595 + i, 8)) << i;
        EXPECT_TRUE(Is(300, 626 - i, 15)) << i;
    }
    EXPECT_TRUE(Is(300, 610, 12));
    // The well's white edge right and below the grid.
    EXPECT_TRUE(Is(569, 300, 15));
    EXPECT_TRUE(Is(300, 585, 15));
    EXPECT_TRUE(Is(570, 300, 12));
    // Heading of the board.
    EXPECT_EQ(LastTextAt(228, 22), QStringLiteral("SPIELBRETT:"));
    EXPECT_GT(DarkPixels(228, 22, 360, 44), 30);
}

TEST_F(BoardPanelTest, GridHasThinCellLinesAndBlueBoxLines) {
    display.DrawBoardPanel();
    // Between columns 4 and 5 (row 2): both cells' outlines, white inside.
    EXPECT_TRUE(Is(267, 135, 15));
    EXPECT_TRUE(Is(268, 135, 0));
    EXPECT_TRUE(Is(269, 135, 0));
    EXPECT_TRUE(Is(270, 135, 15));
    EXPECT_TRUE(Is(300, 104, 0));
    EXPECT_TRUE(Is(300, 105, 0));
    // Every one of the 81 cells: white interior framed by dark lines at its 60-pixel square.
    int thinSquares = 0;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) {
            const int x = 29 + 60 * (c - 1);
            const int y = 45 + 60 * (r - 1);
            const bool white = Is(x + 30, y + 30, 15) && Is(x + 3, y + 3, 15) && Is(x + 56, y + 56, 15);
            const bool framed = qGray(Image().pixel(x, y + 30)) < 160 && qGray(Image().pixel(x + 59, y + 30)) < 160 &&
                                qGray(Image().pixel(x + 30, y)) < 160 && qGray(Image().pixel(x + 30, y + 59)) < 160;
            if (white && framed) ++thinSquares;
        }
    EXPECT_EQ(thinSquares, 81);
    // Blue box lines are three pixels wide between boxes: 207..209 and 223..225.
    EXPECT_TRUE(Is(206, 135, 15));
    for (int x : {207, 208, 209}) EXPECT_TRUE(Is(x, 135, kBlue)) << x;
    EXPECT_TRUE(Is(210, 135, 15));
    for (int y : {223, 224, 225}) EXPECT_TRUE(Is(300, y, kBlue)) << y;
    int blueSquares = 0;
    for (int br = 1; br <= 3; ++br)
        for (int bc = 1; bc <= 3; ++bc) {
            const int x = 29 + 180 * (bc - 1);
            const int y = 45 + 180 * (br - 1);
            if (Is(x - 1, y + 90, kBlue) && Is(x, y + 90, kBlue) && Is(x + 178, y + 90, kBlue) &&
                Is(x + 179, y + 90, kBlue) && Is(x + 90, y - 1, kBlue) && Is(x + 90, y, kBlue) &&
                Is(x + 90, y + 178, kBlue) && Is(x + 90, y + 179, kBlue))
                ++blueSquares;
        }
    EXPECT_EQ(blueSquares, 9);
}

TEST_F(BoardPanelTest, SeventeenRedDiagonalCells) {
    display.DrawBoardPanel();
    int red = 0;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) {
            const int x = 29 + 60 * (c - 1);
            const int y = 45 + 60 * (r - 1);
            const bool outlined = Is(x, y + 30, kRed) && Is(x + 59, y + 30, kRed) && Is(x + 30, y, kRed) &&
                                  Is(x + 30, y + 59, kRed);
            if (outlined) {
                ++red;
                EXPECT_TRUE(c == r || c + r == 10) << c << "," << r;
            }
        }
    EXPECT_EQ(red, 17);
    // Red lies over the blue and the thin lines where they meet.
    EXPECT_TRUE(Is(28, 75, kRed));
    EXPECT_TRUE(Is(208, 195, kRed));
}

TEST_F(BoardPanelTest, GivenAndPlayerCellsFillInsideTheLines) {
    display.DrawBoardPanel();
    display.DrawGivenCell(2, 1, 5);
    display.DrawGivenCell(3, 3, 0);
    display.DrawPlayerCell(4, 5, 7);
    EXPECT_EQ(model.given(2, 1), 0) << "drawing never writes the model";
    // Cell (2, 1): grey 90..147 x 46..103, dark digit inside.
    EXPECT_EQ(Pixel(90, 46), QColor(192, 192, 192));
    EXPECT_EQ(Pixel(147, 103), QColor(192, 192, 192));
    EXPECT_TRUE(Is(148, 75, 0));
    EXPECT_TRUE(Is(89, 75, 0));
    EXPECT_TRUE(Is(120, 104, kRed));  // top of the diagonal cell (2, 2)
    EXPECT_GT(DarkPixels(90, 46, 148, 104), 100);
    // Cell (3, 3) is narrower and lower: the thick line keeps its three pixels.
    EXPECT_EQ(Pixel(206, 222), QColor(192, 192, 192));
    EXPECT_TRUE(Is(207, 200, kRed));  // diagonal cell: its outline is drawn again over the fill
    EXPECT_TRUE(Is(180, 223, kRed));
    EXPECT_EQ(DarkPixels(152, 168, 204, 220), 0);  // value 0: empty
    // Player cell: white with its symbol; the cell beside a box line is not narrowed on the left.
    EXPECT_TRUE(Is(210, 286, 15));
    EXPECT_GT(DarkPixels(210, 286, 268, 344), 100);
    EXPECT_TRUE(Is(209, 310, kBlue));
    // Symbols sit at the cell's left + 10 (digits), one pixel below its top.
    EXPECT_EQ(LastTextAt(100, 47), QStringLiteral("5"));
    EXPECT_EQ(LastTextAt(220, 287), QStringLiteral("7"));
    EXPECT_EQ(TextsAt(100, 47).front().fontCode, 40);
}

TEST_F(BoardPanelTest, LetterSymbolsAndTheNarrowI) {
    settings.showDigits = false;
    display.DrawBoardPanel();
    display.DrawGivenCell(1, 2, 3);
    display.DrawPlayerCell(1, 3, 9);
    EXPECT_EQ(LastTextAt(35, 107), QStringLiteral("C"));
    EXPECT_EQ(LastTextAt(49, 167), QStringLiteral("I"));
}

TEST_F(BoardPanelTest, RedrawBoardPaintsGivensOverBoardValues) {
    display.DrawBoardPanel();
    model.given(5, 5) = 4;
    model.cell(5, 5) = 6;
    model.cell(1, 1) = 2;
    texts.clear();
    display.RedrawBoard();
    EXPECT_EQ(LastTextAt(280, 287), QStringLiteral("4"));
    EXPECT_EQ(Pixel(280, 336), QColor(192, 192, 192));
    EXPECT_EQ(LastTextAt(40, 47), QStringLiteral("2"));
    EXPECT_TRUE(Is(31, 100, 15));
    // Red outlines of the diagonal cells survive the fills.
    EXPECT_TRUE(Is(87, 75, kRed));
    EXPECT_TRUE(Is(58, 103, kRed));
    EXPECT_TRUE(Is(327, 315, kRed));
}

TEST_F(BoardPanelTest, SolverPlacementsArePaintedThroughTheObserver) {
    display.DrawBoardPanel();
    Grid solution = Solution();
    model.board = solution;
    model.cell(4, 7) = 0;
    engine.ModelReplaced();
    texts.clear();
    engine.SolveBoard();
    EXPECT_EQ(model.cell(4, 7), solution[At(4, 7)]);
    EXPECT_EQ(LastTextAt(29 + 180 + 1 + 10, 45 + 360 + 1 + 1), QString::number(solution[At(4, 7)]));
}

TEST_F(BoardPanelTest, CandidateMarksAtTheirNinePlaces) {
    display.DrawBoardPanel();
    model.mark(1, 1, 1) = true;
    model.mark(1, 1, 9) = true;
    model.mark(2, 3, 7) = true;
    model.mark(2, 3, 5) = true;
    model.cell(3, 3) = 4;
    model.mark(3, 3, 2) = true;  // a filled cell shows no marks
    texts.clear();
    display.DrawCandidates();
    EXPECT_EQ(LastTextAt(34, 46), QStringLiteral("1"));
    EXPECT_EQ(LastTextAt(72, 84), QStringLiteral("9"));
    // Bottom third of a cell above a box line sits one pixel higher.
    EXPECT_EQ(LastTextAt(94, 203), QStringLiteral("7"));
    EXPECT_EQ(LastTextAt(113, 185), QStringLiteral("5"));
    EXPECT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts.front().fontCode, 18);
    EXPECT_GT(DarkPixels(34, 46, 49, 62), 10);
    // Clearing a mark erases it.
    model.mark(1, 1, 1) = false;
    display.DrawCandidates();
    EXPECT_EQ(DarkPixels(34, 46, 49, 62), 0);
    EXPECT_TRUE(Is(87, 75, kRed));
}

// Every mark drawn and then taken away leaves the cell exactly as it was, lines included.
TEST_F(BoardPanelTest, RemovedMarksLeaveNoStrokeBehind) {
    for (const qreal ratio : {1.0, 2.0}) {
        for (const bool digits : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "ratio " << ratio << (digits ? " digits" : " letters"));
            area.AllocateImage(ratio);
            settings.showDigits = digits;
            display.DrawBoardPanel();
            const QImage empty = Image().copy();
            for (int x = 1; x <= 9; ++x)
                for (int y = 1; y <= 9; ++y)
                    for (int d = 1; d <= 9; ++d) model.mark(x, y, d) = true;
            display.DrawCandidates();
            ASSERT_NE(Image(), empty);
            model.clearCandidates();
            display.DrawCandidates();
            EXPECT_TRUE(Image() == empty) << "a removed mark left pixels behind";
        }
    }
}

TEST_F(BoardPanelTest, CandidateLettersShiftTheI) {
    settings.showDigits = false;
    display.DrawBoardPanel();
    model.mark(5, 5, 9) = true;
    model.mark(5, 5, 1) = true;
    texts.clear();
    display.DrawCandidates();
    EXPECT_EQ(LastTextAt(29 + 240 + 5 + 38 + 4, 45 + 240 + 1 + 38), QStringLiteral("I"));
    EXPECT_EQ(LastTextAt(29 + 240 + 5, 45 + 240 + 1), QStringLiteral("A"));
}

TEST_F(BoardPanelTest, ShownCandidatesAreComputedOnRedraw) {
    display.DrawBoardPanel();
    model.cell(1, 1) = 5;
    engine.ModelReplaced();
    settings.showCandidates = true;
    texts.clear();
    display.RedrawBoard();
    // Cell (2, 1) may not hold 5 (row and box), cell (9, 9) not either (diagonal).
    EXPECT_TRUE(LastTextAt(89 + 5 + 19, 45 + 1 + 19).isEmpty());
    EXPECT_EQ(LastTextAt(89 + 5, 45 + 1), QStringLiteral("1"));
    EXPECT_TRUE(LastTextAt(509 + 5 + 19, 526 + 19).isEmpty());
    EXPECT_EQ(LastTextAt(509 + 5, 526), QStringLiteral("1"));
}

}  // namespace
}  // namespace tessaro::testing

namespace tessaro::testing {
namespace {

TEST_F(BoardPanelTest, WholeBoardRedrawLooksLikeCellByCellPainting) {
    display.DrawStartScreen();
    const Grid solution = Solution();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            if ((x + y) % 3 == 0) model.given(x, y) = model.cell(x, y) = solution[At(x, y)];
            else if ((x * y) % 4 == 1) model.cell(x, y) = solution[At(x, y)];
        }
    display.RedrawBoard();
    const QImage whole = Image().copy();
    display.DrawStartScreen();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            if (model.given(x, y)) display.DrawGivenCell(x, y, model.given(x, y));
            else display.DrawPlayerCell(x, y, model.cell(x, y));
        }
    display.UpdateDigitCounts();
    display.DrawCandidates();
    // The board, the statistics and the status (the givens count differs: set after the first start screen).
    int differing = 0;
    for (int y = 0; y < kClientHeight; ++y)
        for (int x = 0; x < kClientWidth; ++x)
            if ((x < 600 || y < 380) && Image().pixel(x, y) != whole.pixel(x, y) && differing++ < 5)
                ADD_FAILURE() << x << "," << y << " " << std::hex << Image().pixel(x, y) << " " << whole.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace tessaro::testing

namespace tessaro::testing {
namespace {

// Bounding box of the dark pixels inside a region.
QRect DarkBox(const QImage& image, const QRect& region) {
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(BoardPanelTest, LargeSymbolsLandAtDoubledPlacesOnPixelRatioTwo) {
    display.DrawBoardPanel();
    display.DrawGivenCell(4, 2, 8);
    display.DrawPlayerCell(6, 2, 3);
    const QRect cell4(211, 107, 55, 55);
    const QRect cell6(331, 107, 55, 55);
    const QRect single4 = DarkBox(Image(), cell4);
    const QRect single6 = DarkBox(Image(), cell6);
    ASSERT_FALSE(single4.isEmpty());
    area.AllocateImage(2.0);
    display.DrawBoardPanel();
    display.DrawGivenCell(4, 2, 8);
    display.DrawPlayerCell(6, 2, 3);
    display.DrawGivenCell(4, 2, 8);  // drawn again from the kept rendering
    for (const auto& [single, cell] : {std::pair{single4, cell4}, std::pair{single6, cell6}}) {
        const QRect doubled = DarkBox(Image(), QRect(cell.topLeft() * 2, cell.size() * 2));
        EXPECT_NEAR(doubled.left(), 2 * single.left(), 2);
        EXPECT_NEAR(doubled.top(), 2 * single.top(), 2);
        EXPECT_NEAR(doubled.right(), 2 * single.right() + 1, 2);
        EXPECT_NEAR(doubled.bottom(), 2 * single.bottom() + 1, 2);
    }
    EXPECT_EQ(Image().pixelColor(2 * 215, 2 * 160), QColor(192, 192, 192));
}

}  // namespace
}  // namespace tessaro::testing
