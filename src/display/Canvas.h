#pragma once

#include <QColor>
#include <QImage>
#include <QFont>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;
class QPaintDevice;

namespace tessaro {

// Size of the main window's client area in logical pixels.
inline constexpr int kClientWidth = 862;
inline constexpr int kClientHeight = 694;

// The entries of the 16-colour table.
enum PaletteIndex : int {
    kColourBlack = 0,
    kColourDarkRed = 1,
    kColourDarkGreen = 2,
    kColourYellow = 3,
    kColourBlue = 4,
    kColourPurple = 5,
    kColourDarkCyan = 6,
    kColourLightGrey = 7,
    kColourDarkGrey = 8,
    kColourRed = 9,
    kColourGreen = 10,
    kColourSand = 11,
    kColourSteel = 12,  // the window background
    kColourMagenta = 13,
    kColourCyan = 14,
    kColourWhite = 15,
};
// Colour of the 16-entry colour table (index 0..15; out-of-range indices give black).
QColor PaletteColour(int index);

// Font codes for SelectFont: created "Arial" fonts by their height, and the stock fonts.
enum FontCode : int {
    kFontSmall = 4,       // Arial 12 x 6
    kFontPicker = 6,      // Arial 30 x 16, the picker's symbols
    kFontOem = 8,         // fixed-pitch stock font, the panels' values
    kFontAnsiFixed = 14,  // fixed-pitch stock font, the buttons
    kFontSystem = 16,     // the stock UI font, headings
    kFontMarks = 18,      // Arial 21 x 10, candidate marks
    kFontStatus = 20,     // Arial 26 x 14, status and difficulty
    kFontCell = 40,       // Arial 58 x 32, the cells' symbols
};

// Raster operations, by their classic ROP2 codes.
inline constexpr int kRopXorPen = 7;
inline constexpr int kRopCopyPen = 13;
inline constexpr int kRopMergePen = 15;
// Fill styles.
inline constexpr int kFillHollow = 0;
inline constexpr int kFillPattern = 7;
inline constexpr int kFillSolid = 8;
// Background modes.
inline constexpr int kTransparent = 1;
inline constexpr int kOpaque = 2;

// One Text call as the canvas received it, for tests that check what was written where.
struct TextCall {
    int x = 0;
    int y = 0;
    int fontCode = 0;
    QString text;
};

// Every drawing of the main window and the printer goes through a Canvas: it holds one QPainter
// on the target device, the colour table, the drawing state and the fonts behind the font codes.
//
// Pixel conventions (classic GDI, which the layout's coordinates assume):
// - Line(x1, y1, x2, y2) leaves out its end pixel.
// - Box / FilledBox (x1, y1)-(x2, y2) cover columns x1..x2-1 and rows y1..y2-1.
// - A pen of width w covers, across a line at pixel p, the pixels p - w/2 .. p - w/2 + w - 1
//   (width 2: p-1 and p), on every edge alike; so a width-2 box outline reaches one pixel
//   outside its left and top edge and one pixel inside its right and bottom edge.
// - Text(x, y) puts the top left of the text cell at (x, y); the baseline is y + ascent.
// - Raster operations apply to lines and boxes, never to text.
class Canvas {
public:
    Canvas();
    // Opens a painter on the device at once.
    explicit Canvas(QPaintDevice* device);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Directs drawing to the device (ends drawing on the previous one). The drawing state is kept.
    void Begin(QPaintDevice* device);
    void End();
    bool IsActive() const;
    QPaintDevice* Device() const { return device_; }
    // The painter, for callers that need something the primitives do not offer.
    QPainter* Painter() const { return painter_.get(); }

