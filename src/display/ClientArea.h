#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

#include "display/Canvas.h"

namespace tessaro {

class InputSink;

// The main window's client area: a fixed 862 x 694 widget over a persistent image that every
// drawing goes into. paintEvent only copies the image; input goes to the current InputSink.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget* parent = nullptr);
    ~ClientArea() override;

    // The canvas that draws into the image.
    Canvas& canvas() { return canvas_; }
    const QImage& image() const { return image_; }

    void SetInputSink(InputSink* sink) { sink_ = sink; }
    InputSink* inputSink() const { return sink_; }

    // When the screen's pixel ratio changes the image is made anew at the new ratio; with a
    // repaint callback the content is drawn again, otherwise the old content is scaled once.
    void SetRepaintCallback(std::function<void()> callback) { repaint_ = std::move(callback); }
    // Reallocates the image when the widget's pixel ratio differs from the image's.
    void MatchDevicePixelRatio();
    // Allocates the image at an explicit ratio (tests; the screen's ratio otherwise).
    void AllocateImage(qreal devicePixelRatio);

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
    bool event(QEvent* event) override;

private:
    QImage image_;
    Canvas canvas_;
    InputSink* sink_ = nullptr;
    std::function<void()> repaint_;
};

}  // namespace tessaro
