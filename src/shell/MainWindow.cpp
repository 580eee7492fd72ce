#include "shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QWindow>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QGuiApplication>
#include <QLayout>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "display/BoardAccessible.h"
#include "display/Canvas.h"
#include "display/ClockLabel.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "forms/AboutBox.h"
#include "forms/HallOfFameForms.h"
#include "forms/Placement.h"
#include "forms/Question.h"
#include "halloffame/ClockText.h"
#include "persistence/RecordFile.h"
#include "printing/Printing.h"
#include "shell/PlatformHelp.h"

namespace tessaro {
namespace {

const QString kHelpClickCellText = QStringLiteral("Bitte ein Feld anklicken!");

// "Die Puzzledatei "leicht.brd" fehlt oder ist beschädigt." and what follows, one sentence for one
// file and another for several, in one warning.
void TellUnreadablePuzzleFiles(QWidget* parent, const std::vector<std::string>& files, const QString& oneFile,
                               const QString& severalFiles) {
    QStringList names;
    for (const std::string& file : files) names << u'"' + QString::fromStdString(file) + u'"';
    const QString text =
        names.size() == 1
            ? QStringLiteral("Die Puzzledatei %1 fehlt oder ist beschädigt. %2").arg(names[0], oneFile)
            : QStringLiteral("Die Puzzledateien %1 und %2 fehlen oder sind beschädigt. %3")
                  .arg(names.mid(0, names.size() - 1).join(QStringLiteral(", ")), names.back(), severalFiles);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tessaro"), text, QMessageBox::Ok, parent);
    box.setObjectName("puzzleFileError");
    box.exec();
}

}  // namespace

QPoint WindowOrigin(int screenWidth, int screenHeight) {
    const auto x = static_cast<qint16>(std::lround((screenWidth - 862) / 2.0));
    const auto y = static_cast<qint16>(std::lround((screenHeight - 694) / 2.0 - 32));
    return {x, y};
}

QSize FittingClientSize(QSize available, QSize chrome) {
    const QSize room = available - chrome;
    const double scale = std::min({1.0, room.width() / double(kClientWidth), room.height() / double(kClientHeight)});
    return {static_cast<int>(kClientWidth * scale), static_cast<int>(kClientHeight * scale)};
}

MainWindow::MainWindow(Game& game) : game_(game) {
    setWindowTitle(kWindowTitle);
    QIcon icon;
    for (int size : {16, 24, 32, 48}) icon.addFile(QStringLiteral(":/icons/tessaro-%1.png").arg(size));
    setWindowIcon(icon);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        PlaceWindow(this, WindowOrigin(size.width(), size.height()));
    }

    area_ = new ClientArea(this);
    setCentralWidget(area_);
    new BoardAccessibility(*area_, game_.model, game_.settings, game_.display, [this] { return uhr_ ? uhr_->text() : QString(); });
    display_ = std::make_unique<Display>(*area_, game_.model, game_.settings, game_.engine, game_.display);
    display_->SetTimedGameEndedHandler([this] { game_.clock.RefreshClock(); });
    area_->SetRepaintCallback([this] {
        // The save-under is the empty background, as at start-up, at the new resolution.
        SaveUnderButtonRow();
        display_->RedrawScreen();
        if (interaction_) interaction_->RedrawControls();
    });

    PlayActions actions;
    actions.loadBoard = [this] { SlotDialog::Run(SlotMode::Load, game_.boardSlots, game_.engine, this); };
    actions.saveBoard = [this] { SlotDialog::Run(SlotMode::Save, game_.boardSlots, game_.engine, this); };
    actions.printBoard = [this] { PrintBoard(*printers_, game_.model, game_.settings); };
    actions.showHelp = [this] { ShowHelp(false); };
    actions.tell = [this](const QString& text) { ShowMessage(this, text); };
    interaction_ = std::make_unique<Interaction>(*display_, game_.engine, game_.clock, game_.interaction,
                                                 std::move(actions));
    interaction_->onCloseRequested = [this] { Win_0_Close(); };
    area_->SetInputSink(interaction_.get());
    printers_ = std::make_unique<SystemPrinterSource>(this);

