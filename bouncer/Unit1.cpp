// The bouncer game: the game tick, the climb, the ball's animation, the paddle's controls
// and the popup menu's entries.
#include "bouncer/Unit1.h"

#include "shell/Application.h"
#include "shell/KeyCodes.h"
#include "shell/Random.h"

TForm1* Form1 = nullptr;

int direction = 1;
int step = 5;
int rise = 1;
int winLine = 100;
int controlMode = 1;
int score = 0;
int ballFrame = 0;

namespace {

constexpr int BallSize = 50;     // the ball's picture is BallSize x BallSize
constexpr int PaddleWidth = 100;
constexpr int ContactDepth = 20; // how far below the paddle's top the ball's bottom still bounces
constexpr int ClimbPerRise = 10;
constexpr int KeyStep = 15;
constexpr int NewGameLift = 75;  // a new game puts the paddle this far above the window's bottom

const char* const BallFrameFiles[] = {"Мячик.bmp", "Мячик2.bmp", "Мячик3.bmp", "Мячик4.bmp"};

struct Difficulty {
    int step;
    int rise;
    int winLine;
    int climbInterval; // ms between two climbs
    int width;         // the window's outer width, which places the right wall
};

constexpr Difficulty Easy{5, 1, 100, 5000, 650};
constexpr Difficulty Hard{10, 3, 120, 4000, 550};
constexpr Difficulty Crazy{15, 1, 150, 1000, 450};

void ApplyDifficulty(const Difficulty& row)
{
    step = row.step;
    rise = row.rise;
    winLine = row.winLine;
    Form1->Timer2->SetInterval(row.climbInterval);
    Form1->CheckBox1->SetTop(row.winLine);
    Form1->SetWidth(row.width);
}

// The ball moves `step` pixels along each axis: dx and dy are +1 or -1.
void MoveBall(int dx, int dy)
{
    TImage* ball = Form1->Image1;
    ball->SetTop(ball->Top() + dy * step);
    ball->SetLeft(ball->Left() + dx * step);
}

// The ball's bottom edge lies from the paddle's top edge to ContactDepth pixels below it,
// and the two overlap or touch horizontally.
bool TouchesPaddle()
{
    const TImage* ball = Form1->Image1;
    const TImage* paddle = Form1->Button1;
    return ball->Top() >= paddle->Top() - BallSize && ball->Top() <= paddle->Top() - BallSize + ContactDepth
           && ball->Left() >= paddle->Left() - BallSize && ball->Left() <= paddle->Left() + PaddleWidth;
}

bool AtRightWall()
{
    return Form1->Image1->Left() >= Form1->Width() - BallSize;
}

bool AtLeftWall()
{
    return Form1->Image1->Left() <= 0;
}

bool AtTop()
{
    return Form1->Image1->Top() <= 0;
}

} // namespace

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("Image1", Image1);
    PublishField("Timer1", Timer1);
    PublishField("PopupMenu1", PopupMenu1);
    PublishField("N1", N1);
    PublishField("d11", d11);
    PublishField("d21", d21);
    PublishField("d31", d31);
    PublishField("d41", d41);
    PublishField("Timer2", Timer2);
    PublishField("N2", N2);
    PublishField("N3", N3);
    PublishField("N4", N4);
    PublishField("N5", N5);
    PublishField("N6", N6);
    PublishField("N7", N7);
    PublishField("N01", N01);
    PublishField("N8", N8);
    PublishField("CheckBox1", CheckBox1);
    PublishField("Button1", Button1);
    PublishField("N9", N9);
    PublishField("N10", N10);
    PublishField("N11", N11);
    PublishField("Timer3", Timer3);

    PublishHandler("Timer1Timer", &TForm1::Timer1Timer);
    PublishHandler("N1Click", &TForm1::N1Click);
    PublishHandler("d11Click", &TForm1::d11Click);
    PublishHandler("d21Click", &TForm1::d21Click);
    PublishHandler("d31Click", &TForm1::d31Click);
    PublishHandler("d41Click", &TForm1::d41Click);
    PublishHandler("Timer2Timer", &TForm1::Timer2Timer);
    PublishHandler("FormMouseMove", &TForm1::FormMouseMove);
    PublishHandler("N4Click", &TForm1::N4Click);
    PublishHandler("N3Click", &TForm1::N3Click);
    PublishHandler("N5Click", &TForm1::N5Click);
    PublishHandler("N8Click", &TForm1::N8Click);
    PublishHandler("N10Click", &TForm1::N10Click);
    PublishHandler("N11Click", &TForm1::N11Click);
    PublishHandler("FormKeyDown", &TForm1::FormKeyDown);
    PublishHandler("Timer3Timer", &TForm1::Timer3Timer);

    LoadLayout("bouncer/Unit1.json");
}

