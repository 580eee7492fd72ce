#include "display/Canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tessaro {

namespace {

// Table values as stored, 0x00BBGGRR.
constexpr std::array<unsigned, 16> kPalette{0x000000, 0x000080, 0x008000, 0x00FFFF, 0xBC0000, 0x800080,
                                            0x808000, 0xC0C0C0, 0x404040, 0x0000FF, 0x00FF00, 0xD3DDE9,
                                            0xD0C9B4, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

// Stock fonts above this character height switch to their replacements.
constexpr int kStockHeightLimit = 16;
// Above this many device pixels Qt no longer keeps rendered glyphs.
constexpr int kLargestCachedGlyph = 64;

// The average character width as classic font tables define it: lower-case letters and the blank,
// weighted by their frequency in English text. Arial's width parameter means this average, so the
// glyphs come out as wide as the layout expects.
double ClassicAverageWidth(const QFont& font) {
    static constexpr std::array<int, 26> kWeights{64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20,
                                                  56, 56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2};
    const QFontMetricsF metrics(font);
    double sum = 166.0 * metrics.horizontalAdvance(QLatin1Char(' '));
    for (int i = 0; i < 26; ++i) sum += kWeights[i] * metrics.horizontalAdvance(QLatin1Char(char('a' + i)));
    return sum / 1000.0;
}

QFont::Weight QtWeight(int weight) {
    if (weight <= 100) return QFont::Thin;
    if (weight <= 200) return QFont::ExtraLight;
    if (weight <= 300) return QFont::Light;
    if (weight <= 400) return QFont::Normal;
    if (weight <= 500) return QFont::Medium;
    if (weight <= 600) return QFont::DemiBold;
    if (weight <= 700) return QFont::Bold;
    return QFont::Black;
}

int FontKey(int fontCode) {
    switch (fontCode) {
    case 4: case 6: case 8: case 14: case 18: case 20: case 40: return fontCode;
    default: return 16;
    }
}

}  // namespace

QColor PaletteColour(int index) {
    if (index < 0 || index >= static_cast<int>(kPalette.size())) return QColor(0, 0, 0);
    const unsigned value = kPalette[static_cast<std::size_t>(index)];
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

Canvas::Canvas() : fore_(PaletteColour(0)), fill_(PaletteColour(15)) {}

Canvas::Canvas(QPaintDevice* device) : Canvas() { Begin(device); }

Canvas::~Canvas() { End(); }

void Canvas::Begin(QPaintDevice* device) {
    End();
    device_ = device;
    if (!device_) return;
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device_)) {
        painter_.reset();
        device_ = nullptr;
        return;
    }
    rasterDevice_ = device_->devType() == QInternal::Image;
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setBackgroundMode(Qt::TransparentMode);
    fontApplied_ = false;
}

void Canvas::End() {
    if (painter_) {
        if (painter_->isActive()) painter_->end();
        painter_.reset();
    }
    device_ = nullptr;
}

bool Canvas::IsActive() const { return painter_ && painter_->isActive(); }

void Canvas::SetForeColour(int index) {
    foreIndex_ = index;
    fore_ = PaletteColour(index);
}

void Canvas::SetFillColour(int index) {
    fillIndex_ = index;
    fill_ = PaletteColour(index);
}

void Canvas::SetState(const DrawingState& state) {
    SetForeColour(state.fore);
    SetFillColour(state.fill);
    SetLineWidth(state.lineWidth);
    lineStyle_ = state.lineStyle;
    fillStyle_ = state.fillStyle;
    rasterOp_ = state.rasterOp;
    backgroundMode_ = state.backgroundMode;
    if (state.fontCode > 0 && state.fontCode != fontCode_) SelectFont(state.fontCode);
}

void Canvas::SetTextAntialiasing(bool on) {
    if (textAntialiasing_ == on) return;
    textAntialiasing_ = on;
    fontApplied_ = false;
}

