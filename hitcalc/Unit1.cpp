// The combat calculator's handlers: read the inputs, compute, show the result.
#include "hitcalc/Unit1.h"

#include "hitcalc/Combat.h"
#include "shell/Messages.h"
#include "shell/Random.h"

TForm1* Form1 = nullptr;

double life = 0;
double damage = 0;
double moves = 0;
double armor = 0;
double attack = 0;
double defense = 0;
double margin = 0;
double itog = 0;

namespace {

// Life, damage, moves and armour, in that order; a bad one stops the reading there.
void ReadLifeInputs()
{
    life = StrToFloat(Form1->Edit1->Text());
    damage = StrToFloat(Form1->Edit2->Text());
    moves = StrToFloat(Form1->Edit3->Text());
    armor = StrToFloat(Form1->Armor->Text());
}

} // namespace

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("Label1", Label1);
    PublishField("Label2", Label2);
    PublishField("Label3", Label3);
    PublishField("Label4", Label4);
    PublishField("Label5", Label5);
    PublishField("Label6", Label6);
    PublishField("Edit1", Edit1);
    PublishField("Edit2", Edit2);
    PublishField("Edit3", Edit3);
    PublishField("Itog1", Itog1);
    PublishField("Button1", Button1);
    PublishField("Armor", Armor);
    PublishField("Button2", Button2);
    PublishField("Itog2", Itog2);
    PublishField("Edit6", Edit6);
    PublishField("Edit7", Edit7);
    PublishField("CheckBox1", CheckBox1);
    PublishHandler("Button1Click", &TForm1::Button1Click);
    PublishHandler("Button2Click", &TForm1::Button2Click);
    PublishHandler("CheckBox1Click", &TForm1::CheckBox1Click);
    LoadLayout("hitcalc/Unit1.json");
}

void TForm1::Button1Click(TObject*)
{
    ReadLifeInputs();
    itog = RemainingLife(life, damage, armor, moves);
    Itog1->SetText(FloatToStr(itog));
}

void TForm1::Button2Click(TObject*)
{
    ReadLifeInputs();
    attack = StrToFloat(Edit6->Text());
    defense = StrToFloat(Edit7->Text());
    margin = attack - defense;
    if (const char* verdict = HitChanceText(JudgeHit(margin)))
        ShowMessage(verdict);
    const int draw = random(10);
    itog = WithDefence(RemainingLife(life, damage, armor, moves), draw);
    Itog2->SetText(FloatToStr(itog));
}

// Any change of the tick wakes both buttons; nothing puts them back to sleep.
void TForm1::CheckBox1Click(TObject*)
{
    Button1->SetEnabled(true);
    Button2->SetEnabled(true);
}
