// The base control over its Qt widget, and its part of the layout's class table.
#include "shell/Controls.h"

#include "shell/LayoutClasses.h"
#include "shell/Messages.h"

#include <QWidget>

#include <algorithm>

namespace {

// Qt computes with right and bottom edges in int, so a control is placed no further out
// than this; its own Left and Top still read back as set.
constexpr int PlacementLimit = 1 << 24;

int Placeable(int value)
{
    return std::clamp(value, -PlacementLimit, PlacementLimit);
}

} // namespace

void Fire(const TNotifyEvent& event, TObject* sender)
{
    if (event)
        Dispatch([&] { event(sender); });
}

TControl::TControl(QWidget* widget) : widget_(widget) {}

TControl::~TControl()
{
    delete widget_;
}

void TControl::SetLeft(int value)
{
    left_ = value;
    PlaceWidget();
}

void TControl::SetTop(int value)
{
    top_ = value;
    PlaceWidget();
}

void TControl::SetWidth(int value)
{
    width_ = value;
    PlaceWidget();
}

void TControl::SetHeight(int value)
{
    height_ = value;
    PlaceWidget();
}

void TControl::PlaceWidget()
{
    widget_->setGeometry(Placeable(left_), Placeable(top_), std::clamp(width_, 0, PlacementLimit),
                         std::clamp(height_, 0, PlacementLimit));
}

void TControl::SetVisible(bool value)
{
    visible_ = value;
    widget_->setVisible(value);
}

void TControl::SetEnabled(bool value)
{
    enabled_ = value;
    widget_->setEnabled(value);
}

void TControl::SetParent(TWinControl* parent)
{
    widget_->setParent(parent->Widget());
    widget_->setVisible(visible_);
}

void AddControlClasses(ClassTable& classes)
{
    classes["TControl"] = {"",
                           {},
                           {
                               IntProperty("Left", &TControl::SetLeft),
                               IntProperty("Top", &TControl::SetTop),
                               IntProperty("Width", &TControl::SetWidth),
                               IntProperty("Height", &TControl::SetHeight),
                               BoolProperty("Visible", &TControl::SetVisible),
                               BoolProperty("Enabled", &TControl::SetEnabled),
                               IntProperty("TabOrder", &TControl::SetTabOrder),
                           }};
}
