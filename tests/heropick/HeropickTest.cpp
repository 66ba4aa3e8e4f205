// heropick driven through its real windows and layouts: the codes of the keys pressed,
// the space sentence, Escape, clicks that change nothing, and the hero dialog that
// exists from start but never shows.
#include "heropick/Unit1.h"
#include "heropick/Unit2.h"
#include "tests/support/ProgramTest.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Heropick : public ProgramTest<TForm1> {
protected:
    Heropick() : ProgramTest("heropick", Form1) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        application.CreateForm(OKRightDlg);
        Form1->Show();
        QApplication::setActiveWindow(Form1->Widget());
    }
    static std::string Field() { return Form1->LabeledEdit1->Text(); }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(Form1->Widget(), key, modifiers);
    }

    TApplication application{"heropick"};
};

TEST_F(Heropick, EachKeyShowsItsCodeAndTheSpaceBarASentence)
{
    const std::vector<std::pair<Qt::Key, std::string>> rows = {
        {Qt::Key_A, "65"},      {Qt::Key_Z, "90"},       {Qt::Key_0, "48"},     {Qt::Key_9, "57"},
        {Qt::Key_Return, "13"}, {Qt::Key_Shift, "16"},   {Qt::Key_Control, "17"}, {Qt::Key_Alt, "18"},
        {Qt::Key_F1, "112"},    {Qt::Key_Left, "37"},    {Qt::Key_Tab, "9"},    {Qt::Key_Delete, "46"},
        {Qt::Key_Space, "Вы нажали пробел!"},           {Qt::Key_B, "66"},
        {Qt::Key_Print, "66"}, // no key-down: the desktop keeps Print Screen's press
    };
    for (const auto& [key, shown] : rows) {
        Press(key);
        EXPECT_EQ(Field(), shown) << "Qt key " << key;
    }
    EXPECT_TRUE(Form1->Widget()->isVisible());
}

TEST_F(Heropick, ModifiersAreKeysOfTheirOwnAndNeverChangeTheCode)
{
    std::vector<std::string> seen;
    Press(Qt::Key_Shift);
    seen.push_back(Field());
    Press(Qt::Key_A, Qt::ShiftModifier);
    seen.push_back(Field());
    Press(Qt::Key_Control);
    seen.push_back(Field());
    Press(Qt::Key_1, Qt::ControlModifier);
    seen.push_back(Field());
    EXPECT_EQ(seen, (std::vector<std::string>{"16", "65", "17", "49"}));
}

TEST_F(Heropick, ClicksChangeNothingAndTheFieldTakesNoFocus)
{
    Press(Qt::Key_7);
    ASSERT_EQ(Field(), "55");
    for (QWidget* target : {Form1->Widget(), Form1->GroupBox1->Widget(), Form1->LabeledEdit1->Widget()}) {
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(Field(), "55");
        EXPECT_FALSE(Form1->LabeledEdit1->Widget()->hasFocus());
    }
    EXPECT_FALSE(Form1->LabeledEdit1->Enabled());
    EXPECT_FALSE(Form1->LabeledEdit1->EditLabel()->Widget()->isEnabled()) << "the label greys with its edit";
    Press(Qt::Key_8);
    EXPECT_EQ(Field(), "56") << "keys still reach the window after the clicks";
}

TEST_F(Heropick, TheFieldSitsInTheGroupBoxWithItsLabelAbove)
{
    EXPECT_EQ(Form1->LabeledEdit1->Widget()->parentWidget(), Form1->GroupBox1->Widget());
    TLabel* label = Form1->LabeledEdit1->EditLabel();
    EXPECT_EQ(label->Widget()->parentWidget(), Form1->GroupBox1->Widget());
    EXPECT_EQ(label->Left(), Form1->LabeledEdit1->Left());
    EXPECT_EQ(label->Top() + label->Height() + 3, Form1->LabeledEdit1->Top());
}

TEST_F(Heropick, TheDialogIsBuiltHiddenWithItsControls)
{
    TOKRightDlg* dialog = OKRightDlg;
    EXPECT_FALSE(dialog->Widget()->isVisible());
    EXPECT_EQ(dialog->BorderStyle(), bsDialog);
    EXPECT_EQ(dialog->Label1->Widget()->font().pixelSize(), 16);
    EXPECT_TRUE(dialog->Label1->Widget()->font().bold());
    EXPECT_EQ(dialog->OKBtn->Widget()->font().pixelSize(), 11) << "the others keep the window's font";
    EXPECT_EQ(dialog->Bevel1->Shape(), bsFrame);
    EXPECT_FALSE(dialog->RadioGroup1->Visible());
    EXPECT_EQ(dialog->RadioGroup1->ItemIndex(), -1);
    for (TRadioButton* button : {dialog->RadioButton1, dialog->RadioButton2, dialog->RadioButton3}) {
        EXPECT_FALSE(button->Checked());
        EXPECT_EQ(button->Widget()->parentWidget(), dialog->Widget());
    }
    EXPECT_TRUE(dialog->OKBtn->Default());
    EXPECT_TRUE(dialog->CancelBtn->Cancel());
}

