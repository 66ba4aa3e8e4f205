// Shows one-line edits holding given texts, drawn as the programs draw theirs (the same
// font, window colour and sizes), so that an end-to-end test can tell which text a
// program's edit shows by comparing the two on screen.
//
//   e2e_text_reference [--disabled] WIDTHxHEIGHT:text ...
//
// The edits stand one under the other at x 10, y 10 + 40 * i, in a window named
// "text-reference"; none takes the focus, so no caret blinks in them. Past 24 edits, the
// next ones stand in further columns, the widest edit + 20 pixels apart:
// edit i at x 10 + (widest + 20) * (i / 24), y 10 + 40 * (i % 24).
#include "shell/Controls.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QtFont(TFont()));

    QWidget window;
    window.setWindowTitle(QStringLiteral("text-reference"));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(0xF0F0F0));
    window.setPalette(palette);

    constexpr int rowsPerColumn = 24;
    bool enabled = true;
    int widest = 0;
    std::vector<QLineEdit*> edits;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        if (argument == QLatin1String("--disabled")) {
            enabled = false;
            continue;
        }
        const QString size = argument.section(QLatin1Char(':'), 0, 0);
        const int width = size.section(QLatin1Char('x'), 0, 0).toInt();
        const int height = size.section(QLatin1Char('x'), 1, 1).toInt();
        auto* edit = new QLineEdit(argument.section(QLatin1Char(':'), 1), &window);
        edit->resize(width, height);
        edit->setEnabled(enabled);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setCursorPosition(0);
        widest = std::max(widest, width);
        edits.push_back(edit);
    }
    const int count = static_cast<int>(edits.size());
    for (int i = 0; i < count; ++i)
        edits[i]->move(10 + (widest + 20) * (i / rowsPerColumn), 10 + 40 * (i % rowsPerColumn));
    const int columns = (count + rowsPerColumn - 1) / rowsPerColumn;
    window.resize((widest + 20) * std::max(columns, 1), 40 * std::min(count, rowsPerColumn) + 10);
    window.move(0, 0);
    window.show();
    return app.exec();
}
