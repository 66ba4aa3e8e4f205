// Starts the sliders program.
#include "shell/Application.h"
#include "sliders/Unit1.h"

int main()
{
    return RunApplication("sliders", [] { Application->CreateForm(Form1); });
}
