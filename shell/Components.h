// The root of the toolkit's classes: objects and components, the event types that
// handlers are bound with, and a dialog's modal result. The layout loader knows the
// window's parts only as these; the visible controls build on them (Controls.h).
#pragma once

#include "shell/Conversions.h"

#include <functional>
#include <string>

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
