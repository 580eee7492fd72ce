#include "halloffame/GameClock.h"

#include <QObject>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include "support/QStringPrint.h"

namespace tessaro {
namespace {

using namespace std::chrono_literals;

// A clock reading the test moves by hand; read from both threads.
struct FakeClock {
    GameClock::Clock::time_point base = GameClock::Clock::now();
    std::atomic<long long> ms{0};
    GameClock::Now Now() {
        return [this] { return base + std::chrono::milliseconds(ms.load()); };
    }
};

struct ClockRig {
    std::atomic<bool> running{false};
    FakeClock fake;
    QObject context;
    QStringList labels;
    GameClock clock{running, fake.Now()};

    ClockRig() {
        clock.context = &context;
        clock.label = [this](const QString& text) { labels << text; };
    }
    // A timed game with its worker running, as a new game starts it.
    void StartGame() {
        clock.StartClock();
        clock.ClockThread();
    }
    QString Shown() const { return labels.isEmpty() ? QString() : labels.last(); }
    bool ShowsSoon(const char* text, int ms = 1000) {
        return QTest::qWaitFor([&] { return Shown() == QLatin1String(text); }, ms);
    }
};

TEST(ClockRefresh, IdleStartAndSolve) {
    ClockRig rig;
    rig.clock.RefreshClock();
    EXPECT_EQ(rig.Shown(), " 99:99:99");

    rig.fake.ms = 5000;
    rig.clock.StartClock();
    EXPECT_TRUE(rig.running);
    EXPECT_EQ(rig.clock.championTime, "X");
    EXPECT_EQ(rig.Shown(), " 00:00:00");

    rig.fake.ms = 5000 + 65'440;
    rig.clock.RefreshClock();
    EXPECT_EQ(rig.Shown(), " 00:01:05");
    // Same second again: the label keeps its text.
    rig.clock.RefreshClock();
    EXPECT_EQ(rig.Shown(), " 00:01:05");

    QString entered, labelDuringEntry;
    bool runningDuringEntry = true;
    rig.clock.enterChampion = [&](const QString& time) {
        entered = time;
        labelDuringEntry = rig.Shown();
        runningDuringEntry = rig.running;
    };
    rig.clock.boardSolved = true;
    rig.clock.RefreshClock();
    EXPECT_EQ(entered, "00:01:05.4");
    EXPECT_EQ(labelDuringEntry, "00:01:05.4");
    EXPECT_FALSE(runningDuringEntry);
    EXPECT_EQ(rig.clock.championTime, "00:01:05.4");
    EXPECT_EQ(rig.Shown(), " 99:99:99");
}

TEST(ClockRefresh, SolveWithoutRunningClockEntersNothing) {
    ClockRig rig;
    bool entered = false;
    rig.clock.enterChampion = [&](const QString&) { entered = true; };
    rig.clock.boardSolved = true;
    rig.clock.RefreshClock();
    EXPECT_FALSE(entered);
    EXPECT_EQ(rig.Shown(), " 99:99:99");
}

TEST(ClockThread, LabelAdvancesAndStopsPromptly) {
    ClockRig rig;
    rig.StartGame();
    EXPECT_TRUE(rig.clock.WorkerActive());

    rig.fake.ms = 1000;
    EXPECT_TRUE(rig.ShowsSoon(" 00:00:01", 500));
    rig.fake.ms = 3600'000 + 2000;
    EXPECT_TRUE(rig.ShowsSoon(" 01:00:02", 500));

    const auto before = GameClock::Clock::now();
    rig.clock.StopClock();
    EXPECT_LT(GameClock::Clock::now() - before, GameClock::kStopWait);
    EXPECT_FALSE(rig.clock.WorkerActive());
    EXPECT_EQ(rig.Shown(), " 99:99:99");

    // Nothing queued by the worker may overwrite the idle text afterwards.
    rig.fake.ms = 3600'000 + 5000;
    QTest::qWait(150);
    EXPECT_EQ(rig.Shown(), " 99:99:99");
}

TEST(ClockThread, WorkerEndsByItselfWhenRunningFalls) {
    ClockRig rig;
    rig.StartGame();
    rig.running = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.clock.WorkerActive(); }, 200));
}

TEST(ClockThread, LabelHoldsWhileCellIsOpen) {
    ClockRig rig;
    rig.StartGame();
    rig.fake.ms = 1000;
    ASSERT_TRUE(rig.ShowsSoon(" 00:00:01", 500));

    rig.clock.cellInput = true;
    rig.fake.ms = 2000;
    QTest::qWait(200);
    EXPECT_EQ(rig.Shown(), " 00:00:01");
    rig.fake.ms = 3000;
    QTest::qWait(120);
    EXPECT_EQ(rig.Shown(), " 00:00:01");

    rig.clock.cellInput = false;
    EXPECT_TRUE(rig.ShowsSoon(" 00:00:03", 200));
    rig.clock.StopClock();
}

TEST(ClockThread, NewGameDropsTheOldWorkersTicks) {
    ClockRig rig;
    rig.StartGame();
    rig.fake.ms = 7000;
    ASSERT_TRUE(rig.ShowsSoon(" 00:00:07", 500));
    // Restart without the stop path: the old worker is replaced, the new game starts at zero.
    rig.StartGame();
    EXPECT_EQ(rig.Shown(), " 00:00:00");
    QTest::qWait(150);
    EXPECT_EQ(rig.Shown(), " 00:00:00");
    rig.fake.ms = 8000;
    EXPECT_TRUE(rig.ShowsSoon(" 00:00:01", 500));
    rig.clock.StopClock();
}

TEST(ClockThread, RealClockTicksAfterOneSecond) {
    std::atomic<bool> running{false};
    QObject context;
    QString shown;
    GameClock clock(running);
    clock.context = &context;
    clock.label = [&](const QString& text) { shown = text; };
    const auto start = GameClock::Clock::now();
    clock.StartClock();
    clock.ClockThread();
    EXPECT_EQ(shown, " 00:00:00");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown == " 00:00:01"; }, 2000));
    const auto took = GameClock::Clock::now() - start;
    EXPECT_GE(took, 1000ms);
    EXPECT_LT(took, 1400ms);
    clock.StopClock();
    EXPECT_EQ(shown, " 99:99:99");
}

}  // namespace
}  // namespace tessaro
