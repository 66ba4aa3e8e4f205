// Starts heropick: the character window, then the hero-choice dialog, which stays hidden.
#include "heropick/Unit1.h"
#include "heropick/Unit2.h"
#include "shell/Application.h"

int main()
{
    return RunApplication("heropick", [] {
        Application->CreateForm(Form1);
        Application->CreateForm(OKRightDlg);
    });
}
