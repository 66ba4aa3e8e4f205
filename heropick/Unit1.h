// The character window: a group box with the greyed field «Уровень», which shows the code
// of every key pressed.
#pragma once

#include "shell/Boxes.h"
#include "shell/TextControls.h"
#include "shell/Forms.h"

class TForm1 : public TForm {
public:
    TGroupBox* GroupBox1 = nullptr;       // «Ваши характеристики:»
    TLabeledEdit* LabeledEdit1 = nullptr; // «Уровень», greyed; shows the last key's code

    TForm1();

    void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
};

extern TForm1* Form1;
