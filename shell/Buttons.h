// Buttons: the push button, the check box and the radio button.
#pragma once

#include "shell/Controls.h"

class QAbstractButton;

// What every button has: a caption, and for those with a tick, whether it is set.
class TButtonControl : public TControl {
public:
    std::string Caption() const;
    void SetCaption(const std::string& value);

protected:
    explicit TButtonControl(QAbstractButton* button);
    bool Checked() const;

    QAbstractButton* button_;
};

class TButton : public TButtonControl {
public:
    TButton();

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
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

// A box with a tick. OnClick is raised on every change of the tick, whether the user
// clicked it, pressed the space bar on it or the program set Checked.
class TCheckBox : public TButtonControl {
public:
    TCheckBox();
    using TButtonControl::Checked;
    void SetChecked(bool value);

    TNotifyEvent OnClick;
};

// A round choice button. The radio buttons that share a parent form one group: checking
// one clears the others.
class TRadioButton : public TButtonControl {
public:
    TRadioButton();
    using TButtonControl::Checked;
    void SetChecked(bool value);
};
