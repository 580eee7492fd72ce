#include <gtest/gtest.h>

#include <QImage>

#include <functional>

#include "display/Canvas.h"
#include "display/Primitives.h"

namespace tessaro {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

QImage Blank(int w = 120, int h = 80, const QColor& fill = Qt::white) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// The image after `draw` ran on a canvas over it (the canvas finishes painting when it goes).
QImage Painted(QImage image, const std::function<void(Canvas&)>& draw) {
    {
        Canvas canvas(&image);
        draw(canvas);
    }
    return image;
}

bool Is(const QImage& image, int x, int y, int colourIndex) {
    return image.pixelColor(x, y).rgb() == PaletteColour(colourIndex).rgb();
}

int DarkPixels(const QImage& image, int x1, int y1, int x2, int y2) {
    int count = 0;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (qGray(image.pixel(x, y)) < 128) ++count;
    return count;
}

TEST(CanvasTest, PaletteFollowsTheBgrTable) {
    EXPECT_EQ(PaletteColour(4), QColor(0, 0, 188));
    EXPECT_EQ(PaletteColour(1), QColor(128, 0, 0));
    EXPECT_EQ(PaletteColour(3), QColor(255, 255, 0));
    EXPECT_EQ(PaletteColour(9), QColor(255, 0, 0));
    EXPECT_EQ(PaletteColour(11), QColor(233, 221, 211));
    EXPECT_EQ(PaletteColour(12), QColor(180, 201, 208));
    EXPECT_EQ(PaletteColour(14), QColor(0, 255, 255));
    EXPECT_EQ(PaletteColour(15), QColor(255, 255, 255));
}

TEST(CanvasTest, LinesLeaveOutTheirEndPixel) {
    const QImage image = Painted(Blank(), [](Canvas& canvas) {
        canvas.SetForeColour(0);
        canvas.Line(10, 5, 20, 5);   // 10..19
        canvas.Line(30, 20, 30, 10); // 30, rows 20..11
        canvas.Line(50, 5, 50, 5);   // nothing
    });
    EXPECT_TRUE(Is(image, 10, 5, 0));
    EXPECT_TRUE(Is(image, 19, 5, 0));
    EXPECT_EQ(image.pixel(20, 5), kWhite);
    EXPECT_EQ(image.pixel(9, 5), kWhite);
    EXPECT_TRUE(Is(image, 30, 20, 0));
    EXPECT_TRUE(Is(image, 30, 11, 0));
    EXPECT_EQ(image.pixel(30, 10), kWhite);
    EXPECT_EQ(image.pixel(50, 5), kWhite);
}

TEST(CanvasTest, BoxesCoverUpToOneLessThanTheirCorner) {
    const QImage image = Painted(Blank(), [](Canvas& canvas) {
        canvas.SetForeColour(0);
        canvas.SetFillColour(7);
        canvas.SetFillStyle(kFillSolid);
        canvas.FilledBox(10, 10, 20, 30);
        canvas.SetFillStyle(kFillHollow);
        canvas.Box(40, 10, 50, 20);
    });
    EXPECT_TRUE(Is(image, 10, 10, 0));
    EXPECT_TRUE(Is(image, 19, 29, 0));
    EXPECT_TRUE(Is(image, 15, 20, 7));
    EXPECT_EQ(image.pixel(20, 15), kWhite);
    EXPECT_EQ(image.pixel(15, 30), kWhite);
    // Hollow box: outline only.
    EXPECT_TRUE(Is(image, 49, 15, 0));
    EXPECT_EQ(image.pixel(45, 15), kWhite);
    EXPECT_EQ(image.pixel(50, 15), kWhite);
}

TEST(CanvasTest, WidePenStraddlesTheEdgeOnePixelOutward) {
    const QImage image = Painted(Blank(), [](Canvas& canvas) {
        canvas.SetForeColour(4);
        canvas.SetLineWidth(2);
        canvas.Box(20, 20, 40, 40);
    });
    // Left and top: the edge pixel and the one before it; right and bottom: the last covered
    // pixel and the one before it.
    for (int x : {19, 20}) EXPECT_TRUE(Is(image, x, 30, 4)) << x;
    for (int x : {38, 39}) EXPECT_TRUE(Is(image, x, 30, 4)) << x;
    for (int y : {19, 20, 38, 39}) EXPECT_TRUE(Is(image, 30, y, 4)) << y;
    for (int x : {18, 21, 37, 40}) EXPECT_EQ(image.pixel(x, 30), kWhite) << x;
    EXPECT_TRUE(Is(image, 19, 19, 4));
    EXPECT_TRUE(Is(image, 39, 39, 4));
}

TEST(CanvasTest, FramesDrawOneLineMoreRaisedThanSunken) {
    const QImage image = Painted(Blank(120, 80, PaletteColour(12)), [](Canvas& canvas) {
        DrawFrame(canvas, 0, 2, 10, 10, 50, 40);
        DrawFrame(canvas, 1, 2, 60, 10, 100, 40);
    });
    // Raised: three white lines top and left, three dark grey bottom and right.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Is(image, 30, 10 + i, 15)) << i;
        EXPECT_TRUE(Is(image, 10 + i, 25, 15)) << i;
        EXPECT_TRUE(Is(image, 30, 40 - i, 8)) << i;
        EXPECT_TRUE(Is(image, 50 - i, 25, 8)) << i;
    }
    EXPECT_TRUE(Is(image, 30, 13, 12));
    EXPECT_TRUE(Is(image, 47, 25, 12));
    // The bottom edge reaches x2 itself, the top edge stops before it.
    EXPECT_TRUE(Is(image, 50, 40, 8));
    // Sunken: two dark lines top and left, two white bottom and right.
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(Is(image, 80, 10 + i, 8)) << i;
        EXPECT_TRUE(Is(image, 60 + i, 25, 8)) << i;
        EXPECT_TRUE(Is(image, 80, 40 - i, 15)) << i;
        EXPECT_TRUE(Is(image, 100 - i, 25, 15)) << i;
    }
    EXPECT_TRUE(Is(image, 80, 12, 12));
    EXPECT_TRUE(Is(image, 98, 25, 12));
}

