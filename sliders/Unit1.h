// The sliders window: seven sliders from 1 to 10, each echoed in an edit box, and a button
// that multiplies their last positions.
#pragma once

#include "shell/Forms.h"
#include "shell/StdControls.h"
#include "shell/TrackBars.h"

class TForm1 : public TForm {
public:
    TEdit* Edit1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TTrackBar* TrackBar2 = nullptr;
    TTrackBar* TrackBar3 = nullptr;
    TTrackBar* TrackBar4 = nullptr;
    TTrackBar* TrackBar5 = nullptr;
    TTrackBar* TrackBar6 = nullptr;
    TTrackBar* TrackBar7 = nullptr;
    TEdit* Edit2 = nullptr;
    TEdit* Edit3 = nullptr;
    TEdit* Edit4 = nullptr;
    TEdit* Edit5 = nullptr;
    TEdit* Edit6 = nullptr;
    TEdit* Edit7 = nullptr;
    TEdit* Edit8 = nullptr;
    TButton* Button1 = nullptr;

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
