// The hitcalc window built directly with Qt, no shell and no layout: the yardstick for the
// shell's start-up cost.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Считалка");
    window.setGeometry(226, 178, 696, 480);
    const struct {
        int left, top, width;
        const char* text;
    } labels[] = {{72, 24, 80, "Введите жизнь:"},  {80, 80, 71, "Введите урон:"},  {16, 328, 138, "Введите количество ходов:"},
                  {72, 136, 80, "Введите броню:"}, {72, 192, 79, "Введите атаку :"}, {64, 248, 88, "Введите защиту :"}};
    for (const auto& l : labels)
        (new QLabel(QString::fromUtf8(l.text), &window))->setGeometry(l.left, l.top, l.width, 13);
    const struct {
        int left, top, width;
        const char* text;
    } edits[] = {{168, 16, 161, ""},  {168, 72, 161, ""},  {168, 320, 161, ""}, {504, 104, 113, "Результат"},
                 {168, 128, 161, ""}, {456, 248, 201, "Результат вместе с защитой"},
                 {168, 184, 161, ""}, {168, 240, 161, ""}};
    for (const auto& e : edits)
        (new QLineEdit(QString::fromUtf8(e.text), &window))->setGeometry(e.left, e.top, e.width, 21);
    auto* count = new QPushButton("Считать", &window);
    count->setGeometry(504, 48, 113, 41);
    count->setEnabled(false);
    auto* withDefence = new QPushButton("Считать, учитывая  защиту", &window);
    withDefence->setGeometry(456, 176, 201, 49);
    withDefence->setEnabled(false);
    (new QCheckBox("Закончил!", &window))->setGeometry(160, 376, 177, 25);
    window.show();
    return app.exec();
}
