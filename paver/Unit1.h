// The paver window («Мостилка»): one button paves a grid with tiles picked at random from
// four bitmap files.
#pragma once

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "shell/Graphics.h"
#include "shell/Buttons.h"

class TForm1 : public TForm {
public:
    TImage* Image1 = nullptr;                         // holds the tile last loaded
    TButton* Button1 = nullptr;                       // «Button1»: paves the grid
    TOpenPictureDialog* OpenPictureDialog1 = nullptr; // not used by the handlers
    TOpenDialog* OpenDialog1 = nullptr;               // not used by the handlers

    TForm1();

    void Button1Click(TObject* Sender);

    // Loads tile file number n (0 to 3) into Image1's picture; any other n loads nothing.
    void LoadTile(int n);
};

extern TForm1* Form1;
