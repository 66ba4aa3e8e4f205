// The extra controls: a bevelled frame, an edit with its own label, and a group of radio
// buttons made from a list of items.
#pragma once

#include "shell/StdControls.h"

#include <memory>
#include <vector>

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
inline constexpr NamedValue<TBevelShape> BevelShapeNames[] = {
    {"bsBox", bsBox},           {"bsFrame", bsFrame},         {"bsTopLine", bsTopLine}, {"bsBottomLine", bsBottomLine},
    {"bsLeftLine", bsLeftLine}, {"bsRightLine", bsRightLine}, {"bsSpacer", bsSpacer}};
enum TBevelStyle { bsLowered, bsRaised };
inline constexpr NamedValue<TBevelStyle> BevelStyleNames[] = {{"bsLowered", bsLowered}, {"bsRaised", bsRaised}};

// A sunken or raised frame or line drawn over the parent; it takes no input.
class TBevel : public TControl {
public:
    TBevel();
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
inline constexpr NamedValue<TLabelPosition> LabelPositionNames[] = {
    {"lpAbove", lpAbove}, {"lpBelow", lpBelow}, {"lpLeft", lpLeft}, {"lpRight", lpRight}};

// An edit with a label of its own beside it (above unless told otherwise), LabelSpacing
// pixels away. The label sits in the edit's parent, moves with the edit, and is shown,
// hidden, greyed and restored with it.
class TLabeledEdit : public TEdit {
public:
    TLabeledEdit();

    TLabel* EditLabel() { return label_.get(); }
    TLabelPosition LabelPosition() const { return labelPosition_; }
    void SetLabelPosition(TLabelPosition value);
    int LabelSpacing() const { return labelSpacing_; }
    void SetLabelSpacing(int value);
    // Puts the label beside the edit again, after the label's own size changed.
    void PlaceLabel();

    void SetParent(TWinControl* parent) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;

protected:
    void PlaceWidget() override;

private:
    std::unique_ptr<TLabel> label_;
    TLabelPosition labelPosition_ = lpAbove;
    int labelSpacing_ = 3;
};

// A group box whose items are radio buttons, one under the other; ItemIndex is the
// checked one, -1 for none.
class TRadioGroup : public TGroupBox {
public:
    TRadioGroup();

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const;
    void SetItemIndex(int value);

protected:
    void PlaceWidget() override;

private:
    std::vector<std::string> items_;
    std::vector<std::unique_ptr<TRadioButton>> buttons_;
};
