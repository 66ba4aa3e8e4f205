// The toolkit's component classes: each wraps one Qt object and shows its state as plain
// accessors, so that handlers never touch Qt.
#pragma once

#include "shell/Picture.h"
#include "shell/SysUtils.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QMenu;
class QTimer;
class QWidget;

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

// Mouse pointers a window can show; crNone hides the pointer.
enum TCursor : int { crDefault = 0, crNone = -1 };

class TComponent : public TObject {
public:
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

private:
    std::string name_;
};

class TWinControl;

// A visible control. Its bounds are kept as set, so the value read back is the value
// written even when it lies far outside what the window system can place.
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

    bool Visible() const;
    void SetVisible(bool value);
    bool Enabled() const;
    void SetEnabled(bool value);

    // Place in the keyboard focus order among the controls of the same parent; -1 when
    // the layout gives none.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int value) { tabOrder_ = value; }

    void SetParent(TWinControl* parent);

    // The Qt widget behind the control, for the shell and its tests.
    QWidget* Widget() const { return widget_; }

protected:
    explicit TControl(QWidget* widget);

private:
    void PlaceWidget();

    QWidget* widget_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    int tabOrder_ = -1;
};

// A control that can hold other controls.
class TWinControl : public TControl {
protected:
    using TControl::TControl;
};

// Shows a picture unscaled from its top-left corner; never sizes itself to it.
class TImage : public TControl {
public:
    TImage();
    TPicture* Picture() { return &picture_; }

private:
    TPicture picture_;
};

class TCheckBox : public TControl {
public:
    TCheckBox();
    std::string Caption() const;
    void SetCaption(const std::string& value);
    bool Checked() const;
    void SetChecked(bool value);

    TNotifyEvent OnClick;

private:
    QCheckBox* box_;
};

// Raises OnTimer every Interval milliseconds on the GUI thread while it is enabled.
class TTimer : public TComponent {
public:
    TTimer();
    ~TTimer() override;

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    // Raises OnTimer once, as a tick of the clock would.
    void Tick();

    // Behaviour tests drive ticks by hand: while the clock is stopped, enabled timers keep
    // reading as enabled but their ticks reach no handler.
    static void StopClock(bool stopped);

    TNotifyEvent OnTimer;

private:
    void Schedule();

    std::unique_ptr<QTimer> timer_;
    int interval_ = 1000;
    bool enabled_ = true;
};

class TMenuItem : public TComponent {
public:
    TMenuItem();
    ~TMenuItem() override;

    std::string Caption() const;
    void SetCaption(const std::string& value);

    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }

    // Picks the entry as a user's click on it would.
    void Click();

    QAction* Action() const { return action_.get(); }

    TNotifyEvent OnClick;

private:
    std::unique_ptr<QAction> action_;
    std::unique_ptr<QMenu> submenu_;
    std::vector<TMenuItem*> items_;
};

class TPopupMenu : public TComponent {
public:
    TPopupMenu();
    ~TPopupMenu() override;

    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }

    // Opens the menu with its top-left corner at a screen position; it does not block.
    void Popup(int x, int y);

    QMenu* Menu() const { return menu_.get(); }

private:
    std::unique_ptr<QMenu> menu_;
    std::vector<TMenuItem*> items_;
};
