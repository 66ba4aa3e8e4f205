// The paver window («Мостилка»): one button paves a grid with tiles picked at random from
// four bitmap files.
#pragma once

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/Graphics.h"
#include "shell/StdControls.h"

class TForm1 : public TForm {
public:
    TImage* Image1 = nullptr;
    TButton* Button1 = nullptr;
    TOpenPictureDialog* OpenPictureDialog1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;

    TForm1();

    void Button1Click(TObject* Sender);

    // Loads tile file number n (0 to 3) into Image1's picture; any other n loads nothing.
    void LoadTile(int n);
};

extern TForm1* Form1;
