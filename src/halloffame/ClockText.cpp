#include "halloffame/ClockText.h"

#include <cmath>

namespace tessaro {

namespace {

// The fields have two digits: a longer game stays at 99:59:59.9 rather than wrapping to a time
// that would rank as a record.
constexpr double kMaxSeconds = 99 * 3600 + 59 * 60 + 59.9;

double Clamp(double seconds) {
    if (!(seconds > 0.0)) return 0.0;  // also catches NaN
    return seconds < kMaxSeconds ? seconds : kMaxSeconds;
}

QString Field(long long value) { return QString::asprintf("%02lld", value); }

}  // namespace

QString TimeText(double elapsedSeconds) {
    const auto whole = static_cast<long long>(Clamp(elapsedSeconds));
    const long long hours = whole / 3600;
    const long long minutes = whole % 3600 / 60;
    const long long seconds = whole % 60;
    return QStringLiteral(" ") + Field(hours) + u':' + Field(minutes) + u':' + Field(seconds);
}

QString FinalText(double elapsedSeconds) {
    const auto tenths = std::llround(Clamp(elapsedSeconds) * 10.0);
    const long long hours = tenths / 36000;
    const long long minutes = tenths % 36000 / 600;
    const long long secondTenths = tenths % 600;
    return Field(hours) + u':' + Field(minutes) + u':' + Field(secondTenths / 10) + u'.' +
           QString::number(secondTenths % 10);
}

}  // namespace tessaro
