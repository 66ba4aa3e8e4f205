// A small window class for testing the shell: it publishes one field of each kind of
// component and one handler of each signature, and applies whichever layout it is given.
#pragma once

#include "shell/Forms.h"
#include "shell/Graphics.h"
#include "shell/Buttons.h"
#include "shell/Timers.h"

#include <functional>

class TProbeForm : public TForm {
public:
    TImage* Image1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TTimer* Timer1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* Item1 = nullptr;
    TMenuItem* Item2 = nullptr;

    explicit TProbeForm(const std::string& layout = "probe/Probe.json");
    // Applies layout text given in memory instead of the embedded layout of that name.
    TProbeForm(const std::string& layout, const std::string& layoutText);

    void Tick(TObject* Sender);
    void KeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

    // What the handlers do, set by each test.
    std::function<void()> onTick;
    std::function<void(Word)> onKey;
    std::function<void(int, int)> onMouse;

private:
    TProbeForm(const std::string& layout, const std::string* layoutText);
};
