// Polls for the top modal message box from inside its own nested loop and dismisses it.
#include "tests/support/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTimer>

MessageBoxes::MessageBoxes() : poll_(std::make_unique<QTimer>())
{
    QObject::connect(poll_.get(), &QTimer::timeout, [this] { AnswerOpenBox(); });
    poll_->start(1);
}

MessageBoxes::~MessageBoxes() = default;

std::vector<std::string> MessageBoxes::Texts() const
{
    std::vector<std::string> texts;
    for (const Box& box : shown_)
        texts.push_back(box.text);
    return texts;
}

void MessageBoxes::AnswerOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    // Answered from a posted call rather than from the poll itself, so the poll can go on
    // finding boxes that open while this one is being looked at.
    QMetaObject::invokeMethod(
        box,
        [this, box] {
            const Box seen{box->windowTitle().toStdString(), box->text().toStdString()};
            shown_.push_back(seen);
            if (whileOpen)
                whileOpen(seen);
            if (box->checkBox() && tickDontShowAgain)
                box->checkBox()->setChecked(tickDontShowAgain(seen));
            box->accept();
        },
        Qt::QueuedConnection);
}
