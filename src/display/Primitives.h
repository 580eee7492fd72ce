#pragma once

#include <QString>

namespace tessaro {

class Canvas;

// A bevelled border: sunken 0 (raised, light top and left) or 1 (sunken, dark top and left);
// width + 1 - sunken lines per edge.
void DrawFrame(Canvas& canvas, int sunken, int width, int x1, int y1, int x2, int y2);
// Coloured text with a white copy one pixel to the lower right; y is the baseline row the layout
// names, the text cell starts 14 pixels higher.
void DrawEmbossedText(Canvas& canvas, int fontCode, int colour, int x, int y, const QString& text);
// One embossed letter in dark red (highlight) or dark cyan.
void DrawMnemonicLetter(Canvas& canvas, int highlight, int fontCode, int x, int y, const QString& text);
// A framed button; a "_" in the caption marks the letter that is shown in dark red.
void DrawTextButton(Canvas& canvas, int sunken, int x, int y, const QString& caption);
// Width of the frame DrawTextButton draws for the caption.
int TextButtonWidth(const QString& caption);

}  // namespace tessaro
