// Windows: the form classes over top-level Qt widgets; what a window publishes to its
// layout is kept in its LayoutTarget base.
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

protected:
    explicit TCustomForm(std::string className);

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
    // Chains the keyboard focus through each parent's controls in their TabOrder.
    void ArrangeTabOrder();

    FormWidget* window_;
    std::unique_ptr<TCanvas> canvas_;
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

class TForm : public TCustomForm {
protected:
    using TCustomForm::TCustomForm;
};
