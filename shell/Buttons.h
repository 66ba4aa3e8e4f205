// Buttons: the push button, the check box and the radio button.
#pragma once

#include "shell/Controls.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

class TButton : public TControl {
public:
    TButton();
    std::string Caption() const;
    void SetCaption(const std::string& value);

    // Presses the button as a user's click would; a greyed-out button ignores it.
    void Click();

    // Enter anywhere in its window presses the Default button, Escape the Cancel one.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // A button with a modal result gives it to its window after its OnClick: a window
    // shown with ShowModal then closes with that result.
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    TNotifyEvent OnClick;

private:
    QPushButton* button_;
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
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

// A round choice button. The radio buttons that share a parent form one group: checking
// one clears the others.
class TRadioButton : public TControl {
public:
    TRadioButton();
    std::string Caption() const;
    void SetCaption(const std::string& value);
    bool Checked() const;
    void SetChecked(bool value);

private:
    QRadioButton* radio_;
};