TEST_F(Heropick, CheckingOneHeroClearsTheOthers)
{
    OKRightDlg->Show();
    TRadioButton* buttons[] = {OKRightDlg->RadioButton1, OKRightDlg->RadioButton2, OKRightDlg->RadioButton3};
    const std::vector<std::pair<int, std::vector<bool>>> rows = {
        {0, {true, false, false}}, {1, {false, true, false}}, {2, {false, false, true}}, {2, {false, false, true}},
        {0, {true, false, false}},
    };
    for (const auto& [clicked, checked] : rows) {
        QTest::mouseClick(buttons[clicked]->Widget(), Qt::LeftButton, {}, QPoint(5, 8));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(buttons[i]->Checked(), checked[i]) << "after a click on RadioButton" << clicked + 1;
    }
    buttons[0]->SetChecked(false);
    EXPECT_FALSE(buttons[0]->Checked()) << "the program may clear the checked one";
}

struct ModalRow {
    const char* what;
    std::function<void()> answer;
    int result;
};

TEST_F(Heropick, TheDialogShownModallyAnswersWithItsButtonsResult)
{
    const ModalRow rows[] = {
        {"OK", [] { OKRightDlg->OKBtn->Click(); }, mrOk},
        {"Cancel", [] { OKRightDlg->CancelBtn->Click(); }, mrCancel},
        {"Enter", [] { QTest::keyClick(OKRightDlg->Widget(), Qt::Key_Return); }, mrOk},
        {"Escape", [] { QTest::keyClick(OKRightDlg->Widget(), Qt::Key_Escape); }, mrCancel},
        // A focused button answers Enter as it answers Space; a focused hero leaves Enter
        // to the Default button.
        {"Enter on the focused Cancel", [] { QTest::keyClick(OKRightDlg->CancelBtn->Widget(), Qt::Key_Return); }, mrCancel},
        {"keypad Enter on the focused Cancel",
         [] { QTest::keyClick(OKRightDlg->CancelBtn->Widget(), Qt::Key_Enter, Qt::KeypadModifier); }, mrCancel},
        {"Space on the focused Cancel", [] { QTest::keyClick(OKRightDlg->CancelBtn->Widget(), Qt::Key_Space); }, mrCancel},
        {"Escape on the focused OK", [] { QTest::keyClick(OKRightDlg->OKBtn->Widget(), Qt::Key_Escape); }, mrCancel},
        {"Enter on a focused hero", [] { QTest::keyClick(OKRightDlg->RadioButton2->Widget(), Qt::Key_Enter, Qt::KeypadModifier); }, mrOk},
        {"closed", [] { OKRightDlg->Close(); }, mrCancel},
    };
    for (const ModalRow& row : rows) {
        bool centred = false;
        QTimer::singleShot(0, [&] {
            const QRect screen = OKRightDlg->Widget()->screen()->availableGeometry();
            const QPoint centre = OKRightDlg->Widget()->frameGeometry().center();
            // Centred as far as the frame was known when it was placed.
            centred = std::abs(centre.x() - screen.center().x()) <= 3 && std::abs(centre.y() - screen.center().y()) <= 3;
            row.answer();
        });
        EXPECT_EQ(OKRightDlg->ShowModal(), row.result) << row.what;
        EXPECT_TRUE(centred) << row.what;
        EXPECT_FALSE(OKRightDlg->Widget()->isVisible()) << row.what;
    }
    EXPECT_FALSE(OKRightDlg->RadioButton2->Checked()) << "Enter checks no hero";
    OKRightDlg->OKBtn->Click();
    EXPECT_FALSE(Form1->Widget()->isHidden()) << "a modal result outside ShowModal closes nothing";
}

TEST(HeropickProgram, EscapeEndsTheRunWithCodeZeroAndTheDialogNeverShows)
{
    std::string fieldAtEscape;
    bool dialogShown = true;
    bool stillOpen = false;
    // Should Escape not close the window, this ends the run (and the test fails below).
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        stillOpen = true;
        Form1->Close();
    });
    const int result = RunApplication("heropick", [&] {
        Application->CreateForm(Form1);
        Application->CreateForm(OKRightDlg);
        EXPECT_EQ(Application->MainForm(), Form1);
        guard.start(3000);
        QTimer::singleShot(0, [&] {
            dialogShown = OKRightDlg->Widget()->isVisible();
            QTest::keyClick(Form1->Widget(), Qt::Key_Space);
            QTest::keyClick(Form1->Widget(), Qt::Key_Escape);
            fieldAtEscape = Form1->LabeledEdit1->Text();
        });
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(stillOpen) << "Escape did not close the window";
    EXPECT_EQ(fieldAtEscape, "27");
    EXPECT_FALSE(dialogShown);
}

} // namespace
