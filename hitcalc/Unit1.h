// The combat calculator's window: six inputs, two results, two buttons and the check box
// that wakes the buttons up.
#pragma once

#include "shell/Forms.h"
#include "shell/Buttons.h"
#include "shell/TextControls.h"

class TForm1 : public TForm {
public:
    TLabel* Label1 = nullptr;       // «Введите жизнь:»
    TLabel* Label2 = nullptr;       // «Введите урон:»
    TLabel* Label3 = nullptr;       // «Введите количество ходов:»
    TLabel* Label4 = nullptr;       // «Введите броню:»
    TLabel* Label5 = nullptr;       // «Введите атаку :»
    TLabel* Label6 = nullptr;       // «Введите защиту :»
    TEdit* Edit1 = nullptr;         // life
    TEdit* Edit2 = nullptr;         // damage per move
    TEdit* Edit3 = nullptr;         // number of moves
    TEdit* Itog1 = nullptr;         // «Результат»: the result without defence
    TButton* Button1 = nullptr;     // «Считать»
    TEdit* Armor = nullptr;         // armour
    TButton* Button2 = nullptr;     // «Считать, учитывая  защиту»
    TEdit* Itog2 = nullptr;         // «Результат вместе с защитой»
    TEdit* Edit6 = nullptr;         // attack
    TEdit* Edit7 = nullptr;         // defence
    TCheckBox* CheckBox1 = nullptr; // «Закончил!»: wakes the buttons

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
