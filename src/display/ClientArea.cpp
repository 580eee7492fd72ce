#include "display/ClientArea.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

#include "display/InputSink.h"

namespace tessaro {

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
    resize(kClientWidth, kClientHeight);
    setMinimumSize(kClientWidth / 4, kClientHeight / 4);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.SetDamageCallback([this] { update(); });
    AllocateImage(devicePixelRatioF());
}

ClientArea::~ClientArea() { canvas_.End(); }

void ClientArea::AllocateImage(qreal devicePixelRatio) {
    if (devicePixelRatio <= 0) devicePixelRatio = 1.0;
    if (!image_.isNull() && image_.devicePixelRatio() == devicePixelRatio) return;
    const bool hadContent = !image_.isNull();
    canvas_.End();
    QImage old = image_;
    const int w = static_cast<int>(std::ceil(kClientWidth * devicePixelRatio));
    const int h = static_cast<int>(std::ceil(kClientHeight * devicePixelRatio));
    image_ = QImage(w, h, QImage::Format_RGB32);
    image_.setDevicePixelRatio(devicePixelRatio);
    image_.fill(PaletteColour(kColourSteel));
    if (hadContent && !repaint_) {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, kClientWidth, kClientHeight), old);
    }
    old = QImage();
    canvas_.Begin(&image_);
    if (hadContent && repaint_) {
        // Whatever draws next finds the drawing state it left.
        const Canvas::DrawingState state = canvas_.State();
        repaint_();
        canvas_.SetState(state);
    }
    update();
}

qreal ClientArea::WantedRatio() const {
    const qreal scale = ImageRect().width() / kClientWidth;
    return std::abs(scale - 1.0) < 1e-9 ? devicePixelRatioF() : devicePixelRatioF() * scale;
}

void ClientArea::MatchDevicePixelRatio() { AllocateImage(WantedRatio()); }

void ClientArea::ScheduleRescale() {
    if (rescalePending_) return;
    rescalePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            rescalePending_ = false;
            MatchDevicePixelRatio();
        },
        Qt::QueuedConnection);
}

QImage ClientArea::Capture(const QRect& rect) const {
    const qreal ratio = image_.devicePixelRatio();
    // Edges rounded one by one, as the drawing fills whole device pixels at a fractional ratio.
    const auto edge = [ratio](int at) { return static_cast<int>(std::lround(at * ratio)); };
    const QRect physical(QPoint(edge(rect.left()), edge(rect.top())),
                         QPoint(edge(rect.x() + rect.width()) - 1, edge(rect.y() + rect.height()) - 1));
    QImage copy = image_.copy(physical);
    copy.setDevicePixelRatio(ratio);
    return copy;
}

void ClientArea::Restore(const QImage& saved, int x, int y) {
    if (saved.isNull()) return;
    QPainter* painter = canvas_.Painter();
    if (!painter) return;
    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    // On the physical pixel Capture took it from, also at a fractional ratio.
    const qreal ratio = saved.devicePixelRatio();
    painter->drawImage(QPointF(std::lround(x * ratio) / ratio, std::lround(y * ratio) / ratio), saved);
    painter->restore();
    update();
}

QImage ClientArea::Composed() const {
    if (!overlay_ || overlay_->Empty()) return image_;
    QImage shown = image_.copy();
    QPainter painter(&shown);
    PaintOverlay(painter, *overlay_);
    return shown;
}

QRectF ClientArea::ImageRect() const {
    const qreal scale = std::min(width() / qreal(kClientWidth), height() / qreal(kClientHeight));
    const QSizeF size(kClientWidth * scale, kClientHeight * scale);
    // Whole-pixel offsets keep an unscaled image 1:1.
    return {QPointF(std::floor((width() - size.width()) / 2), std::floor((height() - size.height()) / 2)), size};
}

QPointF ClientArea::ToImage(QPointF widgetPosition) const {
    const QRectF shown = ImageRect();
    return (widgetPosition - shown.topLeft()) * (kClientWidth / shown.width());
}

QRect ClientArea::ToWidget(const QRect& imageRect) const {
    const QRectF shown = ImageRect();
    const qreal scale = shown.width() / kClientWidth;
    return QRectF(shown.topLeft() + QPointF(imageRect.topLeft()) * scale, QSizeF(imageRect.size()) * scale).toRect();
}