    // Start-up, in order: hall of fame, menu bar, background, save-under, help text, clock label,
    // start screen, help system.
    if (const FileResult read = LoadChampions(game_.hallOfFame, kChampionsFile); MustTell(game_.hallOfFame, read)) {
        QTimer::singleShot(0, this, [this, read] { ReportChampionsFailure(this, kChampionsFile, read); });
    }
    BuildMenuBar();
    UpdateMenuChecks();
    SaveUnderButtonRow();
    game_.display.helpText = kHelpChooseMenu;

    uhr_ = new ClockLabel(QString::fromLatin1(kIdleClockText), area_);
    uhr_->setObjectName("uhr");
    uhr_->setFont(QFont("Arial", 24));
    uhr_->setAutoFillBackground(true);
    QPalette palette = uhr_->palette();
    palette.setColor(QPalette::Window, PaletteColour(kColourWhite));
    palette.setColor(QPalette::WindowText, PaletteColour(kColourBlack));
    uhr_->setPalette(palette);
    area_->Place(uhr_, QRect(646, 592, 160, 30));
    game_.clock.context = this;
    game_.clock.label = [this](const QString& text) {
        uhr_->ShowText(text);
        if (BoardAccessibility* access = BoardAccessibility::Of(area_)) access->PanelChanged(AccessiblePanel::Clock);
    };
    game_.clock.enterChampion = MakeChampionEntry(this, game_.hallOfFame, game_.settings.difficulty, kChampionsFile);

    display_->DrawStartScreen();
    game_.modernHelp = ModernHelpFromVersionWord(PlatformVersionWord());
    area_->canvas().SelectFont(kFontSystem);

    exit_ = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    resize(sizeHint());
    area_->setFocus();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    game_.settings.timedGame = false;
    game_.clock.StopClock();
    // The game outlives this window: its clock must not reach the label or the forms afterwards.
    game_.clock.label = nullptr;
    game_.clock.enterChampion = nullptr;
    game_.clock.context = nullptr;
    area_->SetInputSink(nullptr);
}

void MainWindow::SaveUnderButtonRow() {
    // (30, 598)-(568, 625) with both corners inside: drawn back one row higher it covers every
    // button, the right and bottom edges of the last one included.
    saveUnder_ = area_->Capture(QRect(QPoint(30, 598), QPoint(568, 625)));
}

void MainWindow::ShowFitted() {
    // Until the window is framed its frame is unknown: a title bar and borders are assumed.
    const qreal ratio = screen() ? screen()->devicePixelRatio() : 1.0;
    FitToScreen((QSizeF(8, 32) / ratio).toSize());
    fitOnFirstExpose_ = true;  // the application-wide filter sees the first expose
    show();
}

void MainWindow::FitToScreen(QSize frame) {
    const QScreen* shown = screen();
    if (!shown || isMaximized() || isFullScreen()) return;
    const QSize chrome = sizeHint() - area_->sizeHint();
    const QSize client = FittingClientSize(shown->availableGeometry().size(), chrome + frame);
    if (client == area_->size()) return;
    resize(client + chrome);
    const QRect available = shown->availableGeometry();
    const QSize outer = client + chrome + frame;
    PlaceWindow(this, available.topLeft() + QPoint((available.width() - outer.width()) / 2,
                                                   (available.height() - outer.height()) / 2));
}

void MainWindow::SetPrinterSource(std::unique_ptr<PrinterSource> source) { printers_ = std::move(source); }

QAction* MainWindow::MenuAction(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::AddEntries(QMenu* menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::Popup:
            AddEntries(menu->addMenu(QString::fromStdString(entry.caption)), entry.children);
            break;
        case MenuEntry::Kind::Command: {
            QAction* action = menu->addAction(QString::fromStdString(entry.caption));
            const int id = entry.id;
            connect(action, &QAction::triggered, this, [this, id] { Win_0_MenuEvent(id); });
            actions_[id] = action;
            break;
        }
        }
    }
}

void MainWindow::BuildMenuBar() {
    auto* bar = new QMenuBar(this);
    actions_.clear();
    for (const MenuEntry& popup : ParseMenuTable(MainMenuTable())) {
        AddEntries(bar->addMenu(QString::fromStdString(popup.caption)), popup.children);
    }
    for (int id : kCheckedCommands) {
        if (QAction* action = MenuAction(id)) action->setCheckable(true);
    }
    setMenuBar(bar);  // replaces and destroys any previous bar
}

