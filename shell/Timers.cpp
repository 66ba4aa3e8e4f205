// The timer over QTimer, and its part of the layout's class table.
#include "shell/Timers.h"

#include "shell/Layout.h"

#include <QTimer>

namespace {

bool clockStopped = false;

} // namespace

TTimer::TTimer() : timer_(std::make_unique<QTimer>())
{
    // Qt never re-enters a timer whose own slot is still running, but a handler may sit in
    // a message box for long; so a tick only posts the handler's call, and the timer goes
    // on ticking under the box.
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        if (clockStopped)
            return;
        QMetaObject::invokeMethod(
            timer_.get(),
            [this] {
                if (enabled_)
                    Tick();
            },
            Qt::QueuedConnection);
    });
    Schedule();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    Schedule();
}

// Only a real change restarts the count, so re-enabling a running timer keeps its rhythm.
void TTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    Schedule();
}

void TTimer::Tick()
{
    Fire(OnTimer, this);
}

void TTimer::StopClock(bool stopped)
{
    clockStopped = stopped;
}

void TTimer::Schedule()
{
    // A zero interval means no ticks at all rather than a busy loop.
    if (enabled_ && interval_ > 0)
        timer_->start(interval_);
    else
        timer_->stop();
}

void AddTimerClasses(ClassTable& classes)
{
    classes["TTimer"] = {"TNonVisualComponent",
                         [] { return std::make_unique<TTimer>(); },
                         {
                             IntProperty("Interval", &TTimer::SetInterval),
                             BoolProperty("Enabled", &TTimer::SetEnabled),
                             NotifyProperty("OnTimer", &TTimer::OnTimer),
                         }};
}
