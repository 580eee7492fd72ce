#pragma once

// Drives the offscreen main window through real input events while a menu command blocks in its
// nested loops: every input comes from a timer step that fires inside whatever loop is running.

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "engine/Random.h"
#include "interaction/Interaction.h"
#include "printing/Printing.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"
#include "support/QStringPrint.h"
#include "support/SudokuX.h"

inline std::ostream& operator<<(std::ostream& os, const QString& text) { return os << text.toStdString(); }

namespace tessaro::play {

// Sanitizer builds run many times slower: deadlines grow and tight timings are not checked.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSlowBuild = true;
#else
inline constexpr bool kSlowBuild = false;
#endif

// A temporary working directory holding copies of the shipped puzzle and help files; the old
// directory comes back when it goes away.
class ScopedWorkDir {
public:
    ScopedWorkDir() : old_(QDir::currentPath()) {
        EXPECT_TRUE(dir_.isValid());
        const QDir source(QString::fromUtf8(TESSARO_SOURCE_DATA_DIR));
        for (const QString& name : source.entryList({"*.brd", "*.chm"}, QDir::Files)) {
            EXPECT_TRUE(QFile::copy(source.filePath(name), dir_.filePath(name))) << name.toStdString();
        }
        EXPECT_TRUE(QDir::setCurrent(dir_.path()));
    }
    ~ScopedWorkDir() { QDir::setCurrent(old_); }
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    QString path() const { return dir_.path(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QByteArray Bytes(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
    }
    bool Exists(const QString& name) const { return QFile::exists(Path(name)); }

private:
    QString old_;
    QTemporaryDir dir_;
};

// Hands out PDF printers writing into the working directory, or nothing (a cancelled dialog).
class PdfPrinters final : public PrinterSource {
public:
    explicit PdfPrinters(const ScopedWorkDir& dir) : dir_(dir) {}
    std::unique_ptr<QPrinter> SelectPrinter() override {
        ++calls;
        if (cancel) return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setResolution(150);
        printer->setPageSize(QPageSize(QPageSize::A4));
        lastFile = dir_.Path(QStringLiteral("print%1.pdf").arg(calls));
        printer->setOutputFileName(lastFile);
        return printer;
    }
    bool cancel = false;
    int calls = 0;
    QString lastFile;

private:
    const ScopedWorkDir& dir_;
};

inline constexpr char kIdle[] = " 99:99:99";

// Board positions.
inline QPoint CellPoint(int column, int row) { return {CellLeft(column) + kCellSize / 2, CellTop(row) + kCellSize / 2}; }
// Centre of picker item 1..9 of the picker over the cell.
inline QPoint PickerItemPoint(int column, int row, int item) {
    return {PickerLeft(column) + kPickerItemSize * ((item - 1) % 3) + kPickerItemSize / 2,
            PickerTop(row) + kPickerItemSize * ((item - 1) / 3) + kPickerItemSize / 2};
}

// The main window over its own game state, in its own working directory, seeded, with the exit
// recorded instead of ending the process, the leave pause and the beep replaced, printing going
// to PDF files and the texts drawn and clock captions shown recorded.
struct PlayRig {
    explicit PlayRig(std::uint64_t seed = 1, bool realPause = false) {
        SeedRandom(seed);
        window.SetExitHandler([this] { ++exitCalls; });
        if (!realPause) window.interaction().SetPause([] {});
        window.display().SetBeepHandler([this] { ++beeps; });
        window.display().canvas().SetTextRecorder(&texts);
        auto source = std::make_unique<PdfPrinters>(workDir);
        printers = source.get();
        window.SetPrinterSource(std::move(source));
        // Every caption the clock label gets, in order (repeats folded).
        auto show = game.clock.label;
        game.clock.label = [this, show](const QString& text) {
            if (labels.isEmpty() || labels.last() != text) labels << text;
            show(text);
        };
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~PlayRig() { window.display().canvas().SetTextRecorder(nullptr); }

    ClientArea& area() { return window.clientArea(); }
    Interaction& interaction() { return window.interaction(); }
    BoardModel& model() { return game.model; }
    Settings& settings() { return game.settings; }
    QString clock() { return window.clockLabel().text(); }
    // A pixel as the screen shows it, the overlay included.
    QColor Pixel(int x, int y) { return area().Composed().pixelColor(x, y); }

    // Runs the menu command the way the menu bar does.
    void Trigger(int id) {
        QAction* action = window.MenuAction(id);
        ASSERT_NE(action, nullptr) << id;
        action->trigger();
    }
    // Whether a text starting with `prefix` was drawn at (x, y) since the recorder was last cleared.
    bool Drew(int x, int y, const QString& prefix) const {
        for (const TextCall& call : texts) {
            if (call.x == x && call.y == y && call.text.startsWith(prefix)) return true;
        }
        return false;
    }

    ScopedWorkDir workDir;
    QStringList labels;  // declared before the window: its destructor still sets the label
    Game game;
    MainWindow window{game};
    std::vector<TextCall> texts;
    PdfPrinters* printers = nullptr;
    int exitCalls = 0;
    int beeps = 0;
};

// ---- what every menu command leaves behind --------------------------------------------------

inline const QColor kBackground(180, 201, 208);  // colour 12

// The empty button bar that the save-under bitmap puts back: background inside, and its bottom
// row one even line (the bar's frame), with no edge of a button left anywhere.
inline bool ButtonRowWiped(PlayRig& rig) {
    for (int y = 597; y <= 624; ++y) {
        for (int x = 30; x <= 568; ++x) {
            const QColor expected = y < 624 ? kBackground : rig.Pixel(30, 624);
            if (rig.Pixel(x, y) != expected) {
                ADD_FAILURE() << "button bar pixel (" << x << ", " << y << ") is left over";
                return false;
            }
        }
    }
    return true;
}

// The last text drawn at (x, y), or a null string.
inline QString LastTextAt(const PlayRig& rig, int x, int y) {
    for (auto it = rig.texts.rbegin(); it != rig.texts.rend(); ++it) {
        if (it->x == x && it->y == y) return it->text;
    }
    return {};
}

inline bool DrewText(const PlayRig& rig, const QString& prefix) {
    for (const TextCall& call : rig.texts) {
        if (call.text.startsWith(prefix)) return true;
    }
    return false;
}

inline QString DifficultyName(int level) {
    return QString::fromUtf8(kDifficultyNames[static_cast<std::size_t>(level)].data());
}

// The dispatcher's closing steps: check marks, difficulty panel, help text, wiped button row,
// clock and leave flags off, menu bar back on.
inline void ExpectClosingSteps(PlayRig& rig) {
    const Settings& s = rig.settings();
    for (int id : {30, 31, 32, 33}) {
        EXPECT_EQ(rig.window.MenuAction(id)->isChecked(), id == 30 + s.difficulty) << "item " << id;
    }
    EXPECT_EQ(rig.window.MenuAction(40)->isChecked(), s.showDigits);
    EXPECT_EQ(rig.window.MenuAction(41)->isChecked(), !s.showDigits);
    EXPECT_EQ(rig.window.MenuAction(44)->isChecked(), s.showCandidates);
    EXPECT_TRUE(LastTextAt(rig, 656, 426).startsWith(DifficultyName(s.difficulty))) << LastTextAt(rig, 656, 426);
    EXPECT_EQ(rig.game.display.helpText, kHelpChooseMenu);
    EXPECT_EQ(LastTextAt(rig, 616, 515), kHelpChooseMenu);
    EXPECT_TRUE(ButtonRowWiped(rig));
    EXPECT_FALSE(s.timedGame);
    EXPECT_FALSE(rig.game.interaction.leaveRequest);
    EXPECT_TRUE(rig.window.menuBar()->isEnabled());
    EXPECT_FALSE(rig.window.CommandRunning());
    EXPECT_FALSE(rig.interaction().InMode());
}

// Keeps a picture of the client area for looking at.
inline void SaveShot(PlayRig& rig, const QString& name) {
    const QString dir = QString::fromUtf8(TESSARO_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    rig.area().Composed().save(dir + "/" + name);
}

template <class T>
T* Child(QWidget* form, const char* name) {
    T* child = form ? form->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// ---- input, as the player gives it ---------------------------------------------------------

inline void Press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(w, button, Qt::NoModifier, at);
}
inline void Release(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(w, button, Qt::NoModifier, at);
}
inline void Move(QWidget* w, QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}
// A key pressed and released (the button loops act on the release).
inline void KeyUp(QWidget* w, Qt::Key key) { QTest::keyClick(w, key); }
// Press and release of a key that types `c`.
inline void Type(QWidget* w, char c) { QTest::keyClick(w, c); }

template <class T>
T* Modal() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// ---- boards and their solutions (from the independent solver, not the engine) --------------

// The grid with its empty cells filled by a completion; false when it has none.
inline bool Solve(Grid& grid) {
    sx::Cells solution{};
    if (sx::CountSolutions(sx::GridCells(grid), 1, &solution) == 0) return false;
    grid = sx::ToGrid(solution);
    return true;
}

// Digits 1..9 that could stand in the empty cell without a repeat, as bits 1..9.
inline unsigned Allowed(const Grid& grid, int x, int y) {
    return sx::CandidateMask(sx::GridCells(grid), sx::Index(x, y));
}

// The solution of the board's givens (the shipped puzzles have exactly one).
inline sx::Cells SolutionOf(const BoardModel& model) {
    sx::Cells solution{};
    EXPECT_EQ(sx::CountSolutions(sx::GivenCells(model), 2, &solution), 1);
    return solution;
}

// Fills every free cell but (column, row) with its solution digit, so one more entry completes
// the board. Returns the digit that belongs into (column, row).
inline int FillAllBut(BoardModel& model, int column, int row) {
    const sx::Cells solution = SolutionOf(model);
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            if (model.given(x, y) != 0) continue;
            model.cell(x, y) = (x == column && y == row) ? 0 : static_cast<std::uint8_t>(solution[sx::Index(x, y)]);
        }
    }
    return solution[sx::Index(column, row)];
}

// The first cell (in reading order) that is not a given.
inline QPoint FirstFreeCell(const BoardModel& model) {
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            if (model.given(x, y) == 0) return {x, y};
    return {0, 0};
}

// ---- the step driver ------------------------------------------------------------------------

// Steps run one after another from timers. A step waits (re-checking every millisecond, after an
// optional delay) until its predicate holds; before its action runs it schedules the next step,
// so that step fires inside any nested loop or form the action opens. Steps may append further
// steps while they run. A step that never becomes ready, or a command that never returns, fails
// the test and the driver unwinds every open loop and dialog instead of hanging.
class StepDriver {
public:
    using Predicate = std::function<bool()>;
    using Action = std::function<void()>;

    explicit StepDriver(PlayRig& rig, std::chrono::milliseconds timeout = std::chrono::seconds(15))
        : rig_(rig), timeout_(kSlowBuild ? std::max<std::chrono::milliseconds>(timeout, std::chrono::minutes(5)) : timeout) {}

    // Acts once a mode (a play loop or the picker) takes input.
    StepDriver& Do(Action action) {
        return When([this] { return rig_.interaction().AcceptingInput(); }, std::move(action));
    }
    // Acts once a play loop, not the picker, takes input.
    StepDriver& InLoop(Action action) {
        return When([this] { return rig_.interaction().AcceptingInput() && !rig_.interaction().PickerOpen(); },
                    std::move(action));
    }
    StepDriver& InPicker(Action action) {
        return When([this] { return rig_.interaction().PickerOpen(); }, std::move(action));
    }
    // Acts right after the previous step, whatever runs.
    StepDriver& Then(Action action) {
        return When([] { return true; }, std::move(action));
    }
    // Acts on the modal dialog with this object name (any modal dialog when empty).
    StepDriver& OnModal(const QString& name, std::function<void(QWidget*)> act) {
        return When(
            [name] {
                QWidget* modal = QApplication::activeModalWidget();
                return modal && (name.isEmpty() || modal->objectName() == name);
            },
            [act = std::move(act)] { act(QApplication::activeModalWidget()); });
    }
    // Acts on the modal form of this class.
    template <class T>
    StepDriver& OnModal(std::function<void(T*)> act) {
        return When([] { return Modal<T>() != nullptr; }, [act = std::move(act)] { act(Modal<T>()); });
    }
    // Acts after at least `ms` milliseconds of real time, whatever is open then.
    StepDriver& After(int ms, Action action) {
        return When([] { return true; }, std::move(action), ms);
    }
    // Acts once `ready` holds, looked at first `delayMs` after the previous step.
    StepDriver& When(Predicate ready, Action action, int delayMs = 0) {
        steps_.push_back({std::move(ready), std::move(action), delayMs});
        return *this;
    }

    // ---- common gestures (a press and its release are separate steps) ----
    StepDriver& Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        Do([this, at, button] { Press(&rig_.area(), at, button); });
        return Then([this, at, button] { Release(&rig_.area(), at, button); });
    }
    StepDriver& PickerClick(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        InPicker([this, at, button] { Press(&rig_.area(), at, button); });
        return Then([this, at, button] { Release(&rig_.area(), at, button); });
    }
    // The key press types into the picker; its release comes as a separate event afterwards, as
    // from a real keyboard.
    StepDriver& PickerType(char c) {
        InPicker([this, c] { QTest::keyPress(&rig_.area(), c); });
        return Then([this, c] { QTest::keyRelease(&rig_.area(), c); });
    }
    StepDriver& Key(Qt::Key key) {
        return Do([this, key] { KeyUp(&rig_.area(), key); });
    }
    // Esc pressed and released in a play loop: leaves it.
    StepDriver& Leave() {
        return Do([this] { QTest::keyClick(&rig_.area(), Qt::Key_Escape); });
    }

    // Runs the command (it may block in nested loops) while the steps feed it input. Every step
    // must have run by the time the command returns.
    void Run(const std::function<void()>& command) {
        next_ = 0;
        aborted_ = false;
        deadline_ = QDeadlineTimer(timeout_);
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            if (!aborted_ && deadline_.hasExpired()) {
                ADD_FAILURE() << "timed out with step " << next_ << " of " << steps_.size() << " next";
                Abort();
            }
        });
        watchdog.start(50);
        Schedule(0);
        command();
        watchdog.stop();
        unwinder_.stop();
        ReleaseHeldButtons();
        if (!aborted_ && next_ < steps_.size()) {
            ADD_FAILURE() << "the command returned before step " << next_ << " of " << steps_.size() << " ran";
        }
        aborted_ = true;  // timers still queued do nothing
        steps_.clear();
    }

