// Counts bouncer's ball moves per second over five seconds of play with the frame files in
// the current folder (the runner gives it the sample frames, then 4000 x 4000 ones); the
// paddle is kept under the ball and the climbs are off, so the game never ends. Prints
// what bench/PlainPaint.h's PrintRounds does for the moves (frame load included), then
// the moves per second and the frames' width.
#include "bouncer/Unit1.h"
#include "shell/Application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    constexpr int PlayMilliseconds = 5000;
    TApplication application("bouncer");
    application.CreateForm(Form1);
    Form1->Timer2->SetEnabled(false);
    int moves = 0;
    std::vector<double> times;
    const TNotifyEvent move = Form1->Timer1->OnTimer;
    Form1->Timer1->OnTimer = [&moves, &times, move](TObject* sender) {
        QElapsedTimer clock;
        clock.start();
        move(sender);
        QCoreApplication::processEvents();
        times.push_back(clock.nsecsElapsed() / 1e6);
        Form1->Button1->SetLeft(Form1->Image1->Left() - 25);
        ++moves;
    };
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(PlayMilliseconds, [] { Form1->Close(); });
    application.Run();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double first = times.front();
    std::sort(times.begin() + 1, times.end());
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("first %.2f later %.2f worst %.2f rss %.1f moves %.1f width %d\n", first,
                times[1 + (times.size() - 1) / 2], times.back(), usage.ru_maxrss / 1024.0, moves / seconds,
                Form1->Image1->Picture()->Width());
    return 0;
}
