// The bouncer game driven through its real window and layout: game ticks, climbs, the
// animation, the paddle's controls and every menu entry.
#include "bouncer/Unit1.h"
#include "shell/KeyCodes.h"
#include "tests/support/ProgramTest.h"
#include "tests/support/TestMain.h"
#include "shell/Random.h"

#include <QFile>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <tuple>

namespace {

// The game state as the program starts, read before any test changes it.
struct GameState {
    int direction, step, rise, winLine, controlMode, score, ballFrame;
};
const GameState startState{direction, step, rise, winLine, controlMode, score, ballFrame};

const std::string frameFiles[] = {"Мячик.bmp", "Мячик2.bmp", "Мячик3.bmp", "Мячик4.bmp"};

class Bouncer : public ProgramTest<TForm1> {
protected:
    Bouncer() : ProgramTest("bouncer", Form1) {}
    void SetUp() override
    {
        direction = startState.direction;
        step = startState.step;
        rise = startState.rise;
        winLine = startState.winLine;
        controlMode = startState.controlMode;
        score = startState.score;
        ballFrame = startState.ballFrame;
        ProgramTest::SetUp();
    }

    void CopyFrames(std::initializer_list<int> frames)
    {
        for (int frame : frames) {
            const QString name = QString::fromStdString(frameFiles[frame - 1]);
            ASSERT_TRUE(QFile::copy(QStringLiteral(ASSETS_DIR "/") + name, name));
        }
    }
    static QImage Frame(int frame)
    {
        return QImage(QStringLiteral(ASSETS_DIR "/") + QString::fromStdString(frameFiles[frame - 1]));
    }

    void PlaceBall(int left, int top, int dir)
    {
        Form1->Image1->SetLeft(left);
        Form1->Image1->SetTop(top);
        direction = dir;
    }
    void Tick() { Form1->Timer1->Tick(); }
    void ExpectBall(int left, int top, int dir)
    {
        EXPECT_EQ(Form1->Image1->Left(), left);
        EXPECT_EQ(Form1->Image1->Top(), top);
        EXPECT_EQ(direction, dir);
    }
    TImage* Paddle() { return Form1->Button1; }
};

TEST_F(Bouncer, StartsInAFixedFrameWithTheEasySettings)
{
    EXPECT_EQ(Form1->Widget()->minimumSize(), Form1->Widget()->maximumSize()) << "the frame is fixed";
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_EQ(Form1->CheckBox1->Top(), winLine) << "the marker stands on the win line";
    EXPECT_EQ(startState.direction, 1);
    EXPECT_EQ(startState.controlMode, 1);
    EXPECT_EQ(startState.score, 0);
    EXPECT_EQ(startState.ballFrame, 0);
    // The start settings are those of "Легк", but for the window's width.
    const int interval = Form1->Timer2->Interval();
    Form1->N3->Click();
    EXPECT_EQ(step, startState.step);
    EXPECT_EQ(rise, startState.rise);
    EXPECT_EQ(winLine, startState.winLine);
    EXPECT_EQ(Form1->Timer2->Interval(), interval);
}

TEST_F(Bouncer, GameTickMovesAndTurnsTheBall)
{
    // Shown, the window has a frame: its outer width, which places the right wall, is
    // then larger than its client width.
    Form1->SetWidth(650);
    Form1->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1->Widget()));
    ASSERT_EQ(Form1->Width(), 650);
    ASSERT_LT(Form1->ClientWidth(), 650);
    struct Row {
        const char* what;
        int left, top, dir;          // before the tick
        int endLeft, endTop, endDir; // after it
        int paddleLeft = 424;
    };
    const Row rows[] = {
        {"first tick", 0, 0, 1, 5, 5, 1},
        {"paddle band top edge P.Top-50: bounce, up at once", 400, 353, 1, 410, 353, 2},
        {"paddle band bottom edge P.Top-30: still a bounce", 400, 373, 1, 410, 373, 2},
        {"P.Top-29: past the band, no bounce", 400, 374, 1, 405, 379, 1},
        {"left of the paddle: no bounce", 300, 353, 1, 305, 358, 1},
        {"falling down-left onto the paddle's right end", 525, 353, 3, 515, 353, 4},
        {"right of the paddle: no bounce", 530, 353, 3, 525, 358, 3},
        {"rising ball passes through the paddle", 450, 400, 2, 455, 395, 2},
        {"top edge includes 0", 300, 5, 2, 305, 0, 1},
        {"top bounce going left", 300, 5, 4, 295, 0, 3},
        {"left wall going down", 5, 200, 3, 0, 205, 1},
        {"left wall going up", 5, 200, 4, 0, 195, 2},
        {"right wall W-50 going down", 595, 100, 1, 595, 110, 3},
        {"right wall going up", 595, 100, 2, 595, 90, 4},
        {"three short of the outer W-50: no wall", 592, 100, 1, 597, 105, 1},
        {"three short of the outer W-50 going up: no wall", 592, 100, 2, 597, 95, 2},
        // The wall is tested after the paddle, so at both at once the wall has the last word
        // (the turns then chain within the tick: down-left, onto the paddle, up-left).
        {"right wall above the paddle", 600, 353, 1, 595, 358, 4, 560},
        {"left wall above the paddle", 5, 353, 3, 0, 358, 1, 0},
        {"top-right corner", 600, 5, 2, 600, -5, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Paddle()->SetLeft(row.paddleLeft);
        PlaceBall(row.left, row.top, row.dir);
        Tick();
        ExpectBall(row.endLeft, row.endTop, row.endDir);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Bouncer, LosingAtTheBottomStopsTheGameAndCountsAgainst)
{
    // Framed, the window's outer height, where the loss line lies, exceeds its client height.
    Form1->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1->Widget()));
    ASSERT_LT(Form1->ClientHeight(), Form1->Height());
    const int lossTop = Form1->Height() - 50;
    PlaceBall(100, lossTop - 6, 1);
    Tick();
    EXPECT_TRUE(boxes.Shown().empty()) << "one pixel short of the line";

    bool stoppedWhileShown = false;
    std::string scoreWhileShown;
    boxes.whileOpen = [&](const MessageBoxes::Box&) {
        stoppedWhileShown = !Form1->Timer1->Enabled();
        scoreWhileShown = Form1->N01->Caption();
    };
    PlaceBall(100, lossTop - 5, 1);
    Tick();
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"Вы Проиграли!"});
    EXPECT_EQ(boxes.Shown()[0].title, "bouncer");
    EXPECT_TRUE(stoppedWhileShown);
    EXPECT_EQ(scoreWhileShown, "0") << "the score changes only after the box";
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(score, -1);
    EXPECT_EQ(Form1->N01->Caption(), "-1");
}

