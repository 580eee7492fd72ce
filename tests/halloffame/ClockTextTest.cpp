#include "halloffame/ClockText.h"

#include <gtest/gtest.h>

#include "support/QStringPrint.h"

namespace tessaro {
namespace {

struct Reading {
    double seconds;
    const char* text;
};

TEST(ClockText, RunningLabelTruncatesToWholeSeconds) {
    for (const Reading& r : {Reading{0.0, " 00:00:00"}, Reading{0.99, " 00:00:00"}, Reading{59.96, " 00:00:59"},
                             Reading{65.4, " 00:01:05"}, Reading{3599.99, " 00:59:59"}, Reading{3600.0, " 01:00:00"},
                             Reading{99 * 3600.0 + 59 * 60 + 59.5, " 99:59:59"}}) {
        EXPECT_EQ(TimeText(r.seconds), r.text) << r.seconds;
    }
}

TEST(ClockText, FinalReadoutRoundsBeforeSplitting) {
    for (const Reading& r : {Reading{0.0, "00:00:00.0"}, Reading{65.44, "00:01:05.4"}, Reading{187.5, "00:03:07.5"},
                             Reading{59.96, "00:01:00.0"}, Reading{3599.99, "01:00:00.0"}, Reading{3600.0, "01:00:00.0"},
                             Reading{99 * 3600.0 + 59 * 60 + 59.9, "99:59:59.9"}}) {
        EXPECT_EQ(FinalText(r.seconds), r.text) << r.seconds;
    }
    EXPECT_EQ(FinalText(12.3).size(), 10);
}

TEST(ClockText, OutOfRangeReadingsStayInTheFields) {
    // A clock reading before the start must not produce negative fields.
    EXPECT_EQ(TimeText(-5.0), " 00:00:00");
    EXPECT_EQ(FinalText(-0.04), "00:00:00.0");
    // Past 99 hours the text stops instead of wrapping to a record-breaking time.
    EXPECT_EQ(TimeText(100 * 3600.0 + 1), " 99:59:59");
    EXPECT_EQ(FinalText(100 * 3600.0 + 1), "99:59:59.9");
}

}  // namespace
}  // namespace tessaro