TEST(CanvasTest, OpaqueTextFillsItsCellTransparentDoesNot) {
    QImage image = Blank(200, 60);
    image.fill(PaletteColour(12));
    int height = 0;
    int width = 0;
    {
        Canvas canvas(&image);
        canvas.SelectFont(8);
        canvas.SetForeColour(0);
        canvas.SetFillColour(15);
        canvas.SetBackgroundMode(kOpaque);
        canvas.Text(10, 10, QStringLiteral("Anzahl"));
        height = canvas.FontHeight();
        width = canvas.TextWidth(QStringLiteral("Anzahl"));
        canvas.SetBackgroundMode(kTransparent);
        canvas.Text(100, 10, QStringLiteral("Anzahl"));
    }
    EXPECT_EQ(width, 48);  // fixed-pitch cells of 8 pixels
    EXPECT_LE(height, 16);
    EXPECT_TRUE(Is(image, 10, 10, 15));
    EXPECT_TRUE(Is(image, 10 + width - 1, 10 + height - 1, 15));
    EXPECT_TRUE(Is(image, 10 + width, 10, 12));
    EXPECT_TRUE(Is(image, 10, 10 + height, 12));
    EXPECT_GT(DarkPixels(image, 10, 10, 10 + width, 10 + height), 20);
    EXPECT_GT(DarkPixels(image, 100, 10, 100 + width, 10 + height), 20);
    EXPECT_TRUE(Is(image, 100, 10, 12));
}

