// Starts the window that keeps its own bounds.
#include "shell/Application.h"
#include "sizekeeper/Unit1.h"

int main()
{
    return RunApplication("sizekeeper", [] { Application->CreateForm(Form1); });
}
