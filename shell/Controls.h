// The root of the toolkit's classes: components, visible controls and the event types
// that handlers are bound with. Each control wraps one Qt widget and shows its state as
// plain accessors, so that handlers never touch Qt.
#pragma once

#include "shell/SysUtils.h"

#include <QPointer>

class QWidget;

#include <functional>
#include <string>

class QFont;

class TObject {
public:
    virtual ~TObject() = default;
};

// Keys and mouse buttons held during an input event.
enum TShiftStateItem : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };

class TShiftState {
public:
    TShiftState(unsigned bits = 0) : bits_(bits) {}
    bool Contains(TShiftStateItem item) const { return (bits_ & item) != 0; }

private:
    unsigned bits_;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// Raises a notify event, if one is bound, through the event dispatch.
void Fire(const TNotifyEvent& event, TObject* sender);

// What a dialog answers: the result of ShowModal, given by the button that closed it.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2;
inline constexpr NamedValue<TModalResult> ModalResultNames[] = {{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}};

// Mouse pointers a window can show; crNone hides the pointer.
enum TCursor : int { crDefault = 0, crNone = -1 };

class TComponent : public TObject {
public:
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

private:
    std::string name_;
};

// A component with no window of its own (a timer, a menu, a file dialog): its Left and Top
// are only where the window's designer placed it, kept and read back as written, never shown.
class TNonVisualComponent : public TComponent {
public:
    int Left() const { return left_; }
    int Top() const { return top_; }
    void SetLeft(int value) { left_ = value; }
    void SetTop(int value) { top_ = value; }

private:
    int left_ = 0;
    int top_ = 0;
};

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
    virtual void SetLeft(int value);
    virtual void SetTop(int value);
    virtual void SetWidth(int value);
    virtual void SetHeight(int value);

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
