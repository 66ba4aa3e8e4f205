// Controls that show or take a line of text: the label, the one-line edit, and the edit
// with a label of its own.
#pragma once

#include "shell/Controls.h"

#include <memory>

class QLabel;
class QLineEdit;

// A one-line text box the user can type into.
class TEdit : public TControl {
public:
    TEdit();
    std::string Text() const;
    void SetText(const std::string& value);

private:
    QLineEdit* edit_;
};

// A line of text. It is never cut short: a caption wider than the label's Width runs on
// to the right, as a label that sizes itself to its text would.
class TLabel : public TControl {
public:
    TLabel();
    std::string Caption() const;
    void SetCaption(const std::string& value);

protected:
    void PlaceWidget() override;

private:
    QLabel* label_;
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
    void SetLabelPosition(TLabelPosition value) { labelPosition_ = value; PlaceLabel(); }
    int LabelSpacing() const { return labelSpacing_; }
    void SetLabelSpacing(int value) { labelSpacing_ = value; PlaceLabel(); }
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
