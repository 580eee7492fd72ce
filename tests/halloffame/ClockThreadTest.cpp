#include "halloffame/GameClock.h"

#include <QObject>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

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
    // The worker wakes at each whole second of real time, then reads the fake clock.
    bool ShowsSoon(const char* text, int ms = 1500) {
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
    EXPECT_TRUE(rig.ShowsSoon(" 00:00:01"));
    rig.fake.ms = 3600'000 + 2000;
    EXPECT_TRUE(rig.ShowsSoon(" 01:00:02"));

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
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.clock.WorkerActive(); }, 1500));
}

TEST(ClockThread, LabelHoldsWhileCellIsOpen) {
    ClockRig rig;
    rig.StartGame();
    rig.fake.ms = 1000;
    ASSERT_TRUE(rig.ShowsSoon(" 00:00:01"));

    rig.clock.cellInput = true;
    rig.fake.ms = 2000;
    QTest::qWait(1200);  // past the worker's next wake-up
    EXPECT_EQ(rig.Shown(), " 00:00:01");

    rig.fake.ms = 3000;
    rig.clock.cellInput = false;
    EXPECT_TRUE(rig.ShowsSoon(" 00:00:03"));
    rig.clock.StopClock();
}

TEST(ClockThread, NewGameDropsTheOldWorkersTicks) {
    ClockRig rig;
    rig.StartGame();
    rig.fake.ms = 7000;
    ASSERT_TRUE(rig.ShowsSoon(" 00:00:07"));
    // Restart without the stop path: the old worker is replaced, the new game starts at zero.
    rig.StartGame();
    EXPECT_EQ(rig.Shown(), " 00:00:00");
    QTest::qWait(150);
    EXPECT_EQ(rig.Shown(), " 00:00:00");
    rig.fake.ms = 8000;
    EXPECT_TRUE(rig.ShowsSoon(" 00:00:01"));
    rig.clock.StopClock();
}

// A pause ends the worker (no wake-ups while paused) and its time is not counted, not even by
// the final readout.
TEST(ClockPause, PausedTimeIsNotCounted) {
    ClockRig rig;
    rig.StartGame();
    rig.fake.ms = 2400;
    ASSERT_TRUE(rig.ShowsSoon(" 00:00:02"));
    rig.clock.PauseClock();
    EXPECT_FALSE(rig.clock.WorkerActive());
    rig.fake.ms = 2400 + 3600'000;
    rig.clock.RefreshClock();
    EXPECT_EQ(rig.Shown(), " 00:00:02");
    rig.clock.ResumeClock();
    EXPECT_TRUE(rig.clock.WorkerActive());
    rig.fake.ms += 1000;
    EXPECT_TRUE(rig.ShowsSoon(" 00:00:03"));
    QString entered;
    rig.clock.enterChampion = [&](const QString& time) { entered = time; };
    rig.fake.ms += 100;
    rig.clock.boardSolved = true;
    rig.clock.RefreshClock();
    EXPECT_EQ(entered, "00:00:03.5");
}

// Over three seconds of a game the label turns on each second, and the worker reads the clock
// once when it starts and once per wake-up: it sleeps between the seconds.
TEST(ClockThread, RealClockWakesOnlyToTurnTheLabel) {
    std::atomic<bool> running{false};
    QObject context;
    const auto uiThread = std::this_thread::get_id();
    std::atomic<int> workerReads{0};
    GameClock clock(running, [&] {
        if (std::this_thread::get_id() != uiThread) ++workerReads;
        return GameClock::Clock::now();
    });
    const auto start = GameClock::Clock::now();
    QStringList shown;
    std::vector<GameClock::Clock::duration> at;
    clock.context = &context;
    clock.label = [&](const QString& text) {
        shown << text;
        at.push_back(GameClock::Clock::now() - start);
    };
    clock.StartClock();
    clock.ClockThread();
    QTest::qWait(3300);
    EXPECT_LE(workerReads.load(), 7);
    clock.StopClock();
    ASSERT_EQ(shown, QStringList({" 00:00:00", " 00:00:01", " 00:00:02", " 00:00:03", " 99:99:99"}));
    for (int second = 1; second <= 3; ++second) {
        EXPECT_GE(at[second], second * 1000ms);
        EXPECT_LT(at[second], second * 1000ms + 400ms);
    }
}

}  // namespace
}  // namespace tessaro
