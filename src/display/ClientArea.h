#pragma once

#include <QImage>
#include <QWidget>

#include <QPointer>

#include <functional>
#include <vector>

#include "display/Canvas.h"
#include "display/Overlay.h"

namespace tessaro {

class InputSink;

// The main window's client area: a widget over a persistent 862 x 694 image that every drawing goes
// into. At another size than the default (aspect ratio kept) the image is drawn again at the shown
// size, scaled only until that is done. paintEvent copies the image and paints the overlay over it
// at the same scale; pointer positions are mapped back into the image's coordinates here, so
// nothing else knows about the scale. Input goes to the current InputSink.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget* parent = nullptr);
    ~ClientArea() override;

    // The canvas that draws into the image.
    Canvas& canvas() { return canvas_; }
    const QImage& image() const { return image_; }
    // What the screen shows: the image with the overlay painted over it, at the image's resolution.
    QImage Composed() const;

    // The overlay painted over the image (none until set); its owner repaints after a change.
    void SetOverlay(const Overlay* overlay) { overlay_ = overlay; }
    // Schedules a repaint of an image rectangle.
    void UpdateArea(const QRect& imageRect) { update(ToWidget(imageRect).adjusted(-1, -1, 1, 1)); }

    void SetInputSink(InputSink* sink) { sink_ = sink; }
    InputSink* inputSink() const { return sink_; }

    // When the screen's pixel ratio or the shown size changes, the image is made anew at the
    // screen's ratio times the window's scale; with a repaint callback the content is drawn again
    // (sharp at any size), otherwise the old content is scaled once.
    void SetRepaintCallback(std::function<void()> callback) { repaint_ = std::move(callback); }
    // The image's pixel ratio for the shown size.
    qreal WantedRatio() const;
    // Reallocates the image when its pixel ratio differs from the wanted one.
    void MatchDevicePixelRatio();
    // Allocates the image at an explicit ratio (tests; the screen's ratio otherwise).
    void AllocateImage(qreal devicePixelRatio);

    QSize sizeHint() const override { return {kClientWidth, kClientHeight}; }
    // Where the image is shown in widget coordinates.
    QRectF ImageRect() const;
    // A widget position in image coordinates, and an image rectangle in widget coordinates.
    QPointF ToImage(QPointF widgetPosition) const;
    QRect ToWidget(const QRect& imageRect) const;
    // Keeps a child widget over an image rectangle, its geometry and font scaled with the image.
    void Place(QWidget* child, const QRect& imageRect);

    // Save-under: a copy of a region of the image (logical coordinates) and drawing it back.
    QImage Capture(const QRect& rect) const;
    void Restore(const QImage& saved, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct PlacedChild {
        QPointer<QWidget> widget;
        QRect imageRect;
        QFont font;
    };
    void PlaceChild(const PlacedChild& child) const;
    // The image follows the shown size once the resizing events are through.
    void ScheduleRescale();

    QImage image_;
    std::vector<PlacedChild> placed_;
    Canvas canvas_;
    InputSink* sink_ = nullptr;
    const Overlay* overlay_ = nullptr;
    std::function<void()> repaint_;
    bool rescalePending_ = false;
};

}  // namespace tessaro
