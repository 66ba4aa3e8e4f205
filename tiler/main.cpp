// Starts the picture stamper.
#include "shell/Application.h"
#include "tiler/Unit1.h"

int main()
{
    return RunApplication("tiler", [] { Application->CreateForm(Form1); });
}