TEST_F(Bouncer, ThirtyOneClimbsReachTheWinLine)
{
    // Each climb draws a new diagonal: over the first 30 climbs of a run every one of the
    // four comes up, and nothing else.
    RandSeed = StartRandSeed;
    PlaceBall(300, 100, 1);
    std::set<int> drawn;
    for (int climb = 1; climb <= 30; ++climb) {
        Form1->Timer2->Tick();
        drawn.insert(direction);
    }
    EXPECT_EQ(drawn, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(Paddle()->Top(), 108);
    PlaceBall(300, 100, 2);
    Tick();
    EXPECT_TRUE(boxes.Shown().empty());

    Form1->Timer2->Tick();
    EXPECT_EQ(Paddle()->Top(), 98);
    Tick();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Вы Выиграли!"});
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(Form1->N01->Caption(), "1");
}

TEST_F(Bouncer, APaddleExactlyOnTheLineWins)
{
    Paddle()->SetTop(winLine);
    PlaceBall(300, 100, 1);
    Tick();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Вы Выиграли!"});
    EXPECT_EQ(score, 1);
}

TEST_F(Bouncer, LossAndWinInOneTickShowBothAndLeaveTheScore)
{
    Paddle()->SetTop(90);
    PlaceBall(100, Form1->Height() - 50, 1);
    Tick();
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Вы Проиграли!", "Вы Выиграли!"}));
    EXPECT_EQ(Form1->N01->Caption(), "0");
}

TEST_F(Bouncer, AStoppedGameDoesNotClimb)
{
    Form1->Timer1->SetEnabled(false);
    direction = 2;
    Form1->Timer2->Tick();
    EXPECT_EQ(Paddle()->Top(), 408);
    EXPECT_EQ(direction, 2);

    Form1->Timer1->SetEnabled(true);
    rise = 3;
    Form1->Timer2->Tick();
    EXPECT_EQ(Paddle()->Top(), 378);
}

TEST_F(Bouncer, AnimationReadsEachFrameFileInTurn)
{
    CopyFrames({1, 2, 3, 4});
    for (int frame : {1, 2, 3, 4, 1, 2}) {
        Form1->Timer3->Tick();
        EXPECT_EQ(ballFrame, frame);
        EXPECT_EQ(Form1->Image1->Picture()->Image(), Frame(frame)) << "frame " << frame;
    }
    // Nothing is cached: a file changed on disk shows at its next turn.
    QFile::remove(QString::fromStdString(frameFiles[2]));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ASSETS_DIR "/") + QString::fromStdString(frameFiles[0]),
                            QString::fromStdString(frameFiles[2])));
    Form1->Timer3->Tick();
    EXPECT_EQ(Form1->Image1->Picture()->Image(), Frame(1));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Bouncer, AMissingFrameIsReportedAndTheAnimationGoesOn)
{
    CopyFrames({1, 2, 4});
    Form1->Timer3->Tick();
    Form1->Timer3->Tick();
    Form1->Timer3->Tick();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Shown()[0].text.find("«Мячик3.bmp»"), std::string::npos) << boxes.Shown()[0].text;
    EXPECT_EQ(ballFrame, 3);
    EXPECT_EQ(Form1->Image1->Picture()->Image(), Frame(2)) << "the ball keeps its picture";

    Form1->Timer3->Tick();
    EXPECT_EQ(ballFrame, 4);
    EXPECT_EQ(Form1->Image1->Picture()->Image(), Frame(4));
    Form1->Timer3->Tick();
    Form1->Timer3->Tick();
    Form1->Timer3->Tick();
    EXPECT_EQ(boxes.Shown().size(), 2u) << "it fails again at each of its turns";
}

