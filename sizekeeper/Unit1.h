// The window that keeps its own bounds in an INI file and saves the text of an edit box.
#pragma once

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/Buttons.h"
#include "shell/TextControls.h"

class TForm1 : public TForm {
public:
    TButton* Button1 = nullptr;         // «Загрузить размер формы»
    TButton* Button2 = nullptr;         // «Сохранить размер формы»
    TEdit* Edit1 = nullptr;             // the text to save
    TButton* Button3 = nullptr;         // «Сохранить»: saves Edit1's text in prog2.ini
    TSaveDialog* SaveDialog1 = nullptr; // not used by the handlers

    TForm1();

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm1* Form1;
