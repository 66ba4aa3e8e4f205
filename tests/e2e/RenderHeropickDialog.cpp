// Draws heropick's hero dialog, which the program never shows, off-screen into a PNG file
// for the README: render_heropick_dialog OUTPUT.png
#include "heropick/Unit2.h"
#include "shell/Application.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    TApplication application("heropick");
    application.CreateForm(OKRightDlg);
    return OKRightDlg->Widget()->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
