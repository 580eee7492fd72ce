#pragma once

#include <QString>

namespace tessaro {

// The label while no timed game runs.
inline constexpr char kIdleClockText[] = " 99:99:99";

// " hh:mm:ss" for the running label: whole seconds, truncated; it stops at 99:59:59.
QString TimeText(double elapsedSeconds);

// "hh:mm:ss.t" for a solved game. The time is rounded to tenths first, so 59.96 s reads
// "00:01:00.0" and the seconds field never shows 60.
QString FinalText(double elapsedSeconds);

}  // namespace tessaro
