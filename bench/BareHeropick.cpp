// heropick's two windows built directly with Qt, no shell and no layouts, the dialog
// created hidden: the yardstick for the shell's start-up cost.
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window.setGeometry(194, 48, 499, 494);
    auto* group = new QGroupBox(QString::fromUtf8("Ваши характеристики:"), &window);
    group->setGeometry(80, 128, 361, 321);
    auto* label = new QLabel(QString::fromUtf8("Уровень"), group);
    label->setGeometry(8, 48, 44, 13);
    auto* edit = new QLineEdit(group);
    edit->setGeometry(8, 64, 225, 25);
    edit->setEnabled(false);

    QDialog dialog;
    dialog.setWindowTitle("Dialog");
    dialog.setFixedSize(384, 253);
    auto* bevel = new QFrame(&dialog);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(8, 8, 281, 233);
    auto* heading = new QLabel(QString::fromUtf8("Выберите героя:"), &dialog);
    QFont bold = heading->font();
    bold.setPixelSize(16);
    bold.setBold(true);
    heading->setFont(bold);
    heading->setGeometry(24, 24, 143, 20);
    auto* ok = new QPushButton("OK", &dialog);
    ok->setGeometry(300, 8, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", &dialog);
    cancel->setGeometry(300, 38, 75, 25);
    auto* radioGroup = new QGroupBox("RadioGroup1", &dialog);
    radioGroup->setGeometry(32, 72, 161, 129);
    radioGroup->hide();
    const char* heroes[] = {"Воин", "Маг", "Палладин"};
    const int tops[] = {96, 136, 168};
    for (int i = 0; i < 3; ++i)
        (new QRadioButton(QString::fromUtf8(heroes[i]), &dialog))->setGeometry(48, tops[i], 121, 17);

    window.show();
    return app.exec();
}
