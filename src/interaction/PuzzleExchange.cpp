#include "interaction/PuzzleExchange.h"

#include <QClipboard>
#include <QGuiApplication>

#include "display/Display.h"
#include "engine/Engine.h"
#include "halloffame/GameClock.h"
#include "interaction/Interaction.h"
#include "logic/RatedLevels.h"
#include "logic/Solver.h"
#include "puzzles/Exchange.h"

namespace tessaro {
namespace {

// The reading as the board's new puzzle (one undoable change); otherwise `refused`, then why.
QString Taken(Engine& engine, const PuzzleReading& reading, const QString& refused) {
    if (!reading.ok()) return refused + QStringLiteral("\n\n") + QString::fromStdString(reading.error);
    engine.SetPuzzle(reading.givens);
    return {};
}

// The level the taken puzzle's rating falls in, named by the difficulty panel while these givens
// are the board's. A taken puzzle has one solution: a path the logic could not finish is Extrem.
void RateTakenPuzzle(DisplayState& look, const Grid& givens) {
    const logic::SolvingPath path = logic::SolvePath(givens);
    look.ratedGivens = givens;
    look.ratedLevel = path.verdict == logic::Verdict::Solved ? logic::LevelForRating(path.rating) : 3;
}

}  // namespace

QString TakeStartPuzzle(Engine& engine, DisplayState& look, std::string_view argument) {
    const QString problem =
        Taken(engine, PuzzleFromArgument(argument),
              QStringLiteral("Das Rätsel aus der Befehlszeile wird nicht übernommen."));
    if (!problem.isEmpty()) return problem;
    // The game starts with this board; there is nothing before it to go back to.
    engine.ForgetMoves();
    RateTakenPuzzle(look, engine.Model().givens);
    engine.Observer().GivensChanged();
    return {};
}

bool Interaction::ExchangeKey(int qtKey, Qt::KeyboardModifiers modifiers, bool ownBoard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (qtKey == Qt::Key_C) {
        const BoardModel& model = engine_.Model();
        const bool withEntries = (modifiers & Qt::ShiftModifier) != 0;
        clipboard->setText(QString::fromStdString(withEntries ? BoardLine(model) : GivensLine(model)));
        return true;
    }
    if (qtKey != Qt::Key_V) return false;
    // Read first: a refused paste must leave a timed game running.
    const PuzzleReading reading = ReadPuzzle(clipboard->text().toStdString());
    if (reading.ok() && !ownBoard) clock_.running = false;  // a new puzzle is no timed game
    const QString problem =
        Taken(engine_, reading, QStringLiteral("Das Rätsel aus der Zwischenablage wird nicht übernommen."));
    if (!problem.isEmpty()) {
        if (actions_.tell) actions_.tell(problem);
        return true;
    }
    if (!ownBoard) clock_.RefreshClock();
    RateTakenPuzzle(display_.state(), engine_.Model().givens);
    display_.UpdateDifficultyPanel();
    helpBeforePaste_ = display_.state().helpText;
    display_.SetHelpText(QStringLiteral("Rätsel übernommen"));
    return true;
}

}  // namespace tessaro
