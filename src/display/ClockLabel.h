#pragma once

#include <QLabel>

namespace tessaro {

// The clock label `uhr`. A new caption repaints only the glyphs from its first changed character
// on, so the second that turns costs a few columns of pixels instead of the whole label.
class ClockLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void ShowText(const QString& text);
    // The part of the label that a change of caption from `before` to `after` can touch.
    QRect ChangedArea(const QString& before, const QString& after) const;
};

}  // namespace tessaro