    // Drawing state.
    void SetForeColour(int index);
    void SetFillColour(int index);
    void SetLineWidth(int width);
    // Only 0 (solid) is used; other styles draw solid as well.
    void SetLineStyle(int style) { lineStyle_ = style; }
    void SetFillStyle(int style) { fillStyle_ = style; }
    void SetRasterOp(int rop) { rasterOp_ = rop; }
    void SetBackgroundMode(int mode) { backgroundMode_ = mode; }
    int ForeColour() const { return foreIndex_; }
    int FillColour() const { return fillIndex_; }
    int LineWidth() const { return lineWidth_; }
    int LineStyle() const { return lineStyle_; }
    int FillStyle() const { return fillStyle_; }
    int RasterOp() const { return rasterOp_; }
    int BackgroundMode() const { return backgroundMode_; }
    // The drawing state as a whole, for drawing in between that must leave it as it was.
    struct DrawingState {
        int fore, fill, lineWidth, lineStyle, fillStyle, rasterOp, backgroundMode, fontCode;
    };
    DrawingState State() const {
        return {foreIndex_, fillIndex_, lineWidth_, lineStyle_, fillStyle_, rasterOp_, backgroundMode_, fontCode_};
    }
    void SetState(const DrawingState& state);

    // Fonts. SelectFont builds each code's font once and keeps it.
    void SelectFont(int fontCode);
    int FontCode() const { return fontCode_; }
    // A font not behind a code (the printer's point-size fonts); its code reads as -1.
    void SetFont(const QFont& font);
    const QFont& Font() const { return current_.font; }
    int FontAscent() const { return current_.ascent; }
    int FontHeight() const { return current_.height; }
    int TextWidth(const QString& text) const;
    // The logical pixels that Text(0, 0, text) colours in the current font at the device's pixel
    // ratio (empty for no ink). An erase over it leaves no stroke of the text behind.
    QRect InkRect(const QString& text);
    // Set by SelectFont(8) when the stock fonts are too large; never cleared.
    bool LargeFontMode() const { return largeFontMode_; }
    // Makes the stock fonts report a height above 16 pixels, as on a large-font system.
    void SimulateLargeStockFonts(bool on);

    // Elementary operations.
    void Line(int x1, int y1, int x2, int y2);
    void Box(int x1, int y1, int x2, int y2);
    // Interior in the fill colour (fill style), outline in the foreground colour.
    void FilledBox(int x1, int y1, int x2, int y2);
    void Text(int x, int y, const QString& text);

    // Smooth glyph edges (on by default). Texts drawn again and again over themselves without a
    // fill below them turn it off, so that drawing them twice looks like drawing them once.
    void SetTextAntialiasing(bool on);
    bool TextAntialiasing() const { return textAntialiasing_; }

    // Every Text call is appended to the list while one is set.
    void SetTextRecorder(std::vector<TextCall>* recorder) { recorder_ = recorder; }
    // Called on the first drawing after ClearDamage (the screen schedules a repaint there).
    void SetDamageCallback(std::function<void()> callback) { damageCallback_ = std::move(callback); }
    void ClearDamage() { damaged_ = false; }

private:
    struct FontEntry {
        QFont font;
        QFont hardFont;  // the same without smoothing
        int ascent = 0;
        int height = 0;
    };
    static FontEntry MakeFontEntry(const QFont& base);
    FontEntry BuildFont(int fontCode);
    FontEntry CreatedFont(int height, int width, int weight);
    FontEntry StockFont(bool fixedPitch, bool bold, int heightLimit);
    int StockHeight(const FontEntry& entry) const;
    void FillRect(int x, int y, int w, int h, const QColor& colour);
    void Damage();
    const QImage& LargeText(const QString& text, qreal ratio);
    void ApplyRasterOp();
    void ResetComposition();

    QPaintDevice* device_ = nullptr;
    std::unique_ptr<QPainter> painter_;
    bool rasterDevice_ = false;

    int foreIndex_ = 0;
    int fillIndex_ = 15;
    QColor fore_;
    QColor fill_;
    int lineWidth_ = 1;
    int lineStyle_ = 0;
    int fillStyle_ = kFillHollow;
    int rasterOp_ = kRopCopyPen;
    int backgroundMode_ = kOpaque;

    int fontCode_ = 0;
    FontEntry current_;
    std::array<std::optional<FontEntry>, 64> fonts_{};
    bool largeFontMode_ = false;
    bool simulateLarge_ = false;

    std::vector<TextCall>* recorder_ = nullptr;
    std::function<void()> damageCallback_;
    bool damaged_ = false;
    bool textAntialiasing_ = true;
    bool fontApplied_ = false;
    std::unordered_map<QString, QImage> largeTexts_;
    std::unordered_map<QString, QRect> inkRects_;
};

}  // namespace tessaro