void MainWindow::UpdateMenuChecks() {
    for (int id : kCheckedCommands) {
        if (QAction* action = MenuAction(id)) action->setChecked(false);
    }
    const Settings& settings = game_.settings;
    if (QAction* action = MenuAction(kCmdLeicht + settings.difficulty)) action->setChecked(true);
    if (QAction* action = MenuAction(settings.showDigits ? kCmdDigits : kCmdLetters)) action->setChecked(true);
    if (QAction* action = MenuAction(kCmdShowCandidates)) action->setChecked(settings.showCandidates);
}

void MainWindow::ShowHelp(bool overview) {
    OpenHelpPage(game_.help, game_.modernHelp, overview ? HelpPage::Overview : HelpPage::Explanation, this);
}

void MainWindow::NewGame() {
    Settings& settings = game_.settings;
    if (!StartPuzzle(game_.engine, settings.difficulty)) {
        // Never a game on the last board or an empty one: it could enter the hall of fame.
        TellUnreadablePuzzleFiles(this, {settings.currentFile}, QStringLiteral("Es wird kein Spiel gestartet."),
                                  QString());
        return;
    }
    display_->UpdateDifficultyPanel();
    game_.clock.StartClock();
    interaction_->GameModeLoop();
}

void MainWindow::RunCommand(int id) {
    Settings& settings = game_.settings;
    switch (id) {
    case kCmdAbout:
        ShowAboutBox(this);
        break;
    case kCmdNewGame:
        NewGame();
        break;
    case kCmdGameStart:
        interaction_->GameModeLoop();
        break;
    case kCmdOwnBoard:
        interaction_->OwnBoardMode();
        settings.ownBoard = false;
        break;
    case kCmdPrintGames: {
        const GamesPrint print = PrintGames(*printers_, game_.engine);
        display_->RedrawBoard();
        // After the job, so the message never stands between the player and the print dialog.
        if (!print.unreadableFiles.empty()) {
            TellUnreadablePuzzleFiles(this, print.unreadableFiles, QStringLiteral("Dieses Spiel fehlt auf dem Ausdruck."),
                                      QStringLiteral("Diese Spiele fehlen auf dem Ausdruck."));
        }
        break;
    }
    case kCmdLoadBoard:
        settings.currentFile = std::string(kBoardFile);
        SlotDialog::Run(SlotMode::Load, game_.boardSlots, game_.engine, this);
        display_->UpdateDifficultyPanel();
        display_->RedrawBoard();
        interaction_->GameModeLoop();
        break;
    case kCmdSaveBoard:
        SlotDialog::Run(SlotMode::Save, game_.boardSlots, game_.engine, this);
        interaction_->GameModeLoop();
        break;
    case kCmdSolveBoard:
        game_.engine.SolveWithRestart();
        break;
    case kCmdShuffleBoard:
        game_.engine.Shuffle();
        break;
    case kCmdRestart:
        game_.engine.Restart();
        interaction_->GameModeLoop();
        break;
    case kCmdClearBoard:
        game_.engine.ClearBoard();
        break;
    case kCmdPrintBoard:
        PrintBoard(*printers_, game_.model, settings);
        break;
    case kCmdLeicht: case kCmdMittel: case kCmdSchwer: case kCmdExtrem:
        settings.difficulty = id - kCmdLeicht;
        game_.display.ratedLevel = -1;  // the chosen level shows at once, also over a pasted puzzle's
        break;
    case kCmdDigits: case kCmdLetters:
        settings.showDigits = id == kCmdDigits;
        display_->RedrawBoard();
        display_->DrawStatisticsPanel();
        break;
    case kCmdShowCandidates:
        game_.engine.ToggleCandidateDisplay();
        break;
    case kCmdHallOfFame:
        ShowHallOfFame(this, game_.hallOfFame, settings.difficulty, kChampionsFile);
        break;
    case kCmdManual:
        ShowHelp(true);
        break;
    case kCmdQuit:
        ConfirmExit();
        break;
    default:
        break;
    }
}

