// The base control over its Qt widget, and its part of the layout's class table.
#include "shell/Controls.h"

#include "shell/Layout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QJsonArray>
#include <QJsonObject>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

namespace {

// Qt computes with right and bottom edges in int, so a control is placed no further out
// than this; its own Left and Top still read back as set.
constexpr int PlacementLimit = 1 << 24;

int Placeable(int value)
{
    return std::clamp(value, -PlacementLimit, PlacementLimit);
}

// The layouts' name for the system's sans serif; Liberation Sans has its metrics, so
// captions fit where the layouts place them.
const char* const LayoutSansSerif = "MS Sans Serif";

// A font as a layout gives it: {"Name": "MS Sans Serif", "Height": -16, "Style": ["fsBold"],
// "Color": "clWindowText"}; every key may be left out.
TFont ReadFont(Loader& loader, const QJsonValue& value)
{
    if (!value.isObject())
        loader.Fail("ожидается описание шрифта, например {\"Name\": \"MS Sans Serif\", \"Height\": -11}");
    TFont font;
    const QJsonObject object = value.toObject();
    for (auto key = object.begin(); key != object.end(); ++key) {
        const std::string name = key.key().toStdString();
        if (name == "Name") {
            font.Name = loader.String(key.value());
        } else if (name == "Height") {
            font.Height = loader.Int(key.value());
        } else if (name == "Style") {
            if (!key.value().isArray())
                loader.Fail("ожидается список начертаний, например [\"fsBold\"]");
            for (const QJsonValue& style : key.value().toArray())
                font.*loader.Choice(style, FontStyleNames) = true;
        } else if (name == "Color") {
            // The system's text colour is the only one a font may ask for: the palette
            // already draws text in it.
            loader.Choice(key.value(), {"clWindowText"});
        } else {
            loader.Fail("у шрифта нет параметра " + Quoted(name));
        }
    }
    if (font.Height == 0)
        loader.Fail("высота шрифта не может быть 0");
    return font;
}

// What carries a modal result from a control to its window.
class ModalResultEvent : public QEvent {
public:
    explicit ModalResultEvent(TModalResult result) : QEvent(EventType()), result_(result) {}
    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    TModalResult Result() const { return result_; }

private:
    TModalResult result_;
};

} // namespace

QFont QtFont(const TFont& font)
{
    QFont qt(font.Name == LayoutSansSerif ? QStringLiteral("Liberation Sans") : QString::fromStdString(font.Name));
    qt.setStyleHint(QFont::SansSerif);
    // A negative height counts the characters alone, a positive one the whole line with
    // its leading; both are taken as the pixel size, which differs by a pixel or two.
    qt.setPixelSize(std::abs(font.Height));
    qt.setBold(font.Bold);
    qt.setItalic(font.Italic);
    qt.setUnderline(font.Underline);
    qt.setStrikeOut(font.StrikeOut);
    return qt;
}

TControl::TControl(QWidget* widget) : widget_(widget) {}

TControl::~TControl()
{
    delete widget_.data();
}

QWidget* TControl::Widget() const
{
    return widget_.data();
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

// A greyed-out control lets the pointer through, its own controls with it: moves over it,
// and drags begun on it, belong to what lies beneath (the window, or the box holding it).
void TControl::SetEnabled(bool value)
{
    enabled_ = value;
    widget_->setEnabled(value);
    widget_->setAttribute(Qt::WA_TransparentForMouseEvents, !value);
}

void TControl::SetParentFont(bool value)
{
    parentFont_ = value;
    // A font with nothing set of its own makes Qt take every part from the parent.
    widget_->setFont(value ? QFont() : QtFont(font_));
}

void TControl::SetFont(const TFont& font)
{
    font_ = font;
    SetParentFont(false);
}

void TControl::SetParent(TWinControl* parent)
{
    widget_->setParent(parent->Widget());
    widget_->setVisible(visible_);
}

void SendModalResult(const TControl& control, TModalResult result)
{
    ModalResultEvent event(result);
    QCoreApplication::sendEvent(control.Widget()->window(), &event);
}

std::optional<TModalResult> ModalResultOf(const QEvent& event)
{
    if (event.type() != ModalResultEvent::EventType())
        return std::nullopt;
    return static_cast<const ModalResultEvent&>(event).Result();
}

void AddControlClasses(ClassTable& classes)
{
    classes["TNonVisualComponent"] = {"",
                                      {},
                                      {
                                          IntProperty("Left", &TNonVisualComponent::SetLeft),
                                          IntProperty("Top", &TNonVisualComponent::SetTop),
                                      }};
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
                               {"Font",
                                [](Loader& l, TComponent& c, const QJsonValue& v) {
                                    static_cast<TControl&>(c).SetFont(ReadFont(l, v));
                                }},
                               BoolProperty("ParentFont", &TControl::SetParentFont),
                           }};
    classes["TWinControl"] = {"TControl", {}, {}, [](TComponent& holder, TComponent& child) {
                                  auto* control = dynamic_cast<TControl*>(&child);
                                  if (control)
                                      control->SetParent(&static_cast<TWinControl&>(holder));
                                  return control != nullptr;
                              }};
}