void ClientArea::Place(QWidget* child, const QRect& imageRect) {
    placed_.push_back({child, imageRect, child->font()});
    PlaceChild(placed_.back());
}

void ClientArea::PlaceChild(const PlacedChild& child) const {
    if (!child.widget) return;
    child.widget->setGeometry(ToWidget(child.imageRect));
    const qreal scale = ImageRect().width() / kClientWidth;
    QFont font = child.font;
    if (scale != 1.0) {
        if (font.pointSizeF() > 0) {
            font.setPointSizeF(font.pointSizeF() * scale);
        } else {
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
        }
    }
    child.widget->setFont(font);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    for (const PlacedChild& child : placed_) PlaceChild(child);
    if (image_.devicePixelRatio() != WantedRatio()) ScheduleRescale();
    QWidget::resizeEvent(event);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    const bool drawnForSize = image_.devicePixelRatio() == WantedRatio();
    if (!drawnForSize) ScheduleRescale();  // meanwhile the image is scaled
    canvas_.ClearDamage();
    QPainter painter(this);
    const QRectF shown = ImageRect();
    if (shown.size() == QSizeF(kClientWidth, kClientHeight)) {
        const QRect target = event->rect().intersected(shown.toRect());
        const QPointF source = (target.topLeft() - shown.topLeft()) * image_.devicePixelRatio();
        painter.drawImage(target, image_, QRectF(source, target.size() * image_.devicePixelRatio()));
    } else if (drawnForSize) {
        // Drawn at the shown size: one image pixel per screen pixel.
        painter.drawImage(QRectF(shown.topLeft(), QSizeF(image_.size()) / devicePixelRatioF()), image_);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(shown, image_);
    }
    if (overlay_) {
        painter.translate(shown.topLeft());
        painter.scale(shown.width() / kClientWidth, shown.height() / kClientHeight);
        PaintOverlay(painter, *overlay_);
        painter.resetTransform();
    }
    // The rest of a window of another aspect ratio.
    const QRegion margins = QRegion(event->rect()).subtracted(QRegion(shown.toAlignedRect()));
    for (const QRect& margin : margins) painter.fillRect(margin, palette().color(QPalette::Dark));
}

bool ClientArea::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal) MatchDevicePixelRatio();
    return QWidget::event(event);
}

namespace {

// Alt+letter is the menu bar's gesture; with the bar off it must not reach the play loops, neither
// its press nor its release (not even when Alt goes up first).
bool MenuGesture(const QKeyEvent* event) { return event->modifiers() & Qt::AltModifier; }

}  // namespace

void ClientArea::keyPressEvent(QKeyEvent* event) {
    if (!sink_) return QWidget::keyPressEvent(event);
    if (MenuGesture(event)) return;
    if (sink_->CursorKeyPressed(event->key(), event->modifiers(), event->isAutoRepeat())) return;
    if ((event->modifiers() & Qt::ControlModifier) && !event->isAutoRepeat()) {
        sink_->ControlKeyPressed(event->key(), event->modifiers());
    }
    sink_->KeyPressed(event->key(), event->isAutoRepeat());
    if (event->key() == Qt::Key_Escape) {
        sink_->CharTyped(27);
    } else if (!event->text().isEmpty()) {
        const QString text = event->text();
        for (QChar ch : text) sink_->CharTyped(ch.unicode());
    }
}

void ClientArea::keyReleaseEvent(QKeyEvent* event) {
    if (!sink_) return QWidget::keyReleaseEvent(event);
    if (MenuGesture(event)) return;
    sink_->KeyReleased(event->key(), event->isAutoRepeat());
}

// Presses and moves beside the image are outside the client area, as on the frame.
void ClientArea::mousePressEvent(QMouseEvent* event) {
    if (sink_ && ImageRect().contains(event->position())) sink_->MousePressed(event->button(), ToImage(event->position()).toPoint());
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    if (sink_ && ImageRect().contains(event->position())) sink_->MouseMoved(ToImage(event->position()));
}

void ClientArea::closeEvent(QCloseEvent* event) {
    if (sink_) sink_->CloseRequested();
    QWidget::closeEvent(event);
}

}  // namespace tessaro
