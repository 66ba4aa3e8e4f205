// Polls for the top modal window and answers it from a posted call.
#include "tests/support/ModalAnswerer.h"

#include <QApplication>
#include <QTimer>
#include <QVariant>
#include <QWidget>

ModalAnswerer::ModalAnswerer(std::function<bool(QWidget*)> answers, std::function<void(QWidget*)> answer)
    : poll_(std::make_unique<QTimer>())
{
    QObject::connect(poll_.get(), &QTimer::timeout, [answers = std::move(answers), answer = std::move(answer)] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || !answers(window) || window->property("answered").toBool())
            return;
        window->setProperty("answered", true);
        // Answered from a posted call rather than from the poll itself, so the poll can go
        // on finding windows that open while this one is being looked at.
        QMetaObject::invokeMethod(window, [window, answer] { answer(window); }, Qt::QueuedConnection);
    });
    poll_->start(1);
}

ModalAnswerer::~ModalAnswerer() = default;
