#include "display/Primitives.h"

#include "display/Canvas.h"

namespace tessaro {

void DrawFrame(Canvas& canvas, int sunken, int width, int x1, int y1, int x2, int y2) {
    canvas.SetFillStyle(kFillHollow);
    canvas.SetLineStyle(0);
    canvas.SetLineWidth(1);
    canvas.SetRasterOp(kRopCopyPen);
    canvas.SetForeColour(sunken ? kColourDarkGrey : kColourWhite);
    for (int i = 0; i <= width - sunken; ++i) {
        canvas.Line(x1 + i, y1 + i, x2, y1 + i);
        canvas.Line(x1 + i, y1 + i, x1 + i, y2);
    }
    canvas.SetForeColour(sunken ? kColourWhite : kColourDarkGrey);
    for (int i = 0; i <= width - sunken; ++i) {
        canvas.Line(x1 + i, y2 - i, x2 + 1, y2 - i);
        canvas.Line(x2 - i, y1 + i, x2 - i, y2);
    }
    canvas.SetForeColour(kColourBlack);
}

namespace {

// The white lower layer shared by embossed text and the mnemonic letter.
void WhiteLayer(Canvas& canvas, int x, int y, const QString& text) {
    canvas.SetForeColour(kColourWhite);
    canvas.SetFillColour(kColourLightGrey);
    canvas.SetRasterOp(kRopCopyPen);
    canvas.SetBackgroundMode(kTransparent);
    canvas.Text(x, y, text);
}

}  // namespace

// Embossed texts are drawn over what is there (buttons and headings are redrawn without a fill),
// so their glyphs are drawn with hard edges.
class HardEdges {
public:
    explicit HardEdges(Canvas& canvas) : canvas_(canvas), was_(canvas.TextAntialiasing()) {
        canvas_.SetTextAntialiasing(false);
    }
    ~HardEdges() { canvas_.SetTextAntialiasing(was_); }
    HardEdges(const HardEdges&) = delete;
    HardEdges& operator=(const HardEdges&) = delete;

private:
    Canvas& canvas_;
    bool was_;
};

// The coloured copy one pixel up and left of the white layer; leaves copy mode, opaque, black.
static void ColouredLayer(Canvas& canvas, int colour, int x, int y, const QString& text) {
    canvas.SetForeColour(colour);
    canvas.SetFillColour(kColourBlack);
    canvas.SetRasterOp(kRopXorPen);
    canvas.SetBackgroundMode(kTransparent);
    canvas.Text(x - 1, y - 1, text);
    canvas.SetRasterOp(kRopCopyPen);
    canvas.SetBackgroundMode(kOpaque);
    canvas.SetForeColour(kColourBlack);
}

void DrawEmbossedText(Canvas& canvas, int fontCode, int colour, int x, int y, const QString& text) {
    HardEdges hardEdges(canvas);
    canvas.SelectFont(fontCode);
    if (canvas.LargeFontMode() && fontCode == kFontAnsiFixed) x += 11;
    y -= 14;
    WhiteLayer(canvas, x, y, text);
    ColouredLayer(canvas, colour, x, y, text);
    canvas.SetFillColour(kColourLightGrey);
    canvas.SelectFont(kFontOem);
}

void DrawMnemonicLetter(Canvas& canvas, int highlight, int fontCode, int x, int y, const QString& text) {
    HardEdges hardEdges(canvas);
    canvas.SelectFont(fontCode);
    y -= 14;
    WhiteLayer(canvas, x, y, text);
    ColouredLayer(canvas, highlight ? kColourDarkRed : kColourDarkCyan, x, y, text);
    canvas.SetFillColour(kColourWhite);
}

int TextButtonWidth(const QString& caption) { return 8 * (static_cast<int>(caption.size()) - 1) + 20; }

void DrawTextButton(Canvas& canvas, int sunken, int x, int y, const QString& caption) {
    const int p = static_cast<int>(caption.indexOf(QLatin1Char('_'))) + 1;
    const int n = static_cast<int>(caption.size()) - 1;
    QString text = caption;
    QString letter;
    if (p > 0) {
        letter = caption.mid(p, 1);
        text = caption.left(p - 1) + QLatin1Char(' ') + caption.mid(p + 1);
    }
    const int w = 8 * n + 20;
    DrawFrame(canvas, sunken, 2, x, y, x + w, y + 26);
    canvas.SetForeColour(kColourBlack);
    canvas.SetLineWidth(1);
    canvas.Box(x - 1, y - 1, x + w, y + 26);
    const int tx = x + 14 + 4 * (n - 1 - static_cast<int>(text.size()));
    const int ty = y + 20;
    DrawEmbossedText(canvas, kFontAnsiFixed, kColourBlack, tx, ty, text);
    if (p > 0) DrawMnemonicLetter(canvas, 1, kFontAnsiFixed, tx + 8 * (p - 1) - (p == 1 ? 1 : 0), ty, letter);
    canvas.SetRasterOp(kRopCopyPen);
    canvas.SetBackgroundMode(kOpaque);
    canvas.SetForeColour(kColourBlack);
    canvas.SetFillColour(kColourWhite);
}

}  // namespace tessaro
