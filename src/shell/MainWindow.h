#pragma once

#include <QImage>
#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "display/ClockLabel.h"
#include "shell/Game.h"
#include "shell/MenuTable.h"

class QAction;
class QKeyEvent;
class QWindow;
class QLabel;
class QMenu;

namespace tessaro {

class ClientArea;
class Display;
class Interaction;
class PrinterSource;

inline const QString kWindowTitle = QStringLiteral("Tessaro V5.0 by Morvel");

// Top left of the window: centred horizontally, 32 pixels above the vertical centre.
QPoint WindowOrigin(int screenWidth, int screenHeight);

// The largest client-area size of the default's aspect ratio, at most the default, that fits into
// `available` beside `chrome` (menu bar and window frame).
QSize FittingClientSize(QSize available, QSize chrome);

// Window 0: the menu bar, the client area with everything drawn, the clock label `uhr`, and the
// menu command dispatch.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Game& game);
    ~MainWindow() override;

    // Shows the window; one that does not fit its screen's available area opens at the largest
    // size that fits, looked at again once the window manager has framed it.
    void ShowFitted();

    // Runs one menu command to completion (it may enter a play loop and return only when that ends).
    void Win_0_MenuEvent(int id);
    void UpdateMenuChecks();
    // The exit question; returns only when the player declines.
    void ConfirmExit();
    void Win_0_Close();

    // What "&JA" at the exit question does (ends the process at once unless replaced).
    void SetExitHandler(std::function<void()> handler) { exit_ = std::move(handler); }
    void SetPrinterSource(std::unique_ptr<PrinterSource> source);

    Game& game() { return game_; }
    ClientArea& clientArea() { return *area_; }
    Display& display() { return *display_; }
    Interaction& interaction() { return *interaction_; }
    QLabel& clockLabel() { return *uhr_; }
    QAction* MenuAction(int id) const;
    bool CommandRunning() const { return commandRunning_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Hands the keyboard back to the board when a dialog closes (see HandKeysOver), and fits the
    // window once more when its first expose brings the real frame.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitToScreen(QSize frame);
    // Keeps the button row's area as it is now (the empty background) for wiping the buttons.
    void SaveUnderButtonRow();
    void BuildMenuBar();
    void AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
    void RunCommand(int id);
    void NewGame();
    void ShowHelp(bool overview);
    // A key that the window system sent to a dialog after it closed, or whose press no window
    // saw (lost while the focus came back), is taken for the board; true when it was taken.
    bool TakeKeyForBoard(QWindow& window, const QKeyEvent& key);
    // The keys taken for the board, with any that followed them, go there in their order, unless
    // another dialog has opened meanwhile.
    void HandKeysOver();

    Game& game_;
    ClientArea* area_ = nullptr;
    ClockLabel* uhr_ = nullptr;
    std::unique_ptr<Display> display_;
    std::unique_ptr<Interaction> interaction_;
    std::unique_ptr<PrinterSource> printers_;
    std::map<int, QAction*> actions_;
    QImage saveUnder_;
    bool commandRunning_ = false;
    bool fitOnFirstExpose_ = false;  // set by ShowFitted
    std::function<void()> exit_;
    std::vector<std::unique_ptr<QKeyEvent>> keysForBoard_;
    std::map<int, bool> keysDown_;  // keys whose press a window saw; true: it was taken for the board
};

}  // namespace tessaro
