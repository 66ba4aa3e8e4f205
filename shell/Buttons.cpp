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

TButton::TButton() : TControl(new ButtonWidget), button_(static_cast<QPushButton*>(Widget()))
{
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, [this] {
        Fire(OnClick, this);
        if (modalResult_ != mrNone)
            SendModalResult(*this, modalResult_);
    });
}

std::string TButton::Caption() const
{
    return button_->text().toStdString();
}

void TButton::SetCaption(const std::string& value)
{
    button_->setText(QString::fromStdString(value));
}

void TButton::Click()
{
    button_->click();
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    button_->setDefault(value); // drawn with the heavier frame of a default button
}

TCheckBox::TCheckBox() : TControl(new QCheckBox), box_(static_cast<QCheckBox*>(Widget()))
{
    QObject::connect(box_, &QCheckBox::toggled, [this] { Fire(OnClick, this); });
}

std::string TCheckBox::Caption() const
{
    return box_->text().toStdString();
}

void TCheckBox::SetCaption(const std::string& value)
{
    box_->setText(QString::fromStdString(value));
}

bool TCheckBox::Checked() const
{
    return box_->isChecked();
}

void TCheckBox::SetChecked(bool value)
{
    box_->setChecked(value);
}

TRadioButton::TRadioButton() : TControl(new QRadioButton), radio_(static_cast<QRadioButton*>(Widget())) {}

std::string TRadioButton::Caption() const
{
    return radio_->text().toStdString();
}

void TRadioButton::SetCaption(const std::string& value)
{
    radio_->setText(QString::fromStdString(value));
}

bool TRadioButton::Checked() const
{
    return radio_->isChecked();
}

void TRadioButton::SetChecked(bool value)
{
    // Qt keeps the checked button of a group checked; the program may still clear it.
    radio_->setAutoExclusive(value);
    radio_->setChecked(value);
    radio_->setAutoExclusive(true);
}

void AddButtonClasses(ClassTable& classes)
{
    classes["TButton"] = {"TControl",
                          [] { return std::make_unique<TButton>(); },
                          {
                              TextProperty("Caption", &TButton::SetCaption),
                              BoolProperty("Default", &TButton::SetDefault),
                              BoolProperty("Cancel", &TButton::SetCancel),
                              ChoiceProperty("ModalResult", &TButton::SetModalResult, ModalResultNames),
                              NotifyProperty("OnClick", &TButton::OnClick),
                          }};
    classes["TCheckBox"] = {"TControl",
                            [] { return std::make_unique<TCheckBox>(); },
                            {
                                TextProperty("Caption", &TCheckBox::SetCaption),
                                BoolProperty("Checked", &TCheckBox::SetChecked),
                                NotifyProperty("OnClick", &TCheckBox::OnClick),
                            }};
    classes["TRadioButton"] = {"TControl",
                               [] { return std::make_unique<TRadioButton>(); },
                               {
                                   TextProperty("Caption", &TRadioButton::SetCaption),
                                   BoolProperty("Checked", &TRadioButton::SetChecked),
                               }};
}
