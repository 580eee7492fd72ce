#pragma once

#include <QColor>

#include "display/Overlay.h"
#include "engine/Conflicts.h"
#include "logic/Coach.h"

namespace tessaro {

// The squares a step's pattern candidates get, and the ones it removes.
inline const QColor kHintPatternInk(0, 110, 230);
inline const QColor kHintEliminatedInk(215, 0, 0);
// The translucent tint of the houses to look at.
inline const QColor kHintHouseTint(255, 160, 0, 70);

// The hint's advice as marks: a pointer tints where to look; a step tints its houses, frames its
// cells and squares its candidates; a wrong entry is framed. Other advice draws nothing.
Overlay::Marks AdviceMarks(const logic::Advice& advice, bool showDigits);
// Every unit with a repeat tinted, every repeated symbol's cell framed.
Overlay::Marks ConflictMarks(const ConflictSet& conflicts);

}  // namespace tessaro
