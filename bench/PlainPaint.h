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

// Times a round made with the shell against the same round made with plain Qt calls on a
// shown PlainCanvas, each with the repaints it asked for, and prints after `what` the median
// of each over `rounds` runs and their ratio.
void PrintAgainstPlain(const char* what, int rounds, const std::function<void()>& shell,
                       const std::function<void(PlainCanvas&)>& plain);
