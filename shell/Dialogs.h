// File dialogs: non-visual components that a handler runs when it needs a file name.
#pragma once

#include "shell/Controls.h"

// What every file dialog has: the file name it offers and the one the user chose.
class TCommonDialog : public TNonVisualComponent {
public:
    const std::string& FileName() const { return fileName_; }
    const std::string& GetFileName() const { return fileName_; }
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

// Choices of an open dialog, as a set of bits.
enum TOpenOption : unsigned {
    ofHideReadOnly = 1,  // no "open read-only" check box (the dialog used here never has one)
    ofFileMustExist = 2, // only the name of an existing file is accepted
    ofEnableSizing = 4,  // the user can resize the dialog
};
inline constexpr NamedValue<TOpenOption> OpenOptionNames[] = {
    {"ofHideReadOnly", ofHideReadOnly}, {"ofFileMustExist", ofFileMustExist}, {"ofEnableSizing", ofEnableSizing}};

// Asks for a file to open. It offers the last chosen file again the next time it runs.
class TOpenDialog : public TCommonDialog {
public:
    // Pairs of description and masks, each separated by "|": "рисунки *.bmp|*.bmp";
    // several masks of one entry are separated by ";".
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& value) { filter_ = value; }
    unsigned Options() const { return options_; }
    void SetOptions(unsigned value) { options_ = value; }

    bool Execute() override;

protected:
    std::string filter_;
    unsigned options_ = ofHideReadOnly | ofEnableSizing;
};

// An open dialog for pictures: it lists the picture files the toolkit can read.
class TOpenPictureDialog : public TOpenDialog {
public:
    TOpenPictureDialog();
};
