// Linked into a benchmark build of a program, or preloaded into an installed one: prints the
// monotonic clock at the first paint of a top-level window, then ends the program, so a runner
// can time start to first frame.
#include "bench/FirstPaint.h"

#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

void InstallProbe()
{
    qApp->installEventFilter(new FirstPaint([] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("first-paint %.6f\n", now.tv_sec + now.tv_nsec / 1e9);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
