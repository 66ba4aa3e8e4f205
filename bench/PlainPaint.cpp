// Plain Qt loading and drawing, and the round timer, for the picture benchmarks.
#include "bench/PlainPaint.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

PlainCanvas::PlainCanvas() : retained_(700, 600, QImage::Format_ARGB32_Premultiplied)
{
    retained_.fill(Qt::transparent);
    setAutoFillBackground(true);
    resize(668, 540);
}

void PlainCanvas::Stamp(const QImage& picture, int x, int y)
{
    QPainter painter(&retained_);
    painter.setClipRect(rect());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, picture);
    painter.end();
    update(QRect(x, y, picture.width(), picture.height()));
}

void PlainCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, retained_);
}

QImage PlainLoad(const std::string& path)
{
    QImageReader reader(QString::fromStdString(path), "bmp");
    return reader.read();
}

// The median time of one round, with its repaints, in microseconds.
static double MedianMicros(int rounds, const std::function<void()>& round)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        round();
        QCoreApplication::processEvents();
        times.push_back(clock.nsecsElapsed() / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PrintAgainstPlain(const char* what, int rounds, const std::function<void()>& shell,
                       const std::function<void(PlainCanvas&)>& plain)
{
    const double shellMicros = MedianMicros(rounds, shell);
    PlainCanvas canvas;
    canvas.show();
    QCoreApplication::processEvents();
    const double plainMicros = MedianMicros(rounds, [&] { plain(canvas); });
    std::printf("%s, median of %d: shell %.0f µs, plain Qt %.0f µs, ratio %.2f (goal at most 1.50)\n", what, rounds,
                shellMicros, plainMicros, shellMicros / plainMicros);
}

double RoundMilliseconds(const std::function<void()>& round)
{
    QElapsedTimer clock;
    clock.start();
    round();
    QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e6;
}

void PrintRounds(int later, const std::function<void()>& round)
{
    const double first = RoundMilliseconds(round);
    std::vector<double> times;
    for (int i = 0; i < later; ++i)
        times.push_back(RoundMilliseconds(round));
    std::sort(times.begin(), times.end());
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("first %.2f later %.2f worst %.2f rss %.1f\n", first, times[times.size() / 2], times.back(),
                usage.ru_maxrss / 1024.0);
}
