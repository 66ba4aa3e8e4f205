// Windows: the form classes, and how a window class publishes its fields and handlers so
// that its layout can be applied to it.
#pragma once

#include "shell/Controls.h"
#include "shell/LayoutTarget.h"
#include "shell/Menus.h"

#include <cstdint>
#include <map>
#include <optional>
#include <variant>

// Colours as 0xRRGGBB.
using TColor = std::uint32_t;
constexpr TColor clBtnFace = 0xF0F0F0;
constexpr TColor clBtnHighlight = 0xFFFFFF;
constexpr TColor clWindow = 0xFFFFFF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlack = 0x000000;
inline constexpr NamedValue<TColor> ColorNames[] = {
    {"clBtnFace", clBtnFace}, {"clBtnHighlight", clBtnHighlight}, {"clWindow", clWindow},
    {"clWhite", clWhite},     {"clBlack", clBlack}};

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
inline constexpr NamedValue<TBorderStyle> BorderStyleNames[] = {
    {"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable}, {"bsDialog", bsDialog}};

// Where a window shows: where its Left and Top put it, or centred on the screen.
enum TPosition { poDesigned, poScreenCenter };
inline constexpr NamedValue<TPosition> PositionNames[] = {{"poDesigned", poDesigned}, {"poScreenCenter", poScreenCenter}};

// Title-bar buttons, as a set of bits.
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
inline constexpr NamedValue<TBorderIcon> BorderIconNames[] = {
    {"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}};

class FormWidget;
class QEventLoop;
class TCanvas;

class TCustomForm : public TWinControl, public LayoutTarget {
public:
    ~TCustomForm() override;

    const std::string& ClassName() const override { return className_; }

    // Left and Top are the window's screen position; Width and Height its outer size,
    // frame and title bar included (the frame counts as 0 while there is none).
    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void SetLeft(int value) override;
    void SetTop(int value) override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int value);
    void SetClientHeight(int value);

    std::string Caption() const;
    void SetCaption(const std::string& value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    unsigned BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(unsigned icons);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
    int Cursor() const { return cursor_; }
    void SetCursor(int cursor);

    // What handlers draw on: kept by the window and painted under its controls.
    TCanvas* GetCanvas() { return canvas_.get(); }

    void Show();
    // Closes the window; closing the main window ends the program.
    void Close();
    // Makes this the window whose closing ends the program.
    void MakeMainForm() { isMainForm_ = true; }

    TKeyEvent OnKeyDown;
    TMouseMoveEvent OnMouseMove;

    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    // Shows the window over the others and waits until a button with a modal result is
    // pressed (or the window is closed, which answers mrCancel); returns that result.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value);

    // What the layout loader binds by name, and where it keeps what it creates.
    TComponent& Root() override { return *this; }
    std::map<std::string, PublishedField>& Fields() override { return fields_; }
    const std::map<std::string, THandler>& Handlers() const override { return handlers_; }
    TComponent* Adopt(std::unique_ptr<TComponent> component) override;
    void ArrangeTabOrder() override;

protected:
    explicit TCustomForm(std::string className);

    // Publishes a field: the layout's component of that name is stored in it, and must be
    // of the field's class.
    template <class T>
    void PublishField(const std::string& name, T*& field)
    {
        fields_[name].bind = [&field](TComponent* component) {
            field = dynamic_cast<T*>(component);
            return field != nullptr;
        };
    }

    // Publishes a handler; its signature decides which events it can be bound to.
    template <class Form, class... Args>
    void PublishHandler(const std::string& name, void (Form::*method)(TObject*, Args...))
    {
        Form* self = static_cast<Form*>(this);
        handlers_[name] = std::function<void(TObject*, Args...)>(
            [self, method](TObject* sender, Args... args) { (self->*method)(sender, args...); });
    }

    // Builds the window from a layout embedded in the program ("bouncer/Unit1.json");
    // raises Exception naming the layout, node and property of anything it cannot apply.
    void LoadLayout(const std::string& layoutPath);
    // The same for layout text already in memory (a layout being tried out); the path
    // names it in messages and is where the pictures it names are looked up.
    void LoadLayoutText(const std::string& layoutPath, const std::string& text);

private:
    friend class FormWidget;
    void ApplyWindowFlags();
    void ResizeClient(int width, int height);
    void ApplyFrame();
    int FrameWidth() const;
    int FrameHeight() const;

    std::string className_;
    FormWidget* window_;
    std::unique_ptr<TCanvas> canvas_;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::map<std::string, PublishedField> fields_;
    std::map<std::string, THandler> handlers_;
    TBorderStyle borderStyle_ = bsSizeable;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TColor color_ = clBtnFace;
    TPopupMenu* popupMenu_ = nullptr;
    int cursor_ = crDefault;
    bool isMainForm_ = false;
    std::optional<int> pendingWidth_, pendingHeight_; // outer size waiting for the frame
    TPosition position_ = poDesigned;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr; // while ShowModal waits
};

// The window a control sits in, or nullptr while it sits in none.
TCustomForm* FormOf(const TControl& control);

class TForm : public TCustomForm {
protected:
    using TCustomForm::TCustomForm;
};
