// The tiler window: one picture, stamped once at random or over a grid, and replaced by a
// bitmap file chosen in an open dialog.
#pragma once

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/Graphics.h"
#include "shell/Buttons.h"

class TForm1 : public TForm {
public:
    TButton* Button1 = nullptr;         // «Произвольно»: one stamp at random
    TImage* Image1 = nullptr;           // the picture stamped
    TButton* Button2 = nullptr;         // «Замостить»: stamps a grid
    TOpenDialog* OpenDialog1 = nullptr; // «рисунки *.bmp»
    TButton* Button3 = nullptr;         // «Открыть»: picks another picture
    TButton* Button4 = nullptr;         // «Растянуть», does nothing

    TForm1();

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm1* Form1;