TEST_F(Bouncer, UnreadableFramesTickedAwayLeaveThePlayerInCharge)
{
    for (const std::string& name : frameFiles) {
        QFile broken(QString::fromStdString(name));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a bitmap");
    }
    boxes.tickDontShowAgain = [](const MessageBoxes::Box&) { return true; };

    for (int tick = 0; tick < 12; ++tick)
        Form1->Timer3->Tick();
    ASSERT_EQ(boxes.Shown().size(), 4u) << "one box per frame file, none after it was ticked";
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NE(boxes.Shown()[i].text.find(frameFiles[i]), std::string::npos) << boxes.Shown()[i].text;

    Form1->N1->Click();
    EXPECT_FALSE(Form1->Widget()->isVisible()) << "Выход still closes the window";
}

TEST_F(Bouncer, TheMouseMovesThePaddleOnlyInMouseMode)
{
    Form1->Show();
    QTest::mouseMove(Form1->Widget(), QPoint(300, 200));
    EXPECT_EQ(Paddle()->Left(), 300);
    EXPECT_EQ(Form1->Cursor(), crNone);

    QTest::mouseMove(Form1->Widget(), QPoint(20, 20)); // over the ball
    QTest::mouseMove(Form1->Widget(), QPoint(350, 420)); // over the paddle
    EXPECT_EQ(Paddle()->Left(), 300);

    QTest::keyClick(Form1->Widget(), Qt::Key_Left);
    EXPECT_EQ(Paddle()->Left(), 300) << "keys do nothing in mouse mode";

    QTest::mouseMove(Form1->Widget(), QPoint(700, 150));
    EXPECT_EQ(Paddle()->Left(), 700) << "the paddle is not held inside the window";

    // A drag belongs to what it started on: from the paddle or the ball, none of its moves
    // reach the window's handler; from the window, all of them do, over the controls too.
    QWindow* window = Form1->Widget()->windowHandle();
    const std::vector<std::tuple<const char*, TControl*, int>> drags = {
        {"the paddle", Paddle(), 700}, {"the ball", Form1->Image1, 700}, {"the window", nullptr, 30},
        {"the greyed-out win-line marker", Form1->CheckBox1, 30},
    };
    for (const auto& [what, control, left] : drags) {
        const QPoint start = control ? control->Widget()->geometry().center() : QPoint(600, 300);
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        for (const QPoint to : {QPoint(100, 300), QPoint(740, 440), QPoint(30, 20)})
            QTest::mouseMove(window, to);
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(30, 20));
        EXPECT_EQ(Paddle()->Left(), left) << "a drag from " << what;
        Paddle()->SetLeft(700);
    }
}

TEST_F(Bouncer, TheArrowKeysMoveThePaddleOnlyInKeyboardMode)
{
    Form1->Show();
    Form1->N11->Click();
    EXPECT_EQ(controlMode, 0);
    const std::pair<Qt::Key, int> rows[] = {
        {Qt::Key_Left, 409}, {Qt::Key_Left, 394}, {Qt::Key_Right, 409}, {Qt::Key_Up, 409}, {Qt::Key_A, 409},
    };
    for (const auto& [key, left] : rows) {
        QTest::keyClick(Form1->Widget(), key);
        EXPECT_EQ(Paddle()->Left(), left);
    }
    QTest::mouseMove(Form1->Widget(), QPoint(200, 200));
    EXPECT_EQ(Paddle()->Left(), 409) << "the mouse does nothing in keyboard mode";

    Form1->N10->Click();
    QTest::mouseMove(Form1->Widget(), QPoint(210, 200));
    EXPECT_EQ(Paddle()->Left(), 210);
}

