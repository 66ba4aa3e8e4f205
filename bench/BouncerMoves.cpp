// Counts bouncer's ball moves per second over five seconds of play with the frame files in
// the current folder (the runner gives it the sample frames, then 4000 x 4000 ones); the
// paddle is kept under the ball and the climbs are off, so the game never ends.
#include "bouncer/Unit1.h"
#include "shell/Application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    constexpr int PlayMilliseconds = 5000;
    TApplication application("bouncer");
    application.CreateForm(Form1);
    Form1->Timer2->SetEnabled(false);
    int moves = 0;
    const TNotifyEvent move = Form1->Timer1->OnTimer;
    Form1->Timer1->OnTimer = [&moves, move](TObject* sender) {
        move(sender);
        Form1->Button1->SetLeft(Form1->Image1->Left() - 25);
        ++moves;
    };
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(PlayMilliseconds, [] { Form1->Close(); });
    application.Run();
    std::printf("%.1f %d\n", moves / (clock.nsecsElapsed() / 1e9), Form1->Image1->Picture()->Width());
    return 0;
}
