#pragma once

#include <QImage>
#include <QString>

#include <atomic>

#include "display/Overlay.h"
#include "engine/Board.h"

namespace tessaro {

inline const QString kHelpChooseMenu = QStringLiteral("Bitte Menupunkt auswählen!");
inline const QString kHelpClickCell = QStringLiteral("Bitte ein Feld anklicken!");
inline const QString kHelpRightClears = QStringLiteral("Rechte Taste löscht Feld!");
inline const QString kHelpNoteCandidates = QStringLiteral("Bitte Kandidaten notieren!");

// What the display keeps between drawings: the panels' values and the symbol picker.
struct DisplayState {
    QString helpText = kHelpChooseMenu;
    int givensCount = 0;
    // Every symbol stands exactly nine times.
    bool allNine = false;

    // Board origin and cell size, set by the panel drawing and every whole-board redraw.
    int boardLeft = 29;
    int boardTop = 45;
    int cellWidth = 60;
    int cellHeight = 60;

    // The picker: busy while drawn or while a choice is applied (the clock worker reads it).
    std::atomic<bool> pickerBusy{false};
    // Item 1..9 under the pointer; 0 or 10 highlights nothing.
    int hoveredItem = 0;
    QImage pickerBackground;
    bool backgroundSaved = false;
    int backgroundX = 0;
    int backgroundY = 0;
    // Entries go into the candidate marks instead of the board.
    bool noteMode = false;
    // A pasted puzzle's level by its rating (0..3, -1 none), shown while these givens are the board's.
    int ratedLevel = -1;
    Grid ratedGivens{};
    // The aids' marks, the keyboard cursor and the pause cover, painted over the image.
    Overlay overlay;
    // The symbol 1..9 whose places are highlighted; 0 for none.
    int highlightedSymbol = 0;
};

// The level the difficulty panel names: a pasted puzzle's own, else the chosen one.
inline int ShownLevel(const DisplayState& state, const Settings& settings, const Grid& givens) {
    if (state.ratedLevel >= 0 && givens == state.ratedGivens) return state.ratedLevel;
    return settings.difficulty >= 0 && settings.difficulty < 4 ? settings.difficulty : 0;
}

}  // namespace tessaro
