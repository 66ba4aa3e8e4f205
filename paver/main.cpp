// Starts the random paving.
#include "paver/Unit1.h"
#include "shell/Application.h"

int main()
{
    return RunApplication("paver", [] { Application->CreateForm(Form1); });
}
