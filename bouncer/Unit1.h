// The bouncer window: a ball, a paddle that climbs, three timers and the game's menu.
#pragma once

#include "shell/Forms.h"
#include "shell/Graphics.h"
#include "shell/Buttons.h"
#include "shell/Timers.h"

class TForm1 : public TForm {
public:
    TImage* Image1 = nullptr;         // the ball
    TTimer* Timer1 = nullptr;         // moves the ball, every 30 ms
    TPopupMenu* PopupMenu1 = nullptr; // the game's menu, on a right click
    TMenuItem* N1 = nullptr;          // «Выход»
    TMenuItem* d11 = nullptr;         // «d1»: the ball's diagonal down-right
    TMenuItem* d21 = nullptr;         // «d2»: up-right
    TMenuItem* d31 = nullptr;         // «d3»: down-left
    TMenuItem* d41 = nullptr;         // «d4»: up-left
    TTimer* Timer2 = nullptr;         // lifts the paddle, every 5 s at start
    TMenuItem* N2 = nullptr;          // «Сложность»
    TMenuItem* N3 = nullptr;          // «Легк»
    TMenuItem* N4 = nullptr;          // «Сложн»
    TMenuItem* N5 = nullptr;          // «Новая игра»
    TMenuItem* N6 = nullptr;          // «Отладка»
    TMenuItem* N7 = nullptr;          // «Побед:»
    TMenuItem* N01 = nullptr;         // «0», under «Побед:»
    TMenuItem* N8 = nullptr;          // «Сумашедш»
    TCheckBox* CheckBox1 = nullptr;   // the winning line
    TImage* Button1 = nullptr;        // the paddle (a picture)
    TMenuItem* N9 = nullptr;          // «Управление»
    TMenuItem* N10 = nullptr;         // «Мышью»
    TMenuItem* N11 = nullptr;         // «Клавой»
    TTimer* Timer3 = nullptr;         // turns the ball's frames, every 100 ms

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
