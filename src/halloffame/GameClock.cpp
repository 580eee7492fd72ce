#include "halloffame/GameClock.h"

#include "halloffame/ClockText.h"

#include <QMetaObject>
#include <QObject>

#include <algorithm>
#include <condition_variable>

namespace tessaro {

GameClock::GameClock(std::atomic<bool>& runningFlag, Now now) : running(runningFlag), now_(std::move(now)) {}

GameClock::~GameClock() { EndWorker(); }

void GameClock::StartClock() {
    running = true;
    {
        std::lock_guard guard(mutex_);
        start_ = now_();
        pausedAt_.reset();
        lastTick_ = -1;
        elapsed_ = 0.0;
        hours_ = minutes_ = 0;
        lastText_.clear();
    }
    boardSolved = false;
    championTime = QStringLiteral("X");
    ++session_;
    RefreshClock();
}

bool GameClock::Tick(Clock::time_point now, QString& text, double* total) {
    std::lock_guard guard(mutex_);
    if (pausedAt_) now = *pausedAt_;
    double seconds = std::chrono::duration<double>(now - start_).count();
    if (!(seconds > 0.0)) seconds = 0.0;
    if (total) *total = seconds;
    // Whole seconds since the start: the label turns as each second of the game has passed.
    const auto whole = static_cast<long long>(std::min(seconds, 1.0e9));
    if (whole == lastTick_) return false;
    lastTick_ = whole;
    hours_ = static_cast<int>(whole / 3600);
    minutes_ = static_cast<int>(whole % 3600 / 60);
    elapsed_ = seconds - hours_ * 3600.0 - minutes_ * 60.0;
    lastText_ = TimeText(seconds);
    text = lastText_;
    return true;
}

GameClock::Clock::duration GameClock::UntilNextSecond(Clock::time_point now) {
    std::lock_guard guard(mutex_);
    const auto since = std::max(now - start_, Clock::duration::zero());
    const auto next = std::chrono::floor<std::chrono::seconds>(since) + std::chrono::seconds(1);
    return next - since;
}

void GameClock::RefreshClock() {
    if (!running) {
        // The worker would only notice at its next wake-up.
        EndWorker();
        SetLabel(QString::fromLatin1(kIdleClockText));
        return;
    }
    QString text;
    double total = 0.0;
    Tick(now_(), text, &total);
    if (boardSolved) {
        const QString finalText = FinalText(total);
        SetLabel(finalText);
        championTime = finalText;
        running = false;
        EndWorker();
        if (enterChampion) enterChampion(finalText);
        SetLabel(QString::fromLatin1(kIdleClockText));
        return;
    }
    // Within the same second the label keeps the text of that second.
    {
        std::lock_guard guard(mutex_);
        text = lastText_;
    }
    SetLabel(text);
}

void GameClock::ClockThread() {
    EndWorker();
    if (!running || context == nullptr) return;
    if (relay_.thread() != context->thread()) relay_.moveToThread(context->thread());
    workerActive_ = true;
    thread_ = std::jthread([this, session = session_](std::stop_token stop) { Worker(stop, session); });
}

void GameClock::PauseClock() {
    EndWorker();
    std::lock_guard guard(mutex_);
    if (!pausedAt_) pausedAt_ = now_();
}

void GameClock::ResumeClock() {
    {
        std::lock_guard guard(mutex_);
        if (!pausedAt_) return;
        start_ += now_() - *pausedAt_;
        pausedAt_.reset();
    }
    ClockThread();
}

void GameClock::StopClock() {
    running = false;
    EndWorker();
    RefreshClock();
}

void GameClock::EndWorker() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    thread_.join();
}

void GameClock::Worker(std::stop_token stop, unsigned session) {
    // Nobody notifies this variable: the sleep ends at the next whole second of the game or
    // early on a stop request, so a running game costs one wake-up a second.
    std::mutex sleepMutex;
    std::condition_variable_any sleeper;
    std::unique_lock sleepLock(sleepMutex);
    Clock::time_point now = now_();
    do {
        sleeper.wait_for(sleepLock, stop, UntilNextSecond(now), [] { return false; });
        if (stop.stop_requested()) break;
        now = now_();
        if (cellInput) continue;
        QString text;
        if (Tick(now, text) && !boardSolved) Post(text, session);
    } while (running);
    workerActive_ = false;
}

void GameClock::Post(const QString& text, unsigned session) {
    {
        std::lock_guard guard(mutex_);
        postedText_ = text;
        postedSession_ = session;
    }
    QMetaObject::invokeMethod(&relay_, "Deliver", Qt::QueuedConnection);
}

void GameClock::DeliverPosted() {
    QString text;
    unsigned session = 0;
    {
        std::lock_guard guard(mutex_);
        text = postedText_;
        session = postedSession_;
    }
    // A tick that arrives after its game ended, or while a cell is open, is stale.
    if (session != session_ || !running || boardSolved || cellInput) return;
    SetLabel(text);
}

void ClockRelay::Deliver() { clock_.DeliverPosted(); }

void GameClock::SetLabel(const QString& text) {
    if (label) label(text);
}

}  // namespace tessaro
