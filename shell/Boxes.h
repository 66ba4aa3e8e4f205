// Boxes that frame other controls: the group box, the radio group (a group box of radio
// buttons made from a list of items), and the bevel, a frame or line drawn over the parent.
#pragma once

#include "shell/Buttons.h"

#include <memory>
#include <vector>

class QGroupBox;

// A framed box with a caption that holds other controls; it never takes the focus.
class TGroupBox : public TWinControl {
public:
    TGroupBox();
    std::string Caption() const;
    void SetCaption(const std::string& value);

protected:
    QGroupBox* box_;
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
