// The test window's field and handler table.
#include "tests/shell/ProbeForm.h"

TProbeForm::TProbeForm(const std::string& layout) : TProbeForm(layout, nullptr) {}

TProbeForm::TProbeForm(const std::string& layout, const std::string& layoutText)
    : TProbeForm(layout, &layoutText)
{
}

TProbeForm::TProbeForm(const std::string& layout, const std::string* layoutText) : TForm("TProbeForm")
{
    PublishField("Image1", Image1);
    PublishField("CheckBox1", CheckBox1);
    PublishField("Timer1", Timer1);
    PublishField("PopupMenu1", PopupMenu1);
    PublishField("Item1", Item1);
    PublishField("Item2", Item2);
    PublishHandler("Tick", &TProbeForm::Tick);
    PublishHandler("KeyDown", &TProbeForm::KeyDown);
    PublishHandler("MouseMove", &TProbeForm::MouseMove);
    if (layoutText)
        LoadLayoutText(layout, *layoutText);
    else
        LoadLayout(layout);
}

void TProbeForm::Tick(TObject*)
{
    if (onTick)
        onTick();
}

void TProbeForm::KeyDown(TObject*, Word& Key, TShiftState)
{
    if (onKey)
        onKey(Key);
}

void TProbeForm::MouseMove(TObject*, TShiftState, int X, int Y)
{
    if (onMouse)
        onMouse(X, Y);
}
