// Starts the wave player.
#include "wavplayer/Unit1.h"
#include "shell/Application.h"

int main()
{
    return RunApplication("wavplayer", [] { Application->CreateForm(Form1); });
}
