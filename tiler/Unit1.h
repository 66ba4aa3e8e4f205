// The tiler window: one picture, stamped once at random or over a grid, and replaced by a
// bitmap file chosen in an open dialog.
#pragma once

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/Graphics.h"
#include "shell/StdControls.h"

class TForm1 : public TForm {
public:
    TButton* Button1 = nullptr;
    TImage* Image1 = nullptr;
    TButton* Button2 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;

    TForm1();

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm1* Form1;
