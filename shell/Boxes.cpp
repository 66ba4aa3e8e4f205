// The boxes over their Qt widgets, and their part of the layout's class table.
#include "shell/Boxes.h"

#include "shell/Layout.h"

#include <QGroupBox>
#include <QJsonArray>
#include <QPainter>
#include <QWidget>

#include <algorithm>

TGroupBox::TGroupBox() : TWinControl(new QGroupBox), box_(static_cast<QGroupBox*>(Widget())) {}

std::string TGroupBox::Caption() const
{
    return box_->title().toStdString();
}

void TGroupBox::SetCaption(const std::string& value)
{
    box_->setTitle(QString::fromStdString(value));
}

TRadioGroup::TRadioGroup() = default;


void TRadioGroup::SetItems(const std::vector<std::string>& items)
{
    items_ = items;
    buttons_.clear();
    for (const std::string& item : items_) {
        buttons_.push_back(std::make_unique<TRadioButton>());
        buttons_.back()->SetCaption(item);
        buttons_.back()->SetParent(this);
    }
    PlaceWidget();
}

int TRadioGroup::ItemIndex() const
{
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->Checked())
            return static_cast<int>(i);
    return -1;
}

void TRadioGroup::SetItemIndex(int value)
{
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->SetChecked(static_cast<int>(i) == value);
}

// The items share the box's height below its caption in equal rows.
void TRadioGroup::PlaceWidget()
{
    TGroupBox::PlaceWidget();
    if (buttons_.empty())
        return;
    constexpr int Margin = 8;
    const int top = box_->fontMetrics().height();
    const int row = std::max((Height() - top - Margin / 2) / static_cast<int>(buttons_.size()), 1);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        TRadioButton& button = *buttons_[i];
        button.SetLeft(Margin);
        button.SetTop(top + static_cast<int>(i) * row);
        button.SetWidth(std::max(Width() - 2 * Margin, 0));
        button.SetHeight(row);
    }
}

namespace {

// Paints a bevel in the two shades of the parent's face: the shadow where light would
// not reach, the highlight where it would.
class BevelWidget : public QWidget {
public:
    explicit BevelWidget(const TBevel& bevel) : bevel_(bevel) { setAttribute(Qt::WA_TransparentForMouseEvents); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QColor first = palette().color(QPalette::Dark), second = palette().color(QPalette::Light);
        if (bevel_.Style() == bsRaised)
            std::swap(first, second);
        const int right = width() - 1, bottom = height() - 1;
        auto line = [&](const QColor& colour, int x1, int y1, int x2, int y2) {
            painter.setPen(colour);
            painter.drawLine(x1, y1, x2, y2);
        };
        switch (bevel_.Shape()) {
        case bsBox:
            line(first, 0, 0, right, 0);
            line(first, 0, 0, 0, bottom);
            line(second, 0, bottom, right, bottom);
            line(second, right, 0, right, bottom);
            break;
        case bsFrame: // an etched frame: a highlight one pixel in from the shadow
            painter.setPen(second);
            painter.drawRect(1, 1, right - 1, bottom - 1);
            painter.setPen(first);
            painter.drawRect(0, 0, right - 1, bottom - 1);
            break;
        case bsTopLine:
            line(first, 0, 0, right, 0);
            line(second, 0, 1, right, 1);
            break;
        case bsBottomLine:
            line(first, 0, bottom - 1, right, bottom - 1);
            line(second, 0, bottom, right, bottom);
            break;
        case bsLeftLine:
            line(first, 0, 0, 0, bottom);
            line(second, 1, 0, 1, bottom);
            break;
        case bsRightLine:
            line(first, right - 1, 0, right - 1, bottom);
            line(second, right, 0, right, bottom);
            break;
        case bsSpacer:
            break;
        }
    }

private:
    const TBevel& bevel_;
};

} // namespace

TBevel::TBevel() : TControl(new BevelWidget(*this)) {}

void TBevel::SetShape(TBevelShape value)
{
    shape_ = value;
    Widget()->update();
}

void TBevel::SetStyle(TBevelStyle value)
{
    style_ = value;
    Widget()->update();
}

void AddBoxClasses(ClassTable& classes)
{
    classes["TGroupBox"] = {"TWinControl",
                            [] { return std::make_unique<TGroupBox>(); },
                            {TextProperty("Caption", &TGroupBox::SetCaption)}};
    classes["TRadioGroup"] = {"TGroupBox",
                              [] { return std::make_unique<TRadioGroup>(); },
                              {
                                  {"Items",
                                   [](Loader& l, TComponent& c, const QJsonValue& v) {
                                       if (!v.isArray())
                                           l.Fail("ожидается список строк");
                                       std::vector<std::string> items;
                                       for (const QJsonValue& item : v.toArray())
                                           items.push_back(l.String(item));
                                       static_cast<TRadioGroup&>(c).SetItems(items);
                                   }},
                                  IntProperty("ItemIndex", &TRadioGroup::SetItemIndex),
                              }};
    classes["TBevel"] = {"TControl",
                         [] { return std::make_unique<TBevel>(); },
                         {
                             ChoiceProperty("Shape", &TBevel::SetShape, BevelShapeNames),
                             ChoiceProperty("Style", &TBevel::SetStyle, BevelStyleNames),
                         }};
}
