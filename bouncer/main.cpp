// Starts the bouncer game.
#include "bouncer/Unit1.h"
#include "shell/Application.h"

int main()
{
    return RunApplication("bouncer", [] { Application->CreateForm(Form1); });
}
