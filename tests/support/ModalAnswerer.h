// The skeleton of the test helpers that answer a modal window the program opens, as a user
// would: polls from inside the window's own nested loop for the top modal window, and hands
// each window of the kind it answers to its answer once.
#pragma once

#include <functional>
#include <memory>

class QTimer;
class QWidget;

class ModalAnswerer {
public:
    // `answers` tells whether a modal window is of the kind to answer; `answer` answers it.
    ModalAnswerer(std::function<bool(QWidget*)> answers, std::function<void(QWidget*)> answer);
    ~ModalAnswerer();

private:
    std::unique_ptr<QTimer> poll_;
};
