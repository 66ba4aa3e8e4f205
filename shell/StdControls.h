// The standard controls: push buttons, one-line edits, text labels, check boxes, radio
// buttons and group boxes.
#pragma once

#include "shell/Controls.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
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

// A framed box with a caption that holds other controls; it never takes the focus.
class TGroupBox : public TWinControl {
public:
    TGroupBox();
    std::string Caption() const;
    void SetCaption(const std::string& value);

protected:
    QGroupBox* box_;
};
