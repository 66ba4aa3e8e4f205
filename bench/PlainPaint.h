// What the picture benchmarks compare the shell with: the same files loaded and drawn with
// plain Qt calls into a window that keeps its drawings, and a timer for rounds of work.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

// A window that paints one retained image, as a form paints its canvas.
class PlainCanvas : public QWidget {
public:
    PlainCanvas();
    // Draws the picture opaque at (x, y), cut at the window's edges, and asks for a repaint.
    void Stamp(const QImage& picture, int x, int y);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage retained_;
};

// Loads a file as a BMP with Qt's image reader, as a program without the shell would.
QImage PlainLoad(const std::string& path);

// Runs `round` and the repaints it asked for once; returns how long that took in milliseconds.
double RoundMilliseconds(const std::function<void()>& round);

// Runs `round` once, then `later` more times, and prints on one line what the benchmark
// runner reads: "first MS later MS worst MS rss MIB", the first round's time, the median
// and the worst of the later ones, and the process's peak memory so far.
void PrintRounds(int later, const std::function<void()>& round);

// Runs `round` (followed by the repaints it asked for) a number of times and returns the
// median time of one round in microseconds.
double MedianMicros(int rounds, const std::function<void()>& round);
