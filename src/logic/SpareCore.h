#pragma once
#include <functional>

namespace tessaro::logic {

// Runs work on the calling thread and, where a second core is there, on one helper thread at the
// same time. work must hand out its items itself (a shared counter), since both run it until the
// items are gone. The caller never waits for a helper that has not begun: it takes the work back
// and does all of it alone, as it does when the helper is busy with another caller's.
void ShareWithSpareCore(const std::function<void()>& work);

}  // namespace tessaro::logic
