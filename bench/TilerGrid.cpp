// Times one "Замостить" of tiler (100 stamps of its ball, repaint included) against the
// same stamps made with plain Qt calls. With "open FILE", it opens the file as "Открыть"
// does and times grids one by one: the first (opening included), then the later ones.
#include "bench/PlainPaint.h"
#include "shell/Application.h"
#include "tiler/Unit1.h"

#include <QApplication>
#include <QFile>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    constexpr int Rounds = 100;
    TApplication application("tiler");
    application.CreateForm(Form1);
    Form1->Show();
    QCoreApplication::processEvents();
    if (argc > 2 && std::strcmp(argv[1], "open") == 0) {
        bool opened = false;
        PrintRounds(15, [&] {
            if (!opened)
                Form1->Image1->Picture()->GetBitmap()->LoadFromFile(argv[2]);
            opened = true;
            Form1->Button2->Click();
        });
        return 0;
    }
    QFile file(":/tiler/Image1.bmp");
    file.open(QIODevice::ReadOnly);
    const QImage ball = QImage::fromData(file.readAll(), "bmp");
    PrintAgainstPlain("tiler grid (100 stamps)", Rounds, [] { Form1->Button2->Click(); }, [&](PlainCanvas& canvas) {
        for (int cell = 0; cell < 100; ++cell)
            canvas.Stamp(ball, 50 * (cell / 10), 50 * (cell % 10));
    });
    return 0;
}
