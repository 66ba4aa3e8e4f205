// The hero-choice dialog: three heroes to choose from, OK and Cancel. The program creates
// it at start and never shows it.
#pragma once

#include "shell/Boxes.h"
#include "shell/Buttons.h"
#include "shell/TextControls.h"
#include "shell/Forms.h"

class TOKRightDlg : public TForm {
public:
    TBevel* Bevel1 = nullptr;             // the frame around the choice
    TLabel* Label1 = nullptr;             // «Выберите героя:»
    TButton* OKBtn = nullptr;             // «OK»
    TButton* CancelBtn = nullptr;         // «Cancel»
    TRadioGroup* RadioGroup1 = nullptr;   // «RadioGroup1», an empty group
    TRadioButton* RadioButton1 = nullptr; // «Воин»
    TRadioButton* RadioButton2 = nullptr; // «Маг»
    TRadioButton* RadioButton3 = nullptr; // «Палладин»

    TOKRightDlg();
};

extern TOKRightDlg* OKRightDlg;
