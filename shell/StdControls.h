// The standard controls: push buttons, one-line edits, text labels and check boxes.
#pragma once

#include "shell/Controls.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TButton : public TControl {
public:
    TButton();
    std::string Caption() const;
    void SetCaption(const std::string& value);

    // Presses the button as a user's click would; a greyed-out button ignores it.
    void Click();

    TNotifyEvent OnClick;

private:
    QPushButton* button_;
};

// A one-line text box the user can type into.
class TEdit : public TControl {
public:
    TEdit();
    std::string Text() const;
    void SetText(const std::string& value);

private:
    QLineEdit* edit_;
};

// A line of text. It is never cut short: a caption wider than the label's Width runs on
// to the right, as a label that sizes itself to its text would.
class TLabel : public TControl {
public:
    TLabel();
    std::string Caption() const;
    void SetCaption(const std::string& value);

protected:
    void PlaceWidget() override;

private:
    QLabel* label_;
};

// A box with a tick. OnClick is raised on every change of the tick, whether the user
// clicked it, pressed the space bar on it or the program set Checked.
class TCheckBox : public TControl {
public:
    TCheckBox();
    std::string Caption() const;
    void SetCaption(const std::string& value);
    bool Checked() const;
    void SetChecked(bool value);

    TNotifyEvent OnClick;

private:
    QCheckBox* box_;
};
