#pragma once

// The real main window in a scratch working directory, and a driver that feeds it input from
// timers while a menu command blocks in its nested loops and modal forms.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "display/ClientArea.h"
#include "display/Display.h"
#include "engine/Random.h"
#include "interaction/Interaction.h"
#include "printing/Printing.h"
#include "shell/Game.h"
#include "shell/MainWindow.h"
#include "support/SudokuX.h"

// Readable QStrings in test failures (internal linkage: other test headers may print them too).
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace tessaro::wiring {

// Sanitizer builds run many times slower: deadlines grow and tight timings are not checked.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSlowBuild = true;
#else
inline constexpr bool kSlowBuild = false;
#endif

// A temporary working directory with copies of the shipped puzzle files and help archive; the
// previous directory is restored when it goes away.
class ScratchDir {
public:
    ScratchDir() : previous_(QDir::currentPath()) {
        EXPECT_TRUE(dir_.isValid());
        const QDir source(QStringLiteral(TESSARO_SOURCE_DATA_DIR));
        for (const char* name : {"leicht.brd", "mittel.brd", "schwer.brd", "extrem.brd", "Kalvix.chm"}) {
            EXPECT_TRUE(QFile::copy(source.filePath(QString::fromLatin1(name)), dir_.filePath(QString::fromLatin1(name))))
                << name;
        }
        EXPECT_TRUE(QDir::setCurrent(dir_.path()));
    }
    ~ScratchDir() { QDir::setCurrent(previous_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QByteArray Bytes(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
    }
    bool Exists(const QString& name) const { return QFile::exists(Path(name)); }

private:
    QString previous_;
    QTemporaryDir dir_;
};

// Hands out PDF printers writing into the scratch directory, or nothing (a cancelled dialog).
class PdfPrinters final : public PrinterSource {
public:
    explicit PdfPrinters(const ScratchDir& dir) : dir_(dir) {}
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
    const ScratchDir& dir_;
};

// The main window over its own game in its own directory, seeded, with the exit recorded, the
// 200 ms leave pause skipped and printing going to PDF files.
struct Rig {
    explicit Rig(std::uint64_t seed = 7) {
        SeedRandom(seed);
        window.SetExitHandler([this] { ++exits; });
        window.interaction().SetPause([] {});
        auto source = std::make_unique<PdfPrinters>(dir);
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

    ClientArea& area() { return window.clientArea(); }
    Interaction& interaction() { return window.interaction(); }
    QString clock() { return window.clockLabel().text(); }
    BoardModel& model() { return game.model; }
    Settings& settings() { return game.settings; }

    ScratchDir dir;
    QStringList labels;  // declared before the window: its destructor still sets the label
    Game game;
    MainWindow window{game};
    PdfPrinters* printers = nullptr;
    int exits = 0;
};

inline constexpr char kIdle[] = " 99:99:99";

inline QPoint CellCentre(int column, int row) { return {29 + (column - 1) * 60 + 30, 45 + (row - 1) * 60 + 30}; }

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

template <class T>
T* Modal() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// Steps run one after another from timers. A step waits (re-checked every millisecond, after an
// optional delay) until its predicate holds; it schedules the next step before its action runs,
// so the next step fires inside any loop or form the action opens. A deadline fails the test and
// unwinds whatever is open instead of hanging.
class Steps {
public:
    using Predicate = std::function<bool()>;
    using Action = std::function<void()>;

    explicit Steps(Rig& rig, std::chrono::milliseconds timeout = std::chrono::seconds(kSlowBuild ? 300 : 15))
        : rig_(rig), timeout_(timeout) {}

    Steps& When(Predicate ready, Action action, int delayMs = 0) {
        steps_.push_back({std::move(ready), std::move(action), delayMs});
        return *this;
    }
    // Once a play loop (or the picker) takes input.
    Steps& InLoop(Action action) {
        return When([this] { return rig_.interaction().AcceptingInput() && !rig_.interaction().PickerOpen(); },
                    std::move(action));
    }
    Steps& InPicker(Action action) {
        return When([this] { return rig_.interaction().PickerOpen(); }, std::move(action));
    }
    template <class T>
    Steps& OnModal(std::function<void(T*)> act) {
        return When([] { return Modal<T>() != nullptr; }, [act = std::move(act)] { act(Modal<T>()); });
    }
    // Runs after at least `ms` milliseconds of real time, whatever is open then.
    Steps& After(int ms, Action action) {
        return When([] { return true; }, std::move(action), ms);
    }

    // Gestures.
    Steps& Key(Qt::Key key) {
        return InLoop([this, key] { QTest::keyClick(&rig_.area(), key); });
    }
    // A press and a release in the play loop; a press that opens the picker or a form returns only
    // when that closes, so the release is its own step.
    Steps& Click(QPoint at) {
        InLoop([this, at] { QTest::mousePress(&rig_.area(), Qt::LeftButton, {}, at); });
        return When([] { return true; }, [this, at] { QTest::mouseRelease(&rig_.area(), Qt::LeftButton, {}, at); });
    }
    Steps& Type(char c) {
        return InPicker([this, c] { QTest::keyClick(&rig_.area(), c); });
    }
    Steps& Leave() { return Key(Qt::Key_Escape); }

    // Runs the menu command as the menu bar does while the steps give the input. Every step must
    // have run when the command returns.
    void Run(int id) {
        QAction* action = rig_.window.MenuAction(id);
        ASSERT_NE(action, nullptr) << id;
        next_ = 0;
        aborted_ = false;
        deadline_ = QDeadlineTimer(timeout_);
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            if (!aborted_ && deadline_.hasExpired()) {
                ADD_FAILURE() << "timed out before step " << next_ << " of " << steps_.size();
                Abort();
            }
        });
        watchdog.start(50);
        Schedule(0);
        action->trigger();
        watchdog.stop();
        unwinder_.stop();
        if (!aborted_ && next_ < steps_.size()) {
            ADD_FAILURE() << "menu command " << id << " returned before step " << next_ << " of " << steps_.size();
        }
        aborted_ = true;  // timers still queued do nothing
        steps_.clear();
    }

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
        if (deadline_.hasExpired()) return;  // the watchdog reports and unwinds
        if (!steps_[index].ready()) {
            Schedule(index, true);
            return;
        }
        next_ = index + 1;
        Schedule(index + 1);
        const Action action = steps_[index].action;
        action();
    }

    void Abort() {
        aborted_ = true;
        QObject::connect(&unwinder_, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            } else if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            } else if (rig_.interaction().PickerOpen()) {
                QTest::keyClick(&rig_.area(), Qt::Key_Escape);
            } else if (rig_.interaction().AcceptingInput()) {
                QTest::keyClick(&rig_.area(), Qt::Key_Escape);
            }
        });
        unwinder_.start(5);
    }

    Rig& rig_;
    std::chrono::milliseconds timeout_;
    std::deque<Step> steps_;
    std::size_t next_ = 0;
    bool aborted_ = false;
    QDeadlineTimer deadline_;
    QObject context_;
    QTimer unwinder_;
};

}  // namespace tessaro::wiring
