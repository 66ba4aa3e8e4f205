// The window that keeps its own bounds in an INI file and saves the text of an edit box.
#pragma once

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/StdControls.h"

class TForm1 : public TForm {
public:
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TEdit* Edit1 = nullptr;
    TButton* Button3 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    TForm1();

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm1* Form1;