void Canvas::SetLineWidth(int width) { lineWidth_ = std::max(1, width); }

void Canvas::SimulateLargeStockFonts(bool on) {
    if (simulateLarge_ == on) return;
    simulateLarge_ = on;
    // The stock-font choices depend on it.
    fonts_[8].reset();
    fonts_[14].reset();
    fonts_[16].reset();
}

// A font with its unsmoothed twin and the metrics the layout needs.
Canvas::FontEntry Canvas::MakeFontEntry(const QFont& base) {
    FontEntry entry;
    entry.font = base;
    entry.hardFont = base;
    entry.hardFont.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(base);
    entry.ascent = metrics.ascent();
    entry.height = metrics.height();
    return entry;
}

Canvas::FontEntry Canvas::CreatedFont(int height, int width, int weight) {
    QFont base(QStringLiteral("Arial"));
    base.setWeight(QtWeight(weight));
    base.setStyleHint(QFont::SansSerif);
    // The pixel size whose cell height (ascent + descent) comes closest to the wanted height;
    // start from the proportion measured at a large size and look around it.
    QFont probe = base;
    probe.setPixelSize(100);
    const double perPixel = QFontMetrics(probe).height() / 100.0;
    const int guess = std::max(1, static_cast<int>(std::lround(height / perPixel)));
    int best = guess;
    int bestDiff = 1 << 30;
    for (int size = std::max(1, guess - 2); size <= guess + 2; ++size) {
        probe.setPixelSize(size);
        const int diff = std::abs(QFontMetrics(probe).height() - height);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = size;
        }
    }
    base.setPixelSize(best);
    const double average = ClassicAverageWidth(base);
    if (average > 0.0) {
        const int stretch = static_cast<int>(std::lround(100.0 * width / average));
        if (std::abs(stretch - 100) > 1) base.setStretch(std::clamp(stretch, 1, 4000));
    }
    return MakeFontEntry(base);
}