// The game tick. The four direction steps are tests in a row, not a choice of one: a turn
// to a higher direction moves the ball a second time in the same tick.
void TForm1::Timer1Timer(TObject*)
{
    if (direction == 1) {
        MoveBall(+1, +1);
        if (TouchesPaddle())
            direction = 2;
        if (AtRightWall())
            direction = 3;
    }
    if (direction == 2) {
        MoveBall(+1, -1);
        if (AtTop())
            direction = 1;
        if (AtRightWall())
            direction = 4;
    }
    if (direction == 3) {
        MoveBall(-1, +1);
        if (TouchesPaddle())
            direction = 4;
        if (AtLeftWall())
            direction = 1;
    }
    if (direction == 4) {
        MoveBall(-1, -1);
        if (AtTop())
            direction = 3;
        if (AtLeftWall())
            direction = 2;
    }

    // The timer stops before a box opens, so no tick runs while the player reads it.
    if (Image1->Top() >= Height() - BallSize) {
        Timer1->SetEnabled(false);
        ShowMessage("Вы Проиграли!");
        score = score - 1;
    }
    if (Button1->Top() <= winLine) {
        Timer1->SetEnabled(false);
        ShowMessage("Вы Выиграли!");
        score = score + 1;
    }
    N01->SetCaption(IntToStr(score));
}

// The climb: only while a game runs, a random new diagonal and the paddle a step higher.
void TForm1::Timer2Timer(TObject*)
{
    if (!Timer1->Enabled())
        return;
    direction = random(4) + 1;
    Button1->SetTop(Button1->Top() - ClimbPerRise * rise);
}

// The ball's animation reads its next frame from file at every tick; the frame advances
// first, so a missing file fails only its own turn.
void TForm1::Timer3Timer(TObject*)
{
    ballFrame = ballFrame + 1;
    if (ballFrame == 5)
        ballFrame = 1;
    Image1->Picture()->LoadFromFile(BallFrameFiles[ballFrame - 1]);
}

void TForm1::FormMouseMove(TObject*, TShiftState, int X, int)
{
    if (controlMode != 1)
        return;
    Button1->SetLeft(X);
    SetCursor(crNone);
}

void TForm1::FormKeyDown(TObject*, Word& Key, TShiftState)
{
    if (controlMode != 0)
        return;
    if (Key == VK_LEFT)
        Button1->SetLeft(Button1->Left() - KeyStep);
    if (Key == VK_RIGHT)
        Button1->SetLeft(Button1->Left() + KeyStep);
}

void TForm1::N1Click(TObject*)
{
    Form1->Close();
}

void TForm1::N3Click(TObject*)
{
    ApplyDifficulty(Easy);
}

void TForm1::N4Click(TObject*)
{
    ApplyDifficulty(Hard);
}

void TForm1::N8Click(TObject*)
{
    ApplyDifficulty(Crazy);
}

// A new game: paddle and ball back up, play on. Lefts, direction and score stay.
void TForm1::N5Click(TObject*)
{
    Button1->SetTop(Height() - NewGameLift);
    Image1->SetTop(0);
    Timer1->SetEnabled(true);
}

void TForm1::d11Click(TObject*)
{
    direction = 1;
}

void TForm1::d21Click(TObject*)
{
    direction = 2;
}

void TForm1::d31Click(TObject*)
{
    direction = 3;
}

void TForm1::d41Click(TObject*)
{
    direction = 4;
}

void TForm1::N10Click(TObject*)
{
    controlMode = 1;
}

void TForm1::N11Click(TObject*)
{
    controlMode = 0;
}
