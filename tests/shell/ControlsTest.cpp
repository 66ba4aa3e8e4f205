// The controls that hold, label and frame others: labelled edits, radio groups, bevels,
// and fonts of a control's own.
#include "shell/Application.h"
#include "shell/Boxes.h"
#include "shell/Buttons.h"
#include "shell/TextControls.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Controls, ALabelledEditKeepsItsLabelBesideIt)
{
    TApplication application("probe");
    TGroupBox box;
    TLabeledEdit edit;
    edit.SetParent(&box);
    edit.SetLeft(8);
    edit.SetTop(64);
    edit.SetWidth(225);
    edit.SetHeight(25);
    edit.EditLabel()->SetWidth(44);
    edit.EditLabel()->SetHeight(13);
    edit.PlaceLabel();
    struct Row {
        TLabelPosition position;
        int spacing, left, top;
    };
    const Row rows[] = {
        {lpAbove, 3, 8, 64 - 13 - 3}, {lpBelow, 3, 8, 64 + 25 + 3}, {lpLeft, 5, 8 - 44 - 5, 64 + 6},
        {lpRight, 2, 8 + 225 + 2, 64 + 6}, {lpAbove, 0, 8, 64 - 13},
    };
    for (const Row& row : rows) {
        edit.SetLabelPosition(row.position);
        edit.SetLabelSpacing(row.spacing);
        EXPECT_EQ(edit.EditLabel()->Left(), row.left) << "position " << row.position;
        EXPECT_EQ(edit.EditLabel()->Top(), row.top) << "position " << row.position;
    }
    EXPECT_EQ(edit.EditLabel()->Widget()->parentWidget(), box.Widget());

    edit.SetTop(100);
    EXPECT_EQ(edit.EditLabel()->Top(), 100 - 13) << "the label moves with its edit";
    edit.SetVisible(false);
    EXPECT_FALSE(edit.EditLabel()->Visible());
    edit.SetEnabled(false);
    EXPECT_FALSE(edit.EditLabel()->Widget()->isEnabled());
}

// A control placed in another may outlive it: its widget went with the holder's widget.
TEST(Controls, ControlsMayGoInAnyOrder)
{
    TApplication application("probe");
    auto box = std::make_unique<TGroupBox>();
    auto button = std::make_unique<TButton>();
    auto group = std::make_unique<TRadioGroup>();
    button->SetParent(box.get());
    group->SetParent(box.get());
    group->SetItems({"Воин", "Маг"});
    box.reset();
    EXPECT_EQ(button->Widget(), nullptr);
    EXPECT_EQ(group->Widget(), nullptr);
    group.reset();
    button.reset();
}

TEST(Controls, ARadioGroupChecksOneItemAtATime)
{
    TApplication application("probe");
    TRadioGroup group;
    group.SetWidth(160);
    group.SetHeight(120);
    group.SetItems({"Воин", "Маг", "Палладин"});
    EXPECT_EQ(group.ItemIndex(), -1);
    for (int index : {2, 0, 1, -1, 5}) {
        group.SetItemIndex(index);
        EXPECT_EQ(group.ItemIndex(), index == 5 ? -1 : index);
    }
    const auto buttons = group.Widget()->findChildren<QWidget*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_LT(buttons[0]->y(), buttons[1]->y());
    EXPECT_LE(buttons[2]->geometry().bottom(), 120);

    group.SetItems({"Один"});
    EXPECT_EQ(group.Widget()->findChildren<QWidget*>().size(), 1);
}

TEST(Controls, ABevelFrameIsDrawnInShadowAndHighlight)
{
    TApplication application("probe");
    TBevel bevel;
    bevel.SetWidth(40);
    bevel.SetHeight(30);
    const QPalette palette = bevel.Widget()->palette();
    const QRgb shadow = palette.color(QPalette::Dark).rgb(), light = palette.color(QPalette::Light).rgb();
    struct Row {
        TBevelShape shape;
        TBevelStyle style;
        QPoint shadowAt, lightAt;
    };
    const Row rows[] = {
        {bsFrame, bsLowered, {0, 0}, {1, 1}},     {bsFrame, bsLowered, {38, 28}, {39, 29}},
        {bsFrame, bsRaised, {1, 1}, {0, 0}},      {bsBox, bsLowered, {0, 15}, {39, 15}},
        {bsTopLine, bsLowered, {20, 0}, {20, 1}}, {bsRightLine, bsLowered, {38, 10}, {39, 10}},
    };
    for (const Row& row : rows) {
        bevel.SetShape(row.shape);
        bevel.SetStyle(row.style);
        const QImage image = bevel.Widget()->grab().toImage();
        EXPECT_EQ(image.pixel(row.shadowAt), shadow) << "shape " << row.shape << " style " << row.style;
        EXPECT_EQ(image.pixel(row.lightAt), light) << "shape " << row.shape << " style " << row.style;
    }
}

TEST(Controls, AControlsOwnFontLastsUntilItTakesItsParentsAgain)
{
    TApplication application("probe");
    TGroupBox box;
    TLabel label;
    label.SetParent(&box);
    EXPECT_TRUE(label.ParentFont());
    EXPECT_EQ(label.Widget()->font().pixelSize(), 11);

    TFont heading;
    heading.Height = -16;
    heading.Bold = true;
    label.SetFont(heading);
    EXPECT_FALSE(label.ParentFont());
    EXPECT_EQ(label.Widget()->font().pixelSize(), 16);
    EXPECT_TRUE(label.Widget()->font().bold());

    label.SetParentFont(true);
    EXPECT_EQ(label.Widget()->font().pixelSize(), 11);
    EXPECT_FALSE(label.Widget()->font().bold());
}

} // namespace
