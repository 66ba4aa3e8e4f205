// Buttons over their Qt widgets, and their part of the layout's class table.
#include "shell/Buttons.h"

#include "shell/Layout.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

// A push button that Enter presses as well as Space, when it holds the focus; the window's
// Default and Cancel buttons answer Enter and Escape only when the focus is elsewhere.
// Enter clicks on its press, and again on every repeat of a held key; Space clicks once,
// on its release.
class ButtonWidget : public QPushButton {
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace

TButtonControl::TButtonControl(QAbstractButton* button) : TControl(button), button_(button) {}

std::string TButtonControl::Caption() const
{
    return button_->text().toStdString();
}

void TButtonControl::SetCaption(const std::string& value)
{
    button_->setText(QString::fromStdString(value));
}

bool TButtonControl::Checked() const
{
    return button_->isChecked();
}

TButton::TButton() : TButtonControl(new ButtonWidget)
{
    static_cast<QPushButton*>(button_)->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, [this] {
        Fire(OnClick, this);
        if (modalResult_ != mrNone)
            SendModalResult(*this, modalResult_);
    });
}

void TButton::Click()
{
    button_->click();
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    static_cast<QPushButton*>(button_)->setDefault(value); // drawn with the heavier frame of a default button
}

TCheckBox::TCheckBox() : TButtonControl(new QCheckBox)
{
    QObject::connect(button_, &QAbstractButton::toggled, [this] { Fire(OnClick, this); });
}

void TCheckBox::SetChecked(bool value)
{
    button_->setChecked(value);
}

TRadioButton::TRadioButton() : TButtonControl(new QRadioButton) {}

void TRadioButton::SetChecked(bool value)
{
    // Qt keeps the checked button of a group checked; the program may still clear it.
    button_->setAutoExclusive(value);
    button_->setChecked(value);
    button_->setAutoExclusive(true);
}

void AddButtonClasses(ClassTable& classes)
{
    classes["TButtonControl"] = {"TControl", {}, {TextProperty("Caption", &TButtonControl::SetCaption)}};
    classes["TButton"] = {"TButtonControl",
                          [] { return std::make_unique<TButton>(); },
                          {
                              BoolProperty("Default", &TButton::SetDefault),
                              BoolProperty("Cancel", &TButton::SetCancel),
                              ChoiceProperty("ModalResult", &TButton::SetModalResult, ModalResultNames),
                              NotifyProperty("OnClick", &TButton::OnClick),
                          }};
    classes["TCheckBox"] = {"TButtonControl",
                            [] { return std::make_unique<TCheckBox>(); },
                            {
                                BoolProperty("Checked", &TCheckBox::SetChecked),
                                NotifyProperty("OnClick", &TCheckBox::OnClick),
                            }};
    classes["TRadioButton"] = {"TButtonControl",
                               [] { return std::make_unique<TRadioButton>(); },
                               {BoolProperty("Checked", &TRadioButton::SetChecked)}};
}
