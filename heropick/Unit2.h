// The hero-choice dialog: three heroes to choose from, OK and Cancel. The program creates
// it at start and never shows it.
#pragma once

#include "shell/ExtControls.h"
#include "shell/Forms.h"

class TOKRightDlg : public TForm {
public:
    TBevel* Bevel1 = nullptr;
    TLabel* Label1 = nullptr;
    TButton* OKBtn = nullptr;
    TButton* CancelBtn = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TRadioButton* RadioButton1 = nullptr;
    TRadioButton* RadioButton2 = nullptr;
    TRadioButton* RadioButton3 = nullptr;

    TOKRightDlg();
};

extern TOKRightDlg* OKRightDlg;
