// Runs the in-process tests against real widgets on Qt's offscreen platform, with the
// timer clock stopped so that every tick is one the test asked for.
#include "tests/support/TestMain.h"

#include "shell/Conversions.h"
#include "shell/Timers.h"
#include "shell/Random.h"

#include <QApplication>
#include <gtest/gtest.h>

const std::uint32_t StartRandSeed = RandSeed;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    TTimer::StopClock(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
