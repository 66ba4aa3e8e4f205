// The hero-choice dialog, built from its layout alone: it has no handlers.
#include "heropick/Unit2.h"

TOKRightDlg* OKRightDlg = nullptr;

TOKRightDlg::TOKRightDlg() : TForm("TOKRightDlg")
{
    PublishField("Bevel1", Bevel1);
    PublishField("Label1", Label1);
    PublishField("OKBtn", OKBtn);
    PublishField("CancelBtn", CancelBtn);
    PublishField("RadioGroup1", RadioGroup1);
    PublishField("RadioButton1", RadioButton1);
    PublishField("RadioButton2", RadioButton2);
    PublishField("RadioButton3", RadioButton3);
    LoadLayout("heropick/Unit2.json");
}