TEST_F(Bouncer, DifficultiesSetTheirRowAndNothingElse)
{
    struct Row {
        TMenuItem* TForm1::*entry;
        int step, rise, winLine, interval, width;
    };
    const Row rows[] = {
        {&TForm1::N4, 10, 3, 120, 4000, 550},
        {&TForm1::N8, 15, 1, 150, 1000, 450},
        {&TForm1::N3, 5, 1, 100, 5000, 650},
    };
    PlaceBall(123, 45, 4);
    controlMode = 0;
    score = 2;
    for (const Row& row : rows) {
        (Form1->*row.entry)->Click();
        EXPECT_EQ(step, row.step);
        EXPECT_EQ(rise, row.rise);
        EXPECT_EQ(winLine, row.winLine);
        EXPECT_EQ(Form1->Timer2->Interval(), row.interval);
        EXPECT_EQ(Form1->CheckBox1->Top(), row.winLine);
        EXPECT_EQ(Form1->Width(), row.width);
        ExpectBall(123, 45, 4);
        EXPECT_EQ(Paddle()->Top(), 408);
        EXPECT_EQ(Paddle()->Left(), 424);
        EXPECT_EQ(controlMode, 0);
        EXPECT_EQ(score, 2);
        EXPECT_TRUE(Form1->Timer1->Enabled());
    }
    Form1->Timer1->SetEnabled(false);
    Form1->N4->Click();
    EXPECT_FALSE(Form1->Timer1->Enabled()) << "a difficulty does not restart a stopped game";
}

TEST_F(Bouncer, CrazyWinsAtOnceWhenThePaddleIsAlreadyAboveItsLine)
{
    Paddle()->SetTop(140);
    PlaceBall(300, 50, 1);
    Form1->N8->Click();
    Tick();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Вы Выиграли!"});
}

TEST_F(Bouncer, ANarrowerWindowTurnsABallBeyondItsWall)
{
    Form1->N8->Click(); // W - 50 = 400, step 15
    PlaceBall(420, 100, 1);
    Tick();
    ExpectBall(420, 130, 3);
    PlaceBall(420, 100, 2);
    Tick();
    ExpectBall(420, 70, 4);
    PlaceBall(420, 100, 3);
    Tick();
    ExpectBall(405, 115, 3);
}

TEST_F(Bouncer, NewGameAfterALossStartsFromTheTop)
{
    PlaceBall(210, Form1->Height() - 55, 3);
    Tick();
    ASSERT_FALSE(Form1->Timer1->Enabled());
    Paddle()->SetLeft(33);

    Form1->N5->Click();
    EXPECT_TRUE(Form1->Timer1->Enabled());
    ExpectBall(205, 0, 3);
    EXPECT_EQ(Paddle()->Top(), Form1->Height() - 75);
    EXPECT_EQ(Paddle()->Left(), 33);
    EXPECT_EQ(score, -1);
}

TEST_F(Bouncer, DebugEntriesOnlySetTheDirection)
{
    const std::pair<TMenuItem* TForm1::*, int> rows[] = {
        {&TForm1::d21, 2}, {&TForm1::d31, 3}, {&TForm1::d41, 4}, {&TForm1::d11, 1},
    };
    Form1->Timer1->SetEnabled(false);
    PlaceBall(200, 200, 1);
    for (const auto& [entry, dir] : rows) {
        (Form1->*entry)->Click();
        ExpectBall(200, 200, dir);
        EXPECT_FALSE(Form1->Timer1->Enabled());
    }
    // d2 while the ball falls towards the paddle sends it up-right at the next tick.
    Form1->d21->Click();
    PlaceBall(400, 350, 2);
    Tick();
    ExpectBall(405, 345, 2);
}

TEST_F(Bouncer, ExitClosesTheWindow)
{
    Form1->Show();
    ASSERT_TRUE(Form1->Widget()->isVisible());
    Form1->N1->Click();
    EXPECT_FALSE(Form1->Widget()->isVisible());
}

TEST_F(Bouncer, PositionsFarOutOfRangeNeitherOverflowNorCrash)
{
    PlaceBall(INT_MAX - 2, INT_MAX - 2, 1);
    Tick();
    Paddle()->SetTop(INT_MIN + 5);
    Form1->Timer2->Tick();
    Form1->Timer2->Tick();
    EXPECT_EQ(Paddle()->Top(), INT_MAX - 14) << "positions wrap like the machine's integers";
}

} // namespace
