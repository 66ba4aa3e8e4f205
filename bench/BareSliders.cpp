// The sliders window built directly with Qt, no shell and no layout: the yardstick for the
// shell's start-up cost.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Form1");
    window.setGeometry(241, 148, 696, 480);
    for (int i = 0; i < 7; ++i) {
        auto* slider = new QSlider(Qt::Horizontal, &window);
        slider->setGeometry(40, 32 + 56 * i, 180, i == 0 ? 41 : 45);
        slider->setRange(1, 10);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
        slider->setSingleStep(i == 1 ? 5 : 1);
        slider->setPageStep(2);
        auto* edit = new QLineEdit(&window);
        edit->setGeometry(224, 32 + 56 * i, 121, 21);
        QObject::connect(slider, &QSlider::valueChanged, edit, [edit](int v) { edit->setText(QString::number(v)); });
    }
    auto* edit8 = new QLineEdit("Edit8", &window);
    edit8->setGeometry(424, 208, 257, 21);
    auto* button = new QPushButton("Button1", &window);
    button->setGeometry(520, 160, 75, 25);
    window.show();
    return app.exec();
}
