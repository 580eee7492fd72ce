#pragma once

#include "display/DisplayState.h"
#include "engine/Board.h"
#include "engine/Engine.h"
#include "forms/SlotDialog.h"
#include "halloffame/GameClock.h"
#include "halloffame/HallOfFame.h"
#include "interaction/Interaction.h"
#include "shell/HelpViewer.h"

namespace tessaro {


// All state of one run, grouped by subsystem and created in start-up order.
struct Game {
    BoardModel model;
    Settings settings;
    HallOfFame hallOfFame;
    Engine engine{model, settings};
    GameClock clock{settings.timedGame};
    DisplayState display;
    InteractionState interaction;
    SlotState boardSlots;
    HelpState help;
    bool modernHelp = true;
    int lastCommand = 0;
};

}  // namespace tessaro
