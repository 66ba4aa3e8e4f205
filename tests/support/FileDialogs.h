// Answers the modal file dialogs a test makes the program open, as a user would: types a
// file name and accepts, or cancels. Keeps what each dialog offered when it opened.
#pragma once

#include "tests/support/ModalAnswerer.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

class QFileDialog;

class FileDialogs {
public:
    struct Dialog {
        std::vector<std::string> selected; // the files it offered, as full paths
        std::vector<std::string> filters;  // its file types, as its list shows them
        bool mustExist = false;            // only an existing file is accepted
        bool resizable = false;
    };

    FileDialogs();

    // The next dialog gets the name typed into its file name box and accepted.
    void Type(const std::string& name) { answers_.push_back(name); }
    // The next dialog is cancelled (so is any dialog no answer was given for).
    void Cancel() { answers_.push_back(std::nullopt); }

    const std::vector<Dialog>& Shown() const { return shown_; }

private:
    void Answer(QFileDialog* dialog);

    std::deque<std::optional<std::string>> answers_;
    std::vector<Dialog> shown_;
    ModalAnswerer answerer_;
};
