// The bouncer window built directly with Qt, no shell and no layout: the yardstick for the
// shell's start-up cost.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(773, 451);
    window.move(225, 209);

    QPixmap ball(50, 50), paddle(100, 25);
    ball.fill(Qt::green);
    paddle.fill(Qt::blue);
    QLabel image1(&window), button1(&window);
    image1.setPixmap(ball);
    image1.setGeometry(0, 0, 50, 50);
    button1.setPixmap(paddle);
    button1.setGeometry(424, 408, 100, 25);
    QCheckBox checkBox1("CheckBox1", &window);
    checkBox1.setGeometry(8, 100, 97, 5);
    checkBox1.setEnabled(false);

    QMenu menu;
    for (const char* entry : {"Выход", "Сложность", "Новая игра", "Отладка", "Побед:", "Управление"})
        menu.addAction(QString::fromUtf8(entry));

    QTimer timer1, timer2, timer3;
    timer1.start(30);
    timer2.start(5000);
    timer3.start(100);

    window.show();
    return app.exec();
}
