// The visible controls' base: bounds, fonts, the parent that holds them. Each control
// wraps one Qt widget and shows its state as plain accessors, so that handlers never
// touch Qt.
#pragma once

#include "shell/Components.h"

#include <QPointer>

#include <optional>
#include <string>

class QEvent;
class QFont;
class QWidget;

// Mouse pointers a window can show; crNone hides the pointer.
enum TCursor : int { crDefault = 0, crNone = -1 };

class TWinControl;

// A control's own type face. "MS Sans Serif" stands for the system's sans serif; a
// negative Height is the height of the characters in pixels, as the layouts give it.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = -11;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};
// The styles a layout sets on a font, each by the flag it turns on.
inline constexpr NamedValue<bool TFont::*> FontStyleNames[] = {
    {"fsBold", &TFont::Bold}, {"fsItalic", &TFont::Italic}, {"fsUnderline", &TFont::Underline},
    {"fsStrikeOut", &TFont::StrikeOut}};

// The Qt font that shows a TFont, for the shell.
QFont QtFont(const TFont& font);

// A visible control. Its bounds are kept as set, so the value read back is the value
// written even when it lies far outside what the window system can place.
// The control deletes its widget when it goes; a widget placed in a parent is deleted with
// the parent's widget instead if that goes first, so controls may go in any order.
class TControl : public TComponent {
public:
    ~TControl() override;

    virtual int Left() const { return left_; }
    virtual int Top() const { return top_; }
    virtual int Width() const { return width_; }
    virtual int Height() const { return height_; }
    virtual void SetLeft(int value) { left_ = value; PlaceWidget(); }
    virtual void SetTop(int value) { top_ = value; PlaceWidget(); }
    virtual void SetWidth(int value) { width_ = value; PlaceWidget(); }
    virtual void SetHeight(int value) { height_ = value; PlaceWidget(); }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

    // A control takes its parent's font until it is given one of its own; setting
    // ParentFont back to true drops its own font again.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);

    // Place in the keyboard focus order among the controls of the same parent; -1 when
    // the layout gives none.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int value) { tabOrder_ = value; }

    virtual void SetParent(TWinControl* parent);

    // The Qt widget behind the control, for the shell and its tests.
    QWidget* Widget() const;

protected:
    explicit TControl(QWidget* widget);

    // Moves the widget to the control's bounds, as far as the window system can place it.
    virtual void PlaceWidget();

private:
    QPointer<QWidget> widget_; // empty once the parent's widget has deleted it
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    int tabOrder_ = -1;
    bool parentFont_ = true;
    TFont font_;
};

// A control that can hold other controls.
class TWinControl : public TControl {
protected:
    using TControl::TControl;
};

// A clicked button with a ModalResult hands it to the window it sits in through these: the
// control sends it to its window's widget, and a window that shows modally (a form) reads
// it from the event there; a control that sits in no window hands it to nobody.
void SendModalResult(const TControl& control, TModalResult result);
std::optional<TModalResult> ModalResultOf(const QEvent& event);
