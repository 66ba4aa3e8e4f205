// Times sizekeeper's "Сохранить размер формы": one click is four atomic INI writes. Runs
// the real window offscreen and prints the median cost of a click in microseconds.
#include "shell/Application.h"
#include "sizekeeper/Unit1.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication qt(argc, argv);
    TApplication application("sizekeeper");
    application.CreateForm(Form1);

    constexpr int Clicks = 300;
    std::vector<double> micros;
    for (int click = 0; click < Clicks; ++click) {
        Form1->SetLeft(100 + click % 50);
        const auto start = std::chrono::steady_clock::now();
        Form1->Button2->Click();
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("one Сохранить размер формы click (four atomic writes, each flushed to disk), median of %d: "
                "%.0f µs (fastest %.0f µs, slowest %.0f µs)\n",
                Clicks, micros[Clicks / 2], micros.front(), micros.back());
    return 0;
}
