// The bouncer window: a ball, a paddle that climbs, three timers and the game's menu.
#pragma once

#include "shell/Forms.h"
#include "shell/Graphics.h"
#include "shell/StdControls.h"
#include "shell/Timers.h"

class TForm1 : public TForm {
public:
    TImage* Image1 = nullptr;
    TTimer* Timer1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* d11 = nullptr;
    TMenuItem* d21 = nullptr;
    TMenuItem* d31 = nullptr;
    TMenuItem* d41 = nullptr;
    TTimer* Timer2 = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* N3 = nullptr;
    TMenuItem* N4 = nullptr;
    TMenuItem* N5 = nullptr;
    TMenuItem* N6 = nullptr;
    TMenuItem* N7 = nullptr;
    TMenuItem* N01 = nullptr;
    TMenuItem* N8 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TImage* Button1 = nullptr;
    TMenuItem* N9 = nullptr;
    TMenuItem* N10 = nullptr;
    TMenuItem* N11 = nullptr;
    TTimer* Timer3 = nullptr;

    TForm1();

    void Timer1Timer(TObject* Sender);
    void N1Click(TObject* Sender);
    void d11Click(TObject* Sender);
    void d21Click(TObject* Sender);
    void d31Click(TObject* Sender);
    void d41Click(TObject* Sender);
    void Timer2Timer(TObject* Sender);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void N4Click(TObject* Sender);
    void N3Click(TObject* Sender);
    void N5Click(TObject* Sender);
    void N8Click(TObject* Sender);
    void N10Click(TObject* Sender);
    void N11Click(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void Timer3Timer(TObject* Sender);
};

extern TForm1* Form1;

// The game's state, alive for the whole run.
extern int direction;   // the ball's diagonal: 1 down-right, 2 up-right, 3 down-left, 4 up-left
extern int step;        // pixels one move of the ball adds to or takes from Left and Top
extern int rise;        // the paddle climbs 10 * rise pixels at each climb
extern int winLine;     // the game is won once the paddle's Top is at most this
extern int controlMode; // 1: the paddle follows the mouse; 0: the arrow keys move it
extern int score;       // wins minus losses
extern int ballFrame;   // the animation frame (1 to 4) loaded last; 0 before the first
