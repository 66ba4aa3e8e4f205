// The standard controls over their Qt widgets, and their part of the layout's class table.
#include "shell/StdControls.h"

#include "shell/Layout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

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

TEdit::TEdit() : TControl(new QLineEdit), edit_(static_cast<QLineEdit*>(Widget())) {}

std::string TEdit::Text() const
{
    return edit_->text().toStdString();
}

void TEdit::SetText(const std::string& value)
{
    edit_->setText(QString::fromStdString(value));
}

TLabel::TLabel() : TControl(new QLabel), label_(static_cast<QLabel*>(Widget()))
{
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

std::string TLabel::Caption() const
{
    return label_->text().toStdString();
}

void TLabel::SetCaption(const std::string& value)
{
    label_->setText(QString::fromStdString(value));
    PlaceWidget();
}

void TLabel::PlaceWidget()
{
    TControl::PlaceWidget();
    const QSize text = label_->sizeHint();
    label_->resize(std::max(label_->width(), text.width()), std::max(label_->height(), text.height()));
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

TGroupBox::TGroupBox() : TWinControl(new QGroupBox), box_(static_cast<QGroupBox*>(Widget())) {}

std::string TGroupBox::Caption() const
{
    return box_->title().toStdString();
}

void TGroupBox::SetCaption(const std::string& value)
{
    box_->setTitle(QString::fromStdString(value));
}

void AddStdControlClasses(ClassTable& classes)
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
    classes["TEdit"] = {"TControl", [] { return std::make_unique<TEdit>(); }, {TextProperty("Text", &TEdit::SetText)}};
    classes["TLabel"] = {"TControl",
                         [] { return std::make_unique<TLabel>(); },
                         {TextProperty("Caption", &TLabel::SetCaption)}};
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
    classes["TGroupBox"] = {"TWinControl",
                            [] { return std::make_unique<TGroupBox>(); },
                            {TextProperty("Caption", &TGroupBox::SetCaption)}};
}
