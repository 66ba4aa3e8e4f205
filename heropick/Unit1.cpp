// The character window's one handler: every key press shows its code, the space bar a
// sentence, and Escape closes the window.
#include "heropick/Unit1.h"

#include "shell/KeyCodes.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("GroupBox1", GroupBox1);
    PublishField("LabeledEdit1", LabeledEdit1);
    PublishHandler("FormKeyDown", &TForm1::FormKeyDown);
    LoadLayout("heropick/Unit1.json");
}

void TForm1::FormKeyDown(TObject*, Word& Key, TShiftState)
{
    Form1->LabeledEdit1->SetText(IntToStr(Key));
    if (Key == VK_SPACE)
        Form1->LabeledEdit1->SetText("Вы нажали пробел!");
    if (Key == VK_ESCAPE)
        Form1->Close();
}