// The system's fixed-pitch or UI font, sized like the classic stock fonts (cells of at most
// heightLimit pixels, fixed-pitch cells 8 pixels wide), so texts fit the places the layout gives them.
Canvas::FontEntry Canvas::StockFont(bool fixedPitch, bool bold, int heightLimit) {
    QFont base = QFontDatabase::systemFont(fixedPitch ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
    base.setBold(bold);
    int size = kStockHeightLimit;
    for (; size > 6; --size) {
        base.setPixelSize(size);
        if (QFontMetrics(base).height() <= heightLimit) break;
    }
    base.setPixelSize(size);
    // Fixed-pitch texts are laid out in 8-pixel columns; the UI font keeps its own widths (a
    // stretched face looks ragged with the hard edges of embossed headings).
    if (fixedPitch) {
        const double advance = QFontMetricsF(base).horizontalAdvance(QLatin1Char('0'));
        const int stretch = advance > 0.0 ? static_cast<int>(std::lround(800.0 / advance)) : 100;
        if (std::abs(stretch - 100) > 1) base.setStretch(std::clamp(stretch, 1, 4000));
    }
    return MakeFontEntry(base);
}

int Canvas::StockHeight(const FontEntry& entry) const { return simulateLarge_ ? 20 : entry.height; }

Canvas::FontEntry Canvas::BuildFont(int fontCode) {
    switch (fontCode) {
    case 4: return CreatedFont(12, 6, 200);
    case 6: return CreatedFont(30, 16, 200);
    case 8: {
        // The OEM font's cells are 8 x 12: the line below a font-8 text starts 12 pixels lower.
        FontEntry stock = StockFont(true, false, 12);
        if (StockHeight(stock) > kStockHeightLimit) return CreatedFont(15, 8, 200);
        return stock;
    }
    case 14: {
        FontEntry stock = StockFont(true, false, 15);
        if (StockHeight(stock) > kStockHeightLimit) return StockFont(false, false, 13);
        return stock;
    }
    case 18: return CreatedFont(21, 10, 400);
    case 20: return CreatedFont(26, 14, 200);
    case 40: return CreatedFont(58, 32, 200);
    default: {
        FontEntry stock = StockFont(false, true, kStockHeightLimit);
        if (StockHeight(stock) > kStockHeightLimit) return StockFont(false, false, 13);
        return stock;
    }
    }
}

void Canvas::SelectFont(int fontCode) {
    const int key = FontKey(fontCode);
    auto& slot = fonts_[static_cast<std::size_t>(key)];
    if (!slot) slot = BuildFont(key);
    if (key == 8 && simulateLarge_) largeFontMode_ = true;
    fontCode_ = fontCode;
    current_ = *slot;
    fontApplied_ = false;
}

void Canvas::SetFont(const QFont& font) {
    fontCode_ = -1;
    current_.font = font;
    current_.hardFont = font;
    current_.hardFont.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics = device_ ? QFontMetrics(font, device_) : QFontMetrics(font);
    current_.ascent = metrics.ascent();
    current_.height = metrics.height();
    fontApplied_ = false;
}

int Canvas::TextWidth(const QString& text) const {
    if (device_ && fontCode_ < 0) return QFontMetrics(current_.font, device_).horizontalAdvance(text);
    return QFontMetrics(current_.font).horizontalAdvance(text);
}

QRect Canvas::InkRect(const QString& text) {
    const qreal ratio = device_ ? device_->devicePixelRatioF() : 1.0;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(fontCode_).arg(ratio).arg(textAntialiasing_ ? 1 : 0).arg(text);
    if (auto found = inkRects_.find(key); found != inkRects_.end()) return found->second;
    // Rendered the way Text draws it, with room for strokes that overhang the text cell.
    const int pad = current_.height;
    QImage image(static_cast<int>(std::ceil((TextWidth(text) + 2 * pad) * ratio)),
                 static_cast<int>(std::ceil((current_.height + 2 * pad) * ratio)), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(textAntialiasing_ ? current_.font : current_.hardFont);
        painter.setPen(Qt::black);
        painter.drawText(pad, pad + current_.ascent, text);
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    QRect ink;
    if (right >= 0) {
        const int x1 = static_cast<int>(std::floor(left / ratio)) - pad;
        const int y1 = static_cast<int>(std::floor(top / ratio)) - pad;
        const int x2 = static_cast<int>(std::ceil((right + 1) / ratio)) - pad;
        const int y2 = static_cast<int>(std::ceil((bottom + 1) / ratio)) - pad;
        ink = QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
    }
    if (inkRects_.size() > 256) inkRects_.clear();
    return inkRects_.emplace(key, ink).first->second;
}

void Canvas::Damage() {
    if (damaged_) return;
    damaged_ = true;
    if (damageCallback_) damageCallback_();
}

void Canvas::ApplyRasterOp() {
    if (!rasterDevice_) return;
    switch (rasterOp_) {
    case kRopXorPen: painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case kRopMergePen: painter_->setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    default: break;
    }
}

void Canvas::ResetComposition() {
    if (rasterDevice_ && rasterOp_ != kRopCopyPen) painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::FillRect(int x, int y, int w, int h, const QColor& colour) {
    if (w <= 0 || h <= 0) return;
    painter_->fillRect(x, y, w, h, colour);
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    if (!painter_) return;
    Damage();
    ApplyRasterOp();
    const int w = lineWidth_;
    const int off = w / 2;
    if (y1 == y2) {
        if (x1 != x2) {
            const int a = x1 < x2 ? x1 : x2 + 1;
            const int b = x1 < x2 ? x2 - 1 : x1;
            FillRect(a, y1 - off, b - a + 1, w, fore_);
        }
    } else if (x1 == x2) {
        const int a = y1 < y2 ? y1 : y2 + 1;
        const int b = y1 < y2 ? y2 - 1 : y1;
        FillRect(x1 - off, a, w, b - a + 1, fore_);
    } else {
        // Sloped lines: a flat cap leaves out the last pixel as the straight ones do.
        QPen pen(fore_, w == 1 ? 0 : w);
        pen.setCapStyle(Qt::FlatCap);
        painter_->setPen(pen);
        painter_->drawLine(x1, y1, x2, y2);
    }
    ResetComposition();
}

void Canvas::Box(int x1, int y1, int x2, int y2) {
    if (!painter_) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    Damage();
    ApplyRasterOp();
    const int w = lineWidth_;
    const int off = w / 2;
    const int left = x1 - off;
    const int top = y1 - off;
    const int right = x2 - 1 - off + w - 1;  // last column covered
    const int bottom = y2 - 1 - off + w - 1;
    const int outerW = right - left + 1;
    const int outerH = bottom - top + 1;
    if (outerW <= 2 * w || outerH <= 2 * w) {
        FillRect(left, top, outerW, outerH, fore_);
    } else {
        FillRect(left, top, outerW, w, fore_);
        FillRect(left, bottom - w + 1, outerW, w, fore_);
        FillRect(left, top + w, w, outerH - 2 * w, fore_);
        FillRect(right - w + 1, top + w, w, outerH - 2 * w, fore_);
    }
    ResetComposition();
}

void Canvas::FilledBox(int x1, int y1, int x2, int y2) {
    if (!painter_) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    Damage();
    if (fillStyle_ == kFillSolid) {
        ApplyRasterOp();
        FillRect(x1, y1, x2 - x1, y2 - y1, fill_);
        ResetComposition();
        // A thin outline in the fill colour lies on the filled pixels already.
        if (lineWidth_ == 1 && fore_ == fill_ && rasterOp_ == kRopCopyPen) return;
    } else if (fillStyle_ == kFillPattern) {
        ApplyRasterOp();
        painter_->fillRect(x1, y1, x2 - x1, y2 - y1, QBrush(fill_, Qt::Dense6Pattern));
        ResetComposition();
    }
    Box(x1, y1, x2, y2);
}

void Canvas::Text(int x, int y, const QString& text) {
    if (recorder_) recorder_->push_back(TextCall{x, y, fontCode_, text});
    if (!painter_ || text.isEmpty()) return;
    Damage();
    if (backgroundMode_ == kOpaque) FillRect(x, y, TextWidth(text), current_.height, fill_);
    const qreal ratio = device_->devicePixelRatioF();
    if (rasterDevice_ && backgroundMode_ != kOpaque && fontCode_ >= 0 && current_.height * ratio > kLargestCachedGlyph) {
        // Qt draws glyphs this large as outlines every time; keep the rendered text instead.
        painter_->drawImage(QPointF(x, y), LargeText(text, ratio));
        return;
    }
    if (!fontApplied_) {
        painter_->setFont(textAntialiasing_ ? current_.font : current_.hardFont);
        fontApplied_ = true;
    }
    painter_->setPen(fore_);
    painter_->drawText(x, y + current_.ascent, text);
}

const QImage& Canvas::LargeText(const QString& text, qreal ratio) {
    const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                            .arg(fontCode_)
                            .arg(fore_.rgb())
                            .arg(ratio)
                            .arg(textAntialiasing_ ? 1 : 0)
                            .arg(text);
    auto found = largeTexts_.find(key);
    if (found != largeTexts_.end()) return found->second;
    if (largeTexts_.size() > 256) largeTexts_.clear();
    const int width = std::max(1, TextWidth(text));
    QImage image(static_cast<int>(std::ceil(width * ratio)), static_cast<int>(std::ceil(current_.height * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(textAntialiasing_ ? current_.font : current_.hardFont);
        painter.setPen(fore_);
        painter.drawText(0, current_.ascent, text);
    }
    return largeTexts_.emplace(key, std::move(image)).first->second;
}

}  // namespace tessaro
