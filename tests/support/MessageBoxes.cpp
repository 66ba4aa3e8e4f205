// Keeps what each message box said and dismisses it.
#include "tests/support/MessageBoxes.h"

#include <QCheckBox>
#include <QMessageBox>

MessageBoxes::MessageBoxes()
    : answerer_([](QWidget* window) { return qobject_cast<QMessageBox*>(window) != nullptr; },
                [this](QWidget* window) { Answer(static_cast<QMessageBox*>(window)); })
{
}

std::vector<std::string> MessageBoxes::Texts() const
{
    std::vector<std::string> texts;
    for (const Box& box : shown_)
        texts.push_back(box.text);
    return texts;
}

void MessageBoxes::Answer(QMessageBox* box)
{
    const Box seen{box->windowTitle().toStdString(), box->text().toStdString()};
    shown_.push_back(seen);
    if (whileOpen)
        whileOpen(seen);
    if (box->checkBox() && tickDontShowAgain)
        box->checkBox()->setChecked(tickDontShowAgain(seen));
    box->accept();
}