void MainWindow::Win_0_MenuEvent(int id) {
    if (commandRunning_) return;  // the bar is off while a command runs; never nest
    commandRunning_ = true;
    game_.interaction.leaveRequest = false;
    menuBar()->setEnabled(false);
    if (AsksForCell(id)) {
        game_.display.helpText = kHelpClickCellText;
        display_->DrawHelpWindow();
    }
    if (!game_.modernHelp) WinHelpQuit(game_.help);
    game_.lastCommand = id;

    RunCommand(id);

    menuBar()->setEnabled(true);
    UpdateMenuChecks();
    display_->UpdateDifficultyPanel();
    display_->SetHelpText(kHelpChooseMenu);
    area_->Restore(saveUnder_, 30, 597);
    game_.settings.timedGame = false;
    game_.interaction.leaveRequest = false;
    commandRunning_ = false;
}

void MainWindow::ConfirmExit() {
    if (AskJaNein(this, QStringLiteral("Tessaro"), QStringLiteral("Spiel beenden?"), false)) exit_();
}

void MainWindow::Win_0_Close() {
    ConfirmExit();
    interaction_->RequestLeave();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (fitOnFirstExpose_ && watched == windowHandle() && type == QEvent::Expose) {
        // The first expose brings the real frame: fit once more with it.
        fitOnFirstExpose_ = false;
        QTimer::singleShot(0, this, [this] { FitToScreen(frameGeometry().size() - geometry().size()); });
    }
    auto* window = qobject_cast<QWindow*>(watched);
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && window && event->spontaneous()) {
        return TakeKeyForBoard(*window, *static_cast<QKeyEvent*>(event));
    }
    if (type == QEvent::Hide && qobject_cast<QDialog*>(watched)) {
        // The window manager gives the focus back in its own time; ask for it now.
        QTimer::singleShot(0, this, [this] {
            if (QApplication::activeModalWidget() || !isVisible()) return;
            if (!isActiveWindow()) activateWindow();
            area_->setFocus(Qt::ActiveWindowFocusReason);
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::TakeKeyForBoard(QWindow& window, const QKeyEvent& key) {
    // Only a play loop takes keys for the board; outside one they may be the menu's.
    const bool inMode = interaction_->InMode();
    const bool closed = !window.isVisible();
    const auto queue = [this](QKeyEvent* copy) {
        if (keysForBoard_.empty()) QMetaObject::invokeMethod(this, &MainWindow::HandKeysOver, Qt::QueuedConnection);
        keysForBoard_.emplace_back(copy);
    };
    if (!keysForBoard_.empty() && &window == windowHandle()) {
        queue(key.clone());  // after the keys handed over before it
        return true;
    }
    if (key.type() == QEvent::KeyPress) {
        // A press that reached a dialog after it closed was meant for the board.
        const bool taken = closed && inMode;
        keysDown_[key.key()] = taken;
        if (taken) queue(key.clone());
        return taken;
    }
    const auto down = keysDown_.find(key.key());
    if (down != keysDown_.end()) {
        const bool handedOver = down->second;
        if (!key.isAutoRepeat()) keysDown_.erase(down);
        if (handedOver) queue(key.clone());
        return handedOver || closed;  // a closed window needs no release
    }
    // No window saw the press: it fell into the gap between a dialog closing and the focus
    // coming back. The release stands for the whole keystroke.
    if (!inMode || (!closed && &window != windowHandle())) return false;
    queue(new QKeyEvent(QEvent::KeyPress, key.key(), key.modifiers(), key.nativeScanCode(), key.nativeVirtualKey(),
                        key.nativeModifiers(), key.text(), false, key.count()));
    queue(key.clone());
    return true;
}

void MainWindow::HandKeysOver() {
    std::vector<std::unique_ptr<QKeyEvent>> keys;
    keys.swap(keysForBoard_);
    if (QApplication::activeModalWidget()) return;  // a dialog opened meanwhile: they were not for it
    for (const auto& key : keys) QCoreApplication::sendEvent(area_, key.get());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The window stays unless the player confirms; confirming ends the process.
    event->ignore();
    Win_0_Close();
}

}  // namespace tessaro
