// Timers: the clock behind every game tick and animation.
#pragma once

#include "shell/Controls.h"

#include <memory>

class QTimer;

// Raises OnTimer every Interval milliseconds on the GUI thread while it is enabled.
class TTimer : public TNonVisualComponent {
public:
    TTimer();
    ~TTimer() override;

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    // Raises OnTimer once, as a tick of the clock would.
    void Tick();

    // Behaviour tests drive ticks by hand: while the clock is stopped, enabled timers keep
    // reading as enabled but their ticks reach no handler.
    static void StopClock(bool stopped);

    TNotifyEvent OnTimer;

private:
    void Schedule();

    std::unique_ptr<QTimer> timer_;
    int interval_ = 1000;
    bool enabled_ = true;
};
