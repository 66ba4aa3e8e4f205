// Times one click of paver's button (100 tile loads and 100 stamps, repaint included)
// against the same loads and stamps made with plain Qt calls; run in a folder with tiles.
// With "clicks", it times clicks one by one instead, in the folder's tiles (the sample
// tiles, or photo-sized ones): the first (which decodes the tiles), then the later ones.
#include "bench/PlainPaint.h"
#include "paver/Unit1.h"
#include "shell/Application.h"

#include <QApplication>

#include <cstring>
#include <random>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    constexpr int Rounds = 40;
    TApplication application("paver");
    application.CreateForm(Form1);
    Form1->Show();
    QCoreApplication::processEvents();
    if (argc > 1 && std::strcmp(argv[1], "clicks") == 0) {
        PrintRounds(15, [] { Form1->Button1->Click(); });
        return 0;
    }
    const char* const tiles[] = {"B1.bmp", "Bitmap2.bmp", "Bitmap3.bmp", "Bitmap4.bmp"};
    std::minstd_rand choose;
    PrintAgainstPlain("paver click (100 loads + 100 stamps)", Rounds, [] { Form1->Button1->Click(); },
                      [&](PlainCanvas& canvas) {
                          for (int cell = 0; cell < 100; ++cell)
                              canvas.Stamp(PlainLoad(tiles[choose() % 4]), 30 * (cell / 10), 30 * (cell % 10));
                      });
    return 0;
}
