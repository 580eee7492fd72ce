#include "logic/SpareCore.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tessaro::logic {
namespace {

class SpareCore {
public:
    SpareCore() : thread_([this] { Serve(); }) {}
    ~SpareCore() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void Share(const std::function<void()>& work) {
        {
            std::lock_guard lock(mutex_);
            if (offered_ || busy_) {
                work();  // serving another caller: this one works alone
                return;
            }
            offered_ = &work;
        }
        wake_.notify_all();
        work();
        std::unique_lock lock(mutex_);
        if (offered_ == &work) {
            offered_ = nullptr;  // not begun: withdrawn
            return;
        }
        done_.wait(lock, [this] { return !busy_; });
    }

private:
    void Serve() {
        std::unique_lock lock(mutex_);
        while (true) {
            wake_.wait(lock, [this] { return stopping_ || offered_; });
            if (stopping_) return;
            const std::function<void()>* work = offered_;
            offered_ = nullptr;
            busy_ = true;
            lock.unlock();
            (*work)();
            lock.lock();
            busy_ = false;
            done_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const std::function<void()>* offered_ = nullptr;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once the members it uses are there
};

}  // namespace

void ShareWithSpareCore(const std::function<void()>& work) {
    if (std::thread::hardware_concurrency() < 2) {
        work();
        return;
    }
    static SpareCore spare;
    spare.Share(work);
}

}  // namespace tessaro::logic
