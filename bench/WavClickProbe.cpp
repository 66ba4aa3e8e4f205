// Linked into a benchmark build of wavplayer: once the window has painted, clicks
// "Грузить" and prints how long it took until the first sound reached SDL's disk output,
// then ends the program. The runner sets the output to hand buffers over at once, so the
// figure is the player's own work: checking and opening the file, opening the device and
// decoding the first buffer.
#include "wavplayer/Unit1.h"
#include "bench/FirstPaint.h"

#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Reads the device's output as it grows until a sample that is not silence shows up.
Clock::time_point FirstSound(const std::string& path)
{
    std::ifstream output;
    while (!output.is_open())
        output.open(path, std::ios::binary);
    float sample = 0;
    for (;;) {
        if (output.read(reinterpret_cast<char*>(&sample), sizeof sample)) {
            if (sample != 0)
                return Clock::now();
        } else {
            output.clear();
            std::this_thread::yield();
        }
    }
}

// Clicks the button and waits for its first sound.
void Measure()
{
    const std::string path = qEnvironmentVariable("SDL_DISKAUDIOFILE").toStdString();
    std::remove(path.c_str());
    Clock::time_point heard;
    const Clock::time_point clicked = Clock::now();
    std::thread listener([&] { heard = FirstSound(path); });
    Form1->Button1->Click();
    listener.join();
    std::printf("click-to-sound %.3f\n", std::chrono::duration<double, std::milli>(heard - clicked).count());
    std::fflush(stdout);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void InstallProbe()
{
    qApp->installEventFilter(new FirstPaint([] { QTimer::singleShot(200, qApp, Measure); }));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
