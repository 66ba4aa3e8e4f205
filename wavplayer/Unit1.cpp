// The wave player's one handler: load "1.wav" from the current folder and play it.
#include "wavplayer/Unit1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("MediaPlayer1", MediaPlayer1);
    PublishField("Button1", Button1);

    PublishHandler("Button1Click", &TForm1::Button1Click);

    LoadLayout("wavplayer/Unit1.json");
}

void TForm1::Button1Click(TObject*)
{
    MediaPlayer1->SetFileName("1.wav");
    MediaPlayer1->Open();
    MediaPlayer1->Play();
}
