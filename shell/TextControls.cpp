// The text controls over their Qt widgets, and their part of the layout's class table.
#include "shell/TextControls.h"

#include "shell/Layout.h"

#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

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

TLabeledEdit::TLabeledEdit() : label_(std::make_unique<TLabel>()) {}

void TLabeledEdit::PlaceWidget()
{
    TEdit::PlaceWidget();
    PlaceLabel();
}

void TLabeledEdit::PlaceLabel()
{
    if (!label_)
        return; // the edit is placed while it is being built, before its label exists
    const int w = label_->Width(), h = label_->Height();
    const int middle = Top() + (Height() - h) / 2;
    switch (labelPosition_) {
    case lpAbove:
        label_->SetLeft(Left());
        label_->SetTop(Top() - h - labelSpacing_);
        break;
    case lpBelow:
        label_->SetLeft(Left());
        label_->SetTop(Top() + Height() + labelSpacing_);
        break;
    case lpLeft:
        label_->SetLeft(Left() - w - labelSpacing_);
        label_->SetTop(middle);
        break;
    case lpRight:
        label_->SetLeft(Left() + Width() + labelSpacing_);
        label_->SetTop(middle);
        break;
    }
}

void TLabeledEdit::SetParent(TWinControl* parent)
{
    TEdit::SetParent(parent);
    label_->SetParent(parent);
}

void TLabeledEdit::SetVisible(bool value)
{
    TEdit::SetVisible(value);
    label_->SetVisible(value);
}

void TLabeledEdit::SetEnabled(bool value)
{
    TEdit::SetEnabled(value);
    label_->SetEnabled(value);
}

void AddTextControlClasses(ClassTable& classes)
{
    classes["TEdit"] = {"TControl", [] { return std::make_unique<TEdit>(); }, {TextProperty("Text", &TEdit::SetText)}};
    classes["TLabel"] = {"TControl",
                         [] { return std::make_unique<TLabel>(); },
                         {TextProperty("Caption", &TLabel::SetCaption)}};
    classes["TLabeledEdit"] = {
        "TEdit",
        [] { return std::make_unique<TLabeledEdit>(); },
        {
            // {"Caption": "Уровень", "Width": 44, "Height": 13}: the label's own properties.
            {"EditLabel",
             [](Loader& l, TComponent& c, const QJsonValue& v) {
                 if (!v.isObject())
                     l.Fail("ожидается описание надписи, например {\"Caption\": \"Уровень\"}");
                 auto& edit = static_cast<TLabeledEdit&>(c);
                 const QJsonObject label = v.toObject();
                 for (auto key = label.begin(); key != label.end(); ++key) {
                     if (key.key() == "Caption")
                         edit.EditLabel()->SetCaption(l.String(key.value()));
                     else if (key.key() == "Width")
                         edit.EditLabel()->SetWidth(l.Int(key.value()));
                     else if (key.key() == "Height")
                         edit.EditLabel()->SetHeight(l.Int(key.value()));
                     else
                         l.Fail("у надписи нет свойства " + Quoted(key.key().toStdString()));
                 }
                 edit.PlaceLabel();
             }},
            ChoiceProperty("LabelPosition", &TLabeledEdit::SetLabelPosition, LabelPositionNames),
            IntProperty("LabelSpacing", &TLabeledEdit::SetLabelSpacing),
        }};
}
