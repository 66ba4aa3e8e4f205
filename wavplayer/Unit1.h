// The wave player window: a media player and the button that loads "1.wav" into it.
#pragma once

#include "shell/Forms.h"
#include "shell/MediaPlayer.h"
#include "shell/Buttons.h"

class TForm1 : public TForm {
public:
    TMediaPlayer* MediaPlayer1 = nullptr; // plays the loaded file
    TButton* Button1 = nullptr;           // «Грузить»: loads "1.wav"

    TForm1();

    void Button1Click(TObject* Sender);
};

extern TForm1* Form1;
