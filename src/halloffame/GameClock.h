#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace tessaro {

class GameClock;

// Carries the worker's label text to the UI thread. The text waits under the clock's mutex, and
// only a queued call without data crosses the threads.
class ClockRelay : public QObject {
    Q_OBJECT
public:
    explicit ClockRelay(GameClock& clock) : clock_(clock) {}
    Q_INVOKABLE void Deliver();

private:
    GameClock& clock_;
};

// The game clock: the state shared by the UI thread and the once-a-second worker.
// Every public procedure runs on the UI thread; the worker only reads the flags, updates the time
// fields under the mutex and posts label text to `context`, where it is applied through `label`.
class GameClock {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;
    using LabelSink = std::function<void(const QString&)>;
    using ChampionEntry = std::function<void(const QString& time)>;

    static constexpr std::chrono::milliseconds kStopWait{200};

    // `running` is the timed-game flag of the settings. `now` must be callable from any thread.
    explicit GameClock(std::atomic<bool>& running, Now now = &Clock::now);
    ~GameClock();
    GameClock(const GameClock&) = delete;
    GameClock& operator=(const GameClock&) = delete;

    // Wiring, set once before the first game.
    QObject* context = nullptr;   // lives on the UI thread; the worker's label text is queued to its thread
    LabelSink label;              // sets the caption of the clock label
    ChampionEntry enterChampion;  // the hall-of-fame entry after a timed solve (may open modal forms)

    std::atomic<bool>& running;
    std::atomic<bool> boardSolved{false};
    std::atomic<bool> cellInput{false};  // set while a cell is open for input: the label stays
    QString championTime;                // final readout of the last solve; "X" while a game runs

    // New timed game: running, clock zeroed, champion time "X", label " 00:00:00".
    void StartClock();
    // One label update on the UI thread; with boardSolved set, the final readout and hall-of-fame entry.
    // Once the clock no longer runs, the worker is ended here too.
    void RefreshClock();
    // Starts the worker (if the clock runs). It sleeps until the next whole second of the game or
    // a stop request; it ends by itself at the first wake-up after running falls.
    void ClockThread();
    // Stop path: running := false, the worker is ended and joined, then the label reads " 99:99:99".
    void StopClock();

    // Pause of a running game: the worker ends and the game time stands still until ResumeClock,
    // which moves the start on by the paused time and starts the worker again.
    void PauseClock();
    void ResumeClock();

    // True while the worker's loop runs.
    bool WorkerActive() const { return workerActive_.load(); }

private:
    friend class ClockRelay;
    // Recomputes the time fields for `now`; true (and the new text) when a new whole second has begun.
    bool Tick(Clock::time_point now, QString& text, double* total = nullptr);
    // Time from `now` to the next whole second of the game.
    Clock::duration UntilNextSecond(Clock::time_point now);
    void Worker(std::stop_token stop, unsigned session);
    void Post(const QString& text, unsigned session);
    // On the UI thread: the label takes the posted text unless its game has ended meanwhile.
    void DeliverPosted();
    void SetLabel(const QString& text);
    void EndWorker();

    Now now_;
    unsigned session_ = 0;  // UI thread only; text from an older game's worker is dropped
    ClockRelay relay_{*this};  // destroyed after the worker is joined; drops undelivered text
    std::atomic<bool> workerActive_{false};

    std::mutex mutex_;  // guards the fields below
    Clock::time_point start_{};
    std::optional<Clock::time_point> pausedAt_;  // the game time is read here while set
    long long lastTick_ = -1;
    double elapsed_ = 0.0;
    int hours_ = 0;
    int minutes_ = 0;
    QString lastText_;
    QString postedText_;
    unsigned postedSession_ = 0;

    std::jthread thread_;  // last member: joined before anything else goes away
};

}  // namespace tessaro