TEST(CanvasTest, CreatedFontsMatchHeightAndAverageWidth) {
    QImage image = Blank();
    Canvas canvas(&image);
    struct Expect {
        int code, height;
    };
    for (const Expect e : {Expect{4, 12}, Expect{6, 30}, Expect{18, 21}, Expect{20, 26}, Expect{40, 58}}) {
        canvas.SelectFont(e.code);
        EXPECT_NEAR(canvas.FontHeight(), e.height, 1) << e.code;
        EXPECT_EQ(canvas.FontCode(), e.code);
    }
    // The digit of the 58-pixel font is stretched to about 40 pixels.
    canvas.SelectFont(40);
    EXPECT_NEAR(canvas.TextWidth(QStringLiteral("5")), 40, 3);
    canvas.SelectFont(18);
    EXPECT_EQ(canvas.Font().weight(), QFont::Normal);
    canvas.SelectFont(20);
    EXPECT_EQ(canvas.Font().weight(), QFont::ExtraLight);
    // Stock fonts stay within 16 pixels, so large-font mode stays off.
    for (int code : {8, 14, 16, 99}) {
        canvas.SelectFont(code);
        EXPECT_LE(canvas.FontHeight(), 16) << code;
    }
    EXPECT_FALSE(canvas.LargeFontMode());
}

TEST(CanvasTest, LargeStockFontsSwitchToReplacements) {
    QImage image = Blank();
    Canvas canvas(&image);
    canvas.SimulateLargeStockFonts(true);
    canvas.SelectFont(14);
    EXPECT_FALSE(canvas.LargeFontMode());  // only code 8 switches the mode
    canvas.SelectFont(8);
    EXPECT_TRUE(canvas.LargeFontMode());
    EXPECT_NEAR(canvas.FontHeight(), 15, 1);
    EXPECT_EQ(canvas.Font().family(), QStringLiteral("Arial"));
    canvas.SimulateLargeStockFonts(false);
    EXPECT_TRUE(canvas.LargeFontMode());  // never cleared
}

TEST(CanvasTest, RecorderSeesEveryTextWithItsFont) {
    QImage image = Blank(300, 60);
    std::vector<TextCall> calls;
    Canvas canvas(&image);
    canvas.SetTextRecorder(&calls);
    DrawEmbossedText(canvas, 16, 4, 50, 30, QStringLiteral("STATISTIK:"));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].x, 50);
    EXPECT_EQ(calls[0].y, 16);
    EXPECT_EQ(calls[1].x, 49);
    EXPECT_EQ(calls[1].y, 15);
    EXPECT_EQ(calls[1].fontCode, 16);
    EXPECT_EQ(calls[1].text, QStringLiteral("STATISTIK:"));
    // The state afterwards: copy, opaque, black on grey, font 8.
    EXPECT_EQ(canvas.RasterOp(), kRopCopyPen);
    EXPECT_EQ(canvas.BackgroundMode(), kOpaque);
    EXPECT_EQ(canvas.FillColour(), 7);
    EXPECT_EQ(canvas.FontCode(), 8);
}

TEST(CanvasTest, EmbossedTextHasWhiteShadowLowerRight) {
    const QImage image = Painted(Blank(200, 60, PaletteColour(12)), [](Canvas& canvas) {
        DrawEmbossedText(canvas, 18, 4, 20, 40, QStringLiteral("I"));
    });
    // The white and the blue copy both appear; the white one reaches one pixel further down.
    int white = 0;
    int blue = 0;
    int lowestWhite = 0;
    int lowestBlue = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            if (image.pixel(x, y) == kWhite) {
                ++white;
                lowestWhite = y;
            }
            if (image.pixelColor(x, y) == PaletteColour(4)) {
                ++blue;
                lowestBlue = y;
            }
        }
    EXPECT_GT(white, 0);
    EXPECT_GT(blue, 10);
    EXPECT_EQ(lowestWhite, lowestBlue + 1);
}