    // Runs the menu command as the menu bar does.
    void Run(int id) {
        QAction* action = rig_.window.MenuAction(id);
        ASSERT_NE(action, nullptr) << id;
        SCOPED_TRACE(testing::Message() << "menu command " << id);
        Run([action] { action->trigger(); });
    }

    bool Aborted() const { return aborted_; }

private:
    struct Step {
        Predicate ready;
        Action action;
        int delayMs;
    };

    void Schedule(std::size_t index, bool retry = false) {
        const int delay = retry ? 1 : (index < steps_.size() ? steps_[index].delayMs : 0);
        QTimer::singleShot(delay, &context_, [this, index] { RunStep(index); });
    }

    void RunStep(std::size_t index) {
        if (aborted_ || index >= steps_.size()) return;
        if (deadline_.hasExpired()) {
            ADD_FAILURE() << "step " << index << " of " << steps_.size() << " never became ready";
            Abort();
            return;
        }
        if (!steps_[index].ready()) {
            Schedule(index, true);
            return;
        }
        next_ = index + 1;
        Schedule(index + 1);
        const Action action = steps_[index].action;  // the action may append steps
        action();
    }

    // Ends whatever is open: dialogs are rejected, the picker and the loops get Esc.
    void Abort() {
        aborted_ = true;
        QObject::disconnect(&unwinder_, nullptr, nullptr, nullptr);
        QObject::connect(&unwinder_, &QTimer::timeout, [this] {
            if (QGuiApplication::mouseButtons() != Qt::NoButton) {
                ReleaseHeldButtons();  // a wait for the release ends first
            } else if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            } else if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            } else if (rig_.interaction().PickerOpen()) {
                QTest::keyPress(&rig_.area(), Qt::Key_Escape);
            } else if (rig_.interaction().AcceptingInput()) {
                QTest::keyClick(&rig_.area(), Qt::Key_Escape);
            } else if (!rig_.window.CommandRunning()) {
                unwinder_.stop();
            }
        });
        unwinder_.start(5);
    }

    // A press that left its mode (the Abbruch button) has no release step: the button would stay
    // held for the next command's waits.
    void ReleaseHeldButtons() {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            if (QGuiApplication::mouseButtons() & button) QTest::mouseRelease(&rig_.area(), button, Qt::NoModifier, {0, 0});
        }
    }

    PlayRig& rig_;
    std::chrono::milliseconds timeout_;
    std::deque<Step> steps_;
    std::size_t next_ = 0;
    bool aborted_ = false;
    QDeadlineTimer deadline_;
    QObject context_;
    QTimer unwinder_;
};

// Completes the board in play: all free cells but one are filled, the last one through the picker.
inline void CompleteBoard(PlayRig& rig, StepDriver& steps) {
    auto cell = std::make_shared<QPoint>();
    auto digit = std::make_shared<int>(0);
    steps.InLoop([&rig, cell, digit] {
        *cell = FirstFreeCell(rig.model());
        *digit = FillAllBut(rig.model(), cell->x(), cell->y());
        rig.game.engine.ModelReplaced();
        rig.window.display().RedrawBoard();
    });
    steps.InLoop([&rig, cell] { Press(&rig.area(), CellPoint(cell->x(), cell->y())); });
    steps.Then([&rig, cell] { Release(&rig.area(), CellPoint(cell->x(), cell->y())); });
    steps.InPicker([&rig, digit] { QTest::keyClick(&rig.area(), static_cast<char>('0' + *digit)); });
}

}  // namespace tessaro::play
