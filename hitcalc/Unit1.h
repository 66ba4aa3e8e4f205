// The combat calculator's window: six inputs, two results, two buttons and the check box
// that wakes the buttons up.
#pragma once

#include "shell/Forms.h"
#include "shell/StdControls.h"

class TForm1 : public TForm {
public:
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TEdit* Edit1 = nullptr;
    TEdit* Edit2 = nullptr;
    TEdit* Edit3 = nullptr;
    TEdit* Itog1 = nullptr;
    TButton* Button1 = nullptr;
    TEdit* Armor = nullptr;
    TButton* Button2 = nullptr;
    TEdit* Itog2 = nullptr;
    TEdit* Edit6 = nullptr;
    TEdit* Edit7 = nullptr;
    TCheckBox* CheckBox1 = nullptr;

    TForm1();

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
};

extern TForm1* Form1;

// The handlers' working values, each assigned before it is read.
extern double life;    // Edit1
extern double damage;  // Edit2, per move
extern double moves;   // Edit3
extern double armor;   // Armor
extern double attack;  // Edit6
extern double defense; // Edit7
extern double margin;  // attack - defense
extern double itog;    // the last result computed