TEST(CanvasTest, TextButtonGeometry) {
    QImage image = Blank(300, 80);
    image.fill(PaletteColour(12));
    std::vector<TextCall> calls;
    {
        Canvas canvas(&image);
        canvas.SetTextRecorder(&calls);
        DrawTextButton(canvas, 0, 30, 20, QStringLiteral(" _Laden "));
        EXPECT_EQ(TextButtonWidth(QStringLiteral(" _Laden ")), 76);
        // Caption, then the letter in dark red over the blank left by the mnemonic.
        ASSERT_EQ(calls.size(), 4u);
        EXPECT_EQ(calls[0].text, QStringLiteral("  aden "));
        EXPECT_EQ(calls[0].x, 40);
        EXPECT_EQ(calls[0].y, 26);
        EXPECT_EQ(calls[3].text, QStringLiteral("L"));
        EXPECT_EQ(calls[3].x, 47);  // tx + 8, one pixel up-left for the top layer
        calls.clear();
        DrawTextButton(canvas, 1, 150, 20, QStringLiteral(" OK "));
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].x, 156);
        calls.clear();
        DrawTextButton(canvas, 0, 30, 50, QStringLiteral("_Xy"));
        ASSERT_EQ(calls.size(), 4u);
        EXPECT_EQ(calls[0].x, 40);
        EXPECT_EQ(calls[2].x, 39);  // first-letter mnemonic sits one pixel further left
        // In large-font mode the caption moves 11 pixels, the letter does not.
        canvas.SimulateLargeStockFonts(true);
        canvas.SelectFont(8);
        calls.clear();
        DrawTextButton(canvas, 0, 30, 20, QStringLiteral(" _Laden "));
        EXPECT_EQ(calls[0].x, 51);
        EXPECT_EQ(calls[2].x, 48);
    }
    // Frame: x 30..106 (width 76), outline box from x 29.
    EXPECT_TRUE(Is(image, 29, 30, 0));
    EXPECT_TRUE(Is(image, 30, 19, 0));
    EXPECT_TRUE(Is(image, 30, 20, 15));
    EXPECT_TRUE(Is(image, 31, 30, 15));
    EXPECT_TRUE(Is(image, 106, 30, 8));
    EXPECT_TRUE(Is(image, 104, 30, 8));
    EXPECT_TRUE(Is(image, 105, 30, 0));
    EXPECT_TRUE(Is(image, 107, 30, 12));
    // A dark red letter stands at its place.
    bool red = false;
    for (int y = 25; y < 45; ++y)
        for (int x = 46; x < 56; ++x)
            if (const QColor c = image.pixelColor(x, y); c.red() > 90 && c.green() < 50 && c.blue() < 50) red = true;
    EXPECT_TRUE(red);
}

TEST(CanvasTest, RedrawnButtonsAndHeadingsDoNotGrowBolder) {
    const auto drawn = [](int times) {
        return Painted(Blank(300, 80, PaletteColour(12)), [times](Canvas& canvas) {
            for (int i = 0; i < times; ++i) {
                DrawTextButton(canvas, 0, 30, 20, QStringLiteral(" _Abbruch "));
                DrawEmbossedText(canvas, 16, 0, 150, 40, QStringLiteral("STATISTIK:"));
            }
            EXPECT_TRUE(canvas.TextAntialiasing());
        });
    };
    const QImage once = drawn(1);
    const QImage thrice = drawn(3);
    EXPECT_EQ(once, thrice);
}

TEST(CanvasTest, DevicePixelRatioTwoDoublesEveryCoordinate) {
    QImage blank = Blank(kClientWidth * 2, kClientHeight * 2);
    blank.setDevicePixelRatio(2.0);
    const QImage image = Painted(blank, [](Canvas& canvas) {
        canvas.SetForeColour(0);
        canvas.Line(100, 50, 200, 50);
    });
    EXPECT_EQ(image.width(), 1724);
    EXPECT_EQ(image.height(), 1388);
    for (int y : {100, 101}) {
        EXPECT_NE(image.pixel(200, y), kWhite);
        EXPECT_NE(image.pixel(399, y), kWhite);
        EXPECT_EQ(image.pixel(400, y), kWhite);
    }
    EXPECT_EQ(image.pixel(300, 99), kWhite);
    EXPECT_EQ(image.pixel(300, 102), kWhite);
}

}  // namespace
}  // namespace tessaro
