// The standard controls over their Qt widgets, and their part of the layout's class table.
#include "shell/StdControls.h"

#include "shell/LayoutClasses.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

TButton::TButton() : TControl(new QPushButton), button_(static_cast<QPushButton*>(Widget()))
{
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, [this] { Fire(OnClick, this); });
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

void AddStdControlClasses(ClassTable& classes)
{
    classes["TButton"] = {"TControl",
                          [] { return std::make_unique<TButton>(); },
                          {
                              TextProperty("Caption", &TButton::SetCaption),
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
}
