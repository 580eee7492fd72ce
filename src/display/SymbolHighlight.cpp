#include "display/SymbolHighlight.h"

namespace tessaro {

Overlay::Marks HighlightMarks(const SymbolPlaces& places, int symbol, bool showDigits) {
    Overlay::Marks marks;
    if (symbol < 1 || symbol > 9) return marks;
    for (int at : places.shaded) marks.tints.push_back({at % 10, at / 10, kHighlightShade});
    for (int at : places.holding) marks.tints.push_back({at % 10, at / 10, kHighlightHoldingTint});
    const QString text = QString::fromStdString(SymbolText(symbol, showDigits));
    for (int at : places.marked) marks.squares.push_back({at % 10, at / 10, symbol, text, kHighlightCandidateInk});
    return marks;
}

}  // namespace tessaro
