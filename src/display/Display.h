#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

#include "display/DisplayState.h"
#include "display/Geometry.h"
#include "engine/Board.h"
#include "engine/BoardObserver.h"

namespace tessaro {

class Canvas;
class ClientArea;
class Engine;
enum class AccessiblePanel;

// Everything the main window draws besides the clock label: the board panel with its cells,
// candidate marks and picker, the side panels and the footer. It is the engine's board observer,
// so every cell the engine changes is painted at once.
class Display final : public BoardObserver {
public:
    // Registers itself as the engine's observer (and unregisters on destruction).
    Display(ClientArea& area, const BoardModel& model, Settings& settings, Engine& engine, DisplayState& state);
    ~Display() override;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    Canvas& canvas() { return canvas_; }
    ClientArea& area() { return area_; }
    DisplayState& state() { return state_; }
    bool LargeFontMode() const;

    // The start screen: footer, board panel (with statistics, difficulty and timer panels), help window.
    void DrawStartScreen();
    // The start screen with the board as it stands, into a new image: nothing is decided or told
    // again (no beep, the hint stays).
    void RedrawScreen();
    void DrawFooter();

    void DrawBoardPanel();
    void DrawDiagonals();
    // The engine's whole-board redraw: cells, statistics and status, candidate marks.
    void RedrawBoard();

    void DrawStatisticsPanel();
    // The engine recounts and decides the verdict; the count row and the status are painted.
    void UpdateDigitCounts();
    void DrawStatusPanel();
    // Paints the current status text.
    void UpdateStatusMessage();
    void DrawDifficultyPanel();
    void UpdateDifficultyPanel();
    void DrawHelpWindow();
    void ShowHelpText();
    // Sets the help text and shows it.
    void SetHelpText(const QString& text);
    void DrawTimerPanel();

    void DrawGivenCell(int column, int row, int value);
    void DrawPlayerCell(int column, int row, int value);
    void DrawCandidates();
    // The marks of one empty cell (a filled cell shows none), then the diagonal outlines.
    void DrawCellCandidates(int x, int y);
    // The 3 x 3 symbol picker over the cell, the hovered item highlighted; the area under it is
    // saved on the first drawing.
    void DrawPicker(int column, int row);
    // Draws the saved area back where it was taken (nothing when none is saved).
    void RestorePickerBackground();
    void FreePickerBackground();
    // Moves the keyboard cursor's frame to the cell (0, 0 hides it); the accessible focus follows.
    void ShowCursor(int column, int row);
    Overlay& overlay() { return state_.overlay; }
    // Shows the overlay as it now stands.
    void RepaintOverlay();
    // Highlights the places of symbol 1..9 (0 ends it): the marks follow every change of the board
    // and the symbol mode until it ends, and assistive technology is told.
    void SetHighlight(int symbol);
    // Called on every change the engine reports, after the hint's marks have gone.
    void SetBoardChangedHandler(std::function<void()> handler) { boardChanged_ = std::move(handler); }

    // Called when the candidate display ends a timed game (the clock label follows it).
    void SetTimedGameEndedHandler(std::function<void()> handler) { timedGameEnded_ = std::move(handler); }
    // The sound of a rule violation; the system beep unless replaced.
    void SetBeepHandler(std::function<void()> handler) { beep_ = std::move(handler); }

    // BoardObserver
    void CellChanged(int x, int y, int value) override;
    void AllCellsChanged() override;
    void StatisticsRefreshed(bool beep) override;
    void CandidatesChanged() override;
    void TimedGameEnded() override;
    void GivensChanged() override;
    void MarksChanged(int x, int y) override;

private:
    // A change of the board ends the hint's marks and moves the highlight's.
    void BoardChanged();
    void UpdateHighlight();
    // Tells assistive technology, if the client area has its interface.
    void AnnounceCell(int x, int y);
    void AnnounceAllCells();
    void AnnouncePanel(AccessiblePanel panel);
    // Per mark 1..9: the area to wipe at its place, the ink of its digit and its letter included.
    using MarkWipes = std::array<QRect, 10>;
    MarkWipes MarkWipeRects();
    // The marks of one empty cell, wiped over their whole ink first; no diagonal outlines.
    void DrawCellMarks(int x, int y, const MarkWipes& wipe);
    void DrawAllCells();
    void DrawPanel(int x, int y, int w, int h, int headingDx, const QString& heading);
    void DrawCellBase(int column, int row, int value, int colour);
    void PaintCounts();
    // Opaque value text that also wipes the rest of its line up to the panel's inner edge.
    // Black opaque text on white in the font of the code (the side panels' values).
    void UseValueText(int fontCode);
    void ValueText(int x, int y, const QString& text, int wipeTo);
    QString Symbol(int value) const;

    ClientArea& area_;
    Canvas& canvas_;
    const BoardModel& model_;
    Settings& settings_;
    Engine& engine_;
    DisplayState& state_;
    std::function<void()> timedGameEnded_;
    std::function<void()> beep_;
    std::function<void()> boardChanged_;
    static constexpr int kFrameMilliseconds = 16;
    QElapsedTimer lastFlush_;
    bool batchingCells_ = false;
    bool redrawingScreen_ = false;
};

}  // namespace tessaro
