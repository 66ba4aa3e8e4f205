// The sliders window: seven sliders from 1 to 10, each echoed in an edit box, and a button
// that multiplies their last positions.
#pragma once

#include "shell/Forms.h"
#include "shell/Buttons.h"
#include "shell/TextControls.h"
#include "shell/TrackBars.h"

class TForm1 : public TForm {
public:
    TEdit* Edit1 = nullptr;         // slider 1's position
    TTrackBar* TrackBar1 = nullptr; // slider 1, echoed in Edit1
    TTrackBar* TrackBar2 = nullptr; // slider 2, echoed in Edit2
    TTrackBar* TrackBar3 = nullptr; // slider 3, echoed in Edit3
    TTrackBar* TrackBar4 = nullptr; // slider 4, echoed in Edit4
    TTrackBar* TrackBar5 = nullptr; // slider 5, echoed in Edit5
    TTrackBar* TrackBar6 = nullptr; // slider 6, echoed in Edit6
    TTrackBar* TrackBar7 = nullptr; // slider 7, echoed in Edit7
    TEdit* Edit2 = nullptr;         // slider 2's position
    TEdit* Edit3 = nullptr;         // slider 3's position
    TEdit* Edit4 = nullptr;         // slider 4's position
    TEdit* Edit5 = nullptr;         // slider 5's position
    TEdit* Edit6 = nullptr;         // slider 6's position
    TEdit* Edit7 = nullptr;         // slider 7's position
    TEdit* Edit8 = nullptr;         // the product
    TButton* Button1 = nullptr;     // «Button1»: multiplies the positions

    TForm1();

    void TrackBar1Change(TObject* Sender);
    void TrackBar2Change(TObject* Sender);
    void TrackBar3Change(TObject* Sender);
    void TrackBar4Change(TObject* Sender);
    void TrackBar5Change(TObject* Sender);
    void TrackBar6Change(TObject* Sender);
    void TrackBar7Change(TObject* Sender);
    void Button1Click(TObject* Sender);
};

extern TForm1* Form1;

// The last position of each slider, 0 until that slider is first moved.
extern double Factor1, Factor2, Factor3, Factor4, Factor5, Factor6, Factor7;
