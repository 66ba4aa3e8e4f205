// Answers the modal message boxes a test makes the program open, as a user would, and
// keeps what each one said.
#pragma once

#include "tests/support/ModalAnswerer.h"

#include <functional>
#include <string>
#include <vector>

class QMessageBox;

class MessageBoxes {
public:
    struct Box {
        std::string title;
        std::string text;
    };

    MessageBoxes();

    const std::vector<Box>& Shown() const { return shown_; }
    std::vector<std::string> Texts() const;

    // Runs while a box is on screen, before it is dismissed.
    std::function<void(const Box&)> whileOpen;

    // Whether to tick a failure box's «Больше не показывать это сообщение» before
    // answering it; unticked when unset.
    std::function<bool(const Box&)> tickDontShowAgain;

private:
    void Answer(QMessageBox* box);

    std::vector<Box> shown_;
    ModalAnswerer answerer_;
};
