// The sizekeeper window built directly with Qt, no shell and no layout: the yardstick for
// the shell's start-up cost.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Form1");
    window.setGeometry(212, 174, 696, 480);
    (new QPushButton("Загрузить размер формы", &window))->setGeometry(64, 48, 201, 57);
    (new QPushButton("Сохранить размер формы", &window))->setGeometry(64, 120, 201, 57);
    (new QLineEdit("Edit1", &window))->setGeometry(352, 48, 121, 21);
    (new QPushButton("Сохранить", &window))->setGeometry(464, 120, 75, 25);
    window.show();
    return app.exec();
}
