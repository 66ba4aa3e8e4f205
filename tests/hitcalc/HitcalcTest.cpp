// The combat calculator through its real window: greyed buttons, the two results, the
// verdict boxes, the coin toss and bad input.
#include "hitcalc/Combat.h"
#include "hitcalc/Unit1.h"
#include "tests/support/ProgramTest.h"
#include "shell/Random.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Inputs {
    const char *life, *damage, *armor, *attack, *defense, *moves;
};

class Hitcalc : public ProgramTest<TForm1> {
protected:
    Hitcalc() : ProgramTest("hitcalc", Form1) {}

    void Fill(const Inputs& in)
    {
        Form1->Edit1->SetText(in.life);
        Form1->Edit2->SetText(in.damage);
        Form1->Armor->SetText(in.armor);
        Form1->Edit6->SetText(in.attack);
        Form1->Edit7->SetText(in.defense);
        Form1->Edit3->SetText(in.moves);
    }
    // A click near the left end, where a check box has its box.
    static void Click(TControl* control)
    {
        QTest::mouseClick(control->Widget(), Qt::LeftButton, {}, QPoint(8, control->Height() / 2));
    }
    void WakeButtons() { Click(Form1->CheckBox1); }

    // The next draw of random(10), found without using it up.
    static int NextDraw()
    {
        const std::uint32_t saved = RandSeed;
        const int draw = random(10);
        RandSeed = saved;
        return draw;
    }
};

} // namespace

TEST(Combat, ArithmeticAsTheRulesGive)
{
    const struct {
        double life, damage, armor, moves, remaining;
    } rows[] = {
        {100, 15, 5, 3, 70},  {100, 5, 15, 3, 130},  {10, 50, 5, 3, -125},
        {100, 15, 5, 0, 100}, {100, 15, 5, -2, 120}, {100, 15, 5, 0.5, 95},
    };
    for (const auto& r : rows)
        EXPECT_EQ(RemainingLife(r.life, r.damage, r.armor, r.moves), r.remaining) << r.life << " " << r.moves;
    for (int draw = 0; draw < 10; ++draw)
        EXPECT_EQ(WithDefence(70, draw), draw <= 4 ? 35 : 70) << "draw " << draw;
}

TEST_F(Hitcalc, StartsGreyedInTheLayoutsTabOrder)
{
    EXPECT_FALSE(Form1->CheckBox1->Checked());
    const std::vector<TControl*> order = {Form1->Edit1, Form1->Edit2,   Form1->Edit3, Form1->Itog1,
                                          Form1->Button1, Form1->Armor, Form1->Button2, Form1->Itog2,
                                          Form1->Edit6, Form1->Edit7,   Form1->CheckBox1};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_EQ(order[i - 1]->Widget()->nextInFocusChain(), order[i]->Widget()) << "after tab stop " << i - 1;
}

TEST_F(Hitcalc, ButtonsIgnoreClicksUntilTheCheckBoxChangesThenStayAwake)
{
    Fill({"100", "15", "5", "12", "7", "3"});
    Click(Form1->Button1);
    Click(Form1->Button2);
    EXPECT_EQ(Form1->Itog1->Text(), "Результат");
    EXPECT_TRUE(boxes.Shown().empty());

    for (bool ticked : {true, false}) {
        WakeButtons();
        EXPECT_EQ(Form1->CheckBox1->Checked(), ticked);
        EXPECT_TRUE(Form1->Button1->Enabled());
        EXPECT_TRUE(Form1->Button2->Enabled());
    }
    Click(Form1->Button1);
    EXPECT_EQ(Form1->Itog1->Text(), "70");
}

TEST_F(Hitcalc, TheWorkedExampleWithAndWithoutDefence)
{
    WakeButtons();
    Fill({"100", "15", "5", "12", "7", "3"});
    Form1->Button1->Click();
    EXPECT_EQ(Form1->Itog1->Text(), "70");
    EXPECT_EQ(itog, 70);

    for (int press = 0; press < 12; ++press) {
        const int draw = NextDraw();
        Form1->Button2->Click();
        EXPECT_EQ(Form1->Itog2->Text(), draw <= 4 ? "35" : "70") << "press " << press << ", draw " << draw;
    }
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>(12, "попасть можно"));
    EXPECT_EQ(margin, 5);
}

TEST_F(Hitcalc, TheVerdictFollowsTheMarginAndTheResultFollowsAlways)
{
    WakeButtons();
    const struct {
        const char *attack, *defense, *verdict;
    } rows[] = {
        {"7", "7", "попасть невозможно"}, {"3", "7", "попасть невозможно"}, {"7,5", "7", "попасть можно"},
        {"17", "7", "попасть можно"},     {"17.5", "7", nullptr},             {"-5", "-20", nullptr},
    };
    for (const auto& row : rows) {
        Fill({"100", "15", "5", row.attack, row.defense, "3"});
        Form1->Itog2->SetText("");
        const std::size_t before = boxes.Shown().size();
        Form1->Button2->Click();
        const std::vector<std::string> texts = boxes.Texts();
        const std::vector<std::string> shown(texts.begin() + before, texts.end());
        EXPECT_EQ(shown, row.verdict ? std::vector<std::string>{row.verdict} : std::vector<std::string>{})
            << row.attack << " against " << row.defense;
        EXPECT_FALSE(Form1->Itog2->Text().empty());
    }
}

TEST_F(Hitcalc, BadInputStopsThePressBeforeTheVerdictAndTheDraw)
{
    WakeButtons();
    Fill({"100", "15", "5", "12", "", "3"});
    Form1->Button1->Click();
    EXPECT_EQ(Form1->Itog1->Text(), "70") << "Считать reads neither attack nor defence";

    const int draw = NextDraw();
    Form1->Button2->Click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find("«»"), std::string::npos) << boxes.Texts()[0];
    EXPECT_EQ(Form1->Itog2->Text(), "Результат вместе с защитой");
    EXPECT_EQ(NextDraw(), draw) << "the failed press used up a draw";

    // Edits in Fill's order: life, damage, armour, attack, defence, moves. They are read as
    // life, damage, moves, armour: the message names the first bad one of these only.
    const struct {
        Inputs fields;
        std::string named, unnamed;
    } bad[] = {
        {{"сто", "15", "5", "12", "7", "3"}, "сто", ""},
        {{"1 00", "15", "5", "12", "7", "3"}, "1 00", ""},
        {{"10%", "15", "5", "12", "7", "3"}, "10%", ""},
        {{"жизнь", "урон", "5", "12", "7", "3"}, "жизнь", "урон"},
        {{"100", "урон", "5", "12", "7", "ходы"}, "урон", "ходы"},
        {{"100", "15", "броня", "12", "7", "ходы"}, "ходы", "броня"},
        {{"100", "15", "броня", "12", "7", "3"}, "броня", ""},
    };
    for (const auto& row : bad) {
        Fill(row.fields);
        Form1->Button1->Click();
        const std::string message = boxes.Texts().back();
        EXPECT_NE(message.find("«" + row.named + "»"), std::string::npos) << message;
        if (!row.unnamed.empty())
            EXPECT_EQ(message.find(row.unnamed), std::string::npos) << message;
        EXPECT_EQ(Form1->Itog1->Text(), "70");
    }
    Fill({"100,5", "15.5", "5", "12", "7", "1e1"});
    Form1->Button1->Click();
    EXPECT_EQ(Form1->Itog1->Text(), "-4,5");
}
