#include "display/ClockLabel.h"

#include <QFontMetrics>

#include <algorithm>

namespace tessaro {

QRect ClockLabel::ChangedArea(const QString& before, const QString& after) const {
    qsizetype same = 0;
    while (same < before.size() && same < after.size() && before[same] == after[same]) ++same;
    if (same == before.size() && same == after.size()) return {};
    const QRect inside = contentsRect();
    if (!(alignment() & Qt::AlignLeft) || layoutDirection() != Qt::LeftToRight) return inside;
    const QFontMetrics metrics(font());
    // The first changed glyph, old or new, may reach left of its advance; kerning and
    // anti-aliasing may move it by a pixel or two.
    const auto reach = [&](const QString& text) { return same < text.size() ? -metrics.leftBearing(text[same]) : 0; };
    const int overhang = 2 + std::max({0, reach(before), reach(after)});
    const int left = std::max(inside.left(), inside.left() + margin() + std::max(indent(), 0) +
                                                 metrics.horizontalAdvance(after.left(same)) - overhang);
    return QRect(QPoint(left, inside.top()), inside.bottomRight());
}

void ClockLabel::ShowText(const QString& text) {
    const QString before = this->text();
    if (text == before) return;
    const QRect changed = ChangedArea(before, text);
    // setText would repaint the whole label; updates are off only while it runs.
    const bool wasDisabled = testAttribute(Qt::WA_UpdatesDisabled);
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setText(text);
    setAttribute(Qt::WA_UpdatesDisabled, wasDisabled);
    update(changed);
}

}  // namespace tessaro
