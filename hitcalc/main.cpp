// Starts the combat calculator.
#include "hitcalc/Unit1.h"
#include "shell/Application.h"

int main()
{
    return RunApplication("hitcalc", [] { Application->CreateForm(Form1); });
}
