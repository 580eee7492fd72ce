#pragma once

// Drives the offscreen main window through real input events while a menu command blocks in its
// nested loops: every input comes from a timer step that fires inside whatever loop is running.

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <bit>
#include <chrono>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/Canvas.h"
#include "display/ClientArea.h"
#include "display/Display.h"
#include "engine/Random.h"
#include "interaction/Interaction.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline std::ostream& operator<<(std::ostream& os, const QString& text) { return os << text.toStdString(); }

namespace tessaro::play {

// A temporary working directory holding copies of the shipped puzzle and help files; the old
// directory comes back when it goes away.
class ScopedWorkDir {
public:
    ScopedWorkDir() : old_(QDir::currentPath()) {
        const QDir source(QString::fromUtf8(TESSARO_SOURCE_DATA_DIR));
        for (const QString& name : source.entryList({"*.brd", "*.chm"}, QDir::Files)) {
            EXPECT_TRUE(QFile::copy(source.filePath(name), dir_.filePath(name))) << name.toStdString();
        }
        EXPECT_TRUE(QDir::setCurrent(dir_.path()));
    }
    ~ScopedWorkDir() { QDir::setCurrent(old_); }
    QString path() const { return dir_.path(); }

private:
    QString old_;
    QTemporaryDir dir_;
};

// Board positions.
inline QPoint CellPoint(int column, int row) { return {29 + (column - 1) * 60 + 30, 45 + (row - 1) * 60 + 30}; }
// Centre of picker item 1..9 of the picker over the cell.
inline QPoint PickerItemPoint(int column, int row, int item) {
    return {PickerLeft(column) + 30 * ((item - 1) % 3) + 15, PickerTop(row) + 30 * ((item - 1) / 3) + 15};
}

// The main window over its own game state, in its own working directory, seeded, with the exit
// recorded instead of ending the process and the leave pause and the beep replaced.
struct PlayRig {
    explicit PlayRig(std::uint64_t seed = 1, bool realPause = false) {
        SeedRandom(seed);
        window.SetExitHandler([this] { ++exitCalls; });
        if (!realPause) window.interaction().SetPause([] {});
        window.display().SetBeepHandler([this] { ++beeps; });
        window.display().canvas().SetTextRecorder(&texts);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~PlayRig() { window.display().canvas().SetTextRecorder(nullptr); }

    ClientArea& area() { return window.clientArea(); }
    Interaction& interaction() { return window.interaction(); }
    BoardModel& model() { return game.model; }
    Settings& settings() { return game.settings; }
    QColor Pixel(int x, int y) { return area().image().pixelColor(x, y); }

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
    Game game;
    MainWindow window{game};
    std::vector<TextCall> texts;
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
    rig.area().image().save(dir + "/" + name);
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

// ---- an exact Sudoku X solver, independent of the engine ------------------------------------

inline unsigned Allowed(const Grid& g, int x, int y) {
    unsigned used = 0;
    for (int i = 1; i <= 9; ++i) {
        used |= 1u << g[At(i, y)];
        used |= 1u << g[At(x, i)];
        if (x == y) used |= 1u << g[At(i, i)];
        if (x + y == 10) used |= 1u << g[At(i, 10 - i)];
    }
    const int bx = (x - 1) / 3 * 3 + 1;
    const int by = (y - 1) / 3 * 3 + 1;
    for (int j = by; j < by + 3; ++j)
        for (int i = bx; i < bx + 3; ++i) used |= 1u << g[At(i, j)];
    return ~used & 0x3FEu;
}

inline bool SolveExact(Grid& g) {
    int best = -1;
    unsigned bestMask = 0;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            if (g[At(x, y)] != 0) continue;
            const unsigned mask = Allowed(g, x, y);
            if (mask == 0) return false;
            if (best < 0 || std::popcount(mask) < std::popcount(bestMask)) {
                best = At(x, y);
                bestMask = mask;
            }
        }
    }
    if (best < 0) return true;
    for (int d = 1; d <= 9; ++d) {
        if (!(bestMask & (1u << d))) continue;
        g[static_cast<std::size_t>(best)] = static_cast<std::uint8_t>(d);
        if (SolveExact(g)) return true;
    }
    g[static_cast<std::size_t>(best)] = 0;
    return false;
}

// ---- the step driver ------------------------------------------------------------------------

// Steps run one after another from timers. A step waits (re-checking every millisecond) until
// its predicate holds; before its action runs it schedules the next step, so that step fires
// inside any nested loop the action opens. Steps may append further steps while they run.
// A step that never becomes ready, or a command that never returns, fails the test and the
// driver unwinds every open loop and dialog instead of hanging.
class StepDriver {
public:
    using Predicate = std::function<bool()>;
    using Action = std::function<void()>;

    explicit StepDriver(PlayRig& rig, std::chrono::milliseconds timeout = std::chrono::seconds(10))
        : rig_(rig), timeout_(timeout) {}

    // Acts once a mode takes input.
    StepDriver& Do(Action action) {
        return When([this] { return rig_.interaction().AcceptingInput(); }, std::move(action));
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
    StepDriver& When(Predicate ready, Action action) {
        steps_.push_back({std::move(ready), std::move(action)});
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
        Schedule(0, 0);
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

    bool Aborted() const { return aborted_; }

private:
    struct Step {
        Predicate ready;
        Action action;
    };

    void Schedule(std::size_t index, int delay) {
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
            Schedule(index, 1);
            return;
        }
        next_ = index + 1;
        Schedule(index + 1, 0);
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

}  // namespace tessaro::play
