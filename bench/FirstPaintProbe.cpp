// Linked into a benchmark build of a program, or preloaded into an installed one: prints the
// monotonic clock at the first paint of a top-level window, then ends the program, so a runner
// can time start to first frame.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class FirstPaintProbe : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->isWindow() && !done_) {
            done_ = true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("first-paint %.6f\n", now.tv_sec + now.tv_nsec / 1e9);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool done_ = false;
};

void InstallProbe()
{
    qApp->installEventFilter(new FirstPaintProbe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
