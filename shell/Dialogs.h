// File dialogs: non-visual components that a handler runs when it needs a file name.
#pragma once

#include "shell/Controls.h"

// What every file dialog has: the file name it offers and the one the user chose.
class TCommonDialog : public TComponent {
public:
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }

    // Runs the dialog modally; true when the user chose a file (now in FileName), false
    // when the dialog was cancelled, which changes nothing.
    virtual bool Execute() = 0;

protected:
    std::string fileName_;
};

// Asks for a name to save a file under.
class TSaveDialog : public TCommonDialog {
public:
    bool Execute() override;
};
