// Times one click of paver's button (100 tile loads and 100 stamps, repaint included)
// against the same loads and stamps made with plain Qt calls; run in a folder with tiles.
// With "photo", run in a folder of photo-sized tiles, it times clicks one by one instead:
// the first (which decodes the tiles), then the median and worst of the later ones.
#include "bench/PlainPaint.h"
#include "paver/Unit1.h"
#include "shell/Application.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

double ClickMilliseconds()
{
    QElapsedTimer clock;
    clock.start();
    Form1->Button1->Click();
    QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e6;
}

void PhotoClicks()
{
    constexpr int Later = 15;
    const double first = ClickMilliseconds();
    std::vector<double> later;
    for (int i = 0; i < Later; ++i)
        later.push_back(ClickMilliseconds());
    std::sort(later.begin(), later.end());
    TPicture* tile = Form1->Image1->Picture();
    std::printf("paver click with %d x %d tiles: first %.0f ms, then median %.1f ms and worst %.1f ms of %d "
                "(goal under 1000 ms)\n",
                tile->Width(), tile->Height(), first, later[Later / 2], later.back(), Later);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    constexpr int Rounds = 40;
    TApplication application("paver");
    application.CreateForm(Form1);
    Form1->Show();
    QCoreApplication::processEvents();
    if (argc > 1 && std::strcmp(argv[1], "photo") == 0) {
        PhotoClicks();
        return 0;
    }
    const double shell = MedianMicros(Rounds, [] { Form1->Button1->Click(); });

    const char* const tiles[] = {"B1.bmp", "Bitmap2.bmp", "Bitmap3.bmp", "Bitmap4.bmp"};
    std::minstd_rand choose;
    PlainCanvas canvas;
    canvas.show();
    QCoreApplication::processEvents();
    const double plain = MedianMicros(Rounds, [&] {
        for (int cell = 0; cell < 100; ++cell)
            canvas.Stamp(PlainLoad(tiles[choose() % 4]), 30 * (cell / 10), 30 * (cell % 10));
    });
    std::printf("paver click (100 loads + 100 stamps), median of %d: shell %.0f µs, plain Qt %.0f µs, "
                "ratio %.2f (goal at most 1.50)\n", Rounds, shell, plain, shell / plain);
    return 0;
}
