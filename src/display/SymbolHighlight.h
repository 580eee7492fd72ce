#pragma once

#include <QColor>

#include "display/Overlay.h"
#include "engine/SymbolPlaces.h"

namespace tessaro {

// The cells holding the highlighted symbol, its candidate squares, and the light shade of the
// houses it already stands in.
inline const QColor kHighlightHoldingTint(0, 170, 80, 95);
inline const QColor kHighlightCandidateInk(0, 125, 60);
inline const QColor kHighlightShade(40, 40, 40, 32);

// The highlight of one symbol as overlay marks: nothing for symbol 0.
Overlay::Marks HighlightMarks(const SymbolPlaces& places, int symbol, bool showDigits);

}  // namespace tessaro
