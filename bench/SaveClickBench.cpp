// Times sizekeeper's "Сохранить размер формы": one click is four atomic INI writes. Runs
// the real window offscreen and prints the median cost of a click in microseconds, then
// the cost of a click on a prog.ini of 63 MB beside the cost of writing that file once.
#include "shell/Application.h"
#include "sizekeeper/Unit1.h"

#include <QApplication>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The processor time this process has used, user and system, in milliseconds.
double CpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// A prog.ini of about 63 MB: a section of three million short keys, the bounds at its end,
// so that every write has to look through the whole file.
std::string BigIni()
{
    std::string content = "[Big]\n";
    for (int key = 0; key < 3000000; ++key)
        content += "k" + std::to_string(10000000 + key) + "=value12345\n";
    return content + "[Size]\nTop=1\nLeft=2\nHeight=3\nWidth=4\n";
}

} // namespace

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

    const std::string big = BigIni();
    const std::string path = config.path().toStdString() + "/sizekeeper/prog.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << big;
    // What one write of the file costs by itself, made as every write is made: a new copy
    // written and flushed to disk, renamed over the old file, and the folder flushed.
    std::vector<double> once, onceCpu;
    const std::string copy = path + ".copy", fresh = path + ".fresh";
    std::ofstream(copy, std::ios::binary | std::ios::trunc) << big;
    for (int round = 0; round < 3; ++round) {
        const double cpu = CpuMilliseconds();
        const auto start = std::chrono::steady_clock::now();
        const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || write(fd, big.data(), big.size()) != ssize_t(big.size()) || fsync(fd) != 0
            || rename(fresh.c_str(), copy.c_str()) != 0)
            std::perror(fresh.c_str());
        close(fd);
        const int folder = open((config.path() + "/sizekeeper").toUtf8().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        fsync(folder);
        close(folder);
        once.push_back(MillisecondsSince(start));
        onceCpu.push_back(CpuMilliseconds() - cpu);
    }
    unlink(copy.c_str());
    std::vector<double> bigClicks, bigCpu;
    for (int click = 0; click < 3; ++click) {
        Form1->SetLeft(200 + click);
        const double cpu = CpuMilliseconds();
        const auto start = std::chrono::steady_clock::now();
        Form1->Button2->Click();
        bigClicks.push_back(MillisecondsSince(start));
        bigCpu.push_back(CpuMilliseconds() - cpu);
    }
    for (std::vector<double>* figures : {&once, &onceCpu, &bigClicks, &bigCpu})
        std::sort(figures->begin(), figures->end());
    std::printf("the same click on a prog.ini of %.0f MB, median of 3: %.0f ms (CPU %.0f ms); writing that file once: "
                "%.0f ms (CPU %.0f ms); the click costs %.1f such writes, %.1f in CPU (goal: about 4)\n",
                big.size() / 1e6, bigClicks[1], bigCpu[1], once[1], onceCpu[1], bigClicks[1] / once[1],
                bigCpu[1] / onceCpu[1]);
    return 0;
}
