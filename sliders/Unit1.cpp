// The sliders program: each slider stores its position as its factor and shows it; the
// button shows the product of the seven factors.
#include "sliders/Unit1.h"

TForm1* Form1 = nullptr;

double Factor1 = 0, Factor2 = 0, Factor3 = 0, Factor4 = 0, Factor5 = 0, Factor6 = 0, Factor7 = 0;

namespace {

// One slider's change: its position becomes its factor, shown in its edit box.
void TakeFactor(TTrackBar* slider, double& factor, TEdit* edit)
{
    factor = slider->Position();
    edit->SetText(FloatToStr(factor));
}

} // namespace

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("Edit1", Edit1);
    PublishField("TrackBar1", TrackBar1);
    PublishField("TrackBar2", TrackBar2);
    PublishField("TrackBar3", TrackBar3);
    PublishField("TrackBar4", TrackBar4);
    PublishField("TrackBar5", TrackBar5);
    PublishField("TrackBar6", TrackBar6);
    PublishField("TrackBar7", TrackBar7);
    PublishField("Edit2", Edit2);
    PublishField("Edit3", Edit3);
    PublishField("Edit4", Edit4);
    PublishField("Edit5", Edit5);
    PublishField("Edit6", Edit6);
    PublishField("Edit7", Edit7);
    PublishField("Edit8", Edit8);
    PublishField("Button1", Button1);

    PublishHandler("TrackBar1Change", &TForm1::TrackBar1Change);
    PublishHandler("TrackBar2Change", &TForm1::TrackBar2Change);
    PublishHandler("TrackBar3Change", &TForm1::TrackBar3Change);
    PublishHandler("TrackBar4Change", &TForm1::TrackBar4Change);
    PublishHandler("TrackBar5Change", &TForm1::TrackBar5Change);
    PublishHandler("TrackBar6Change", &TForm1::TrackBar6Change);
    PublishHandler("TrackBar7Change", &TForm1::TrackBar7Change);
    PublishHandler("Button1Click", &TForm1::Button1Click);

    LoadLayout("sliders/Unit1.json");
}

void TForm1::TrackBar1Change(TObject*)
{
    TakeFactor(Form1->TrackBar1, Factor1, Form1->Edit1);
}

void TForm1::TrackBar2Change(TObject*)
{
    TakeFactor(Form1->TrackBar2, Factor2, Form1->Edit2);
}

void TForm1::TrackBar3Change(TObject*)
{
    TakeFactor(Form1->TrackBar3, Factor3, Form1->Edit3);
}

void TForm1::TrackBar4Change(TObject*)
{
    TakeFactor(Form1->TrackBar4, Factor4, Form1->Edit4);
}

void TForm1::TrackBar5Change(TObject*)
{
    TakeFactor(Form1->TrackBar5, Factor5, Form1->Edit5);
}

void TForm1::TrackBar6Change(TObject*)
{
    TakeFactor(Form1->TrackBar6, Factor6, Form1->Edit6);
}

void TForm1::TrackBar7Change(TObject*)
{
    TakeFactor(Form1->TrackBar7, Factor7, Form1->Edit7);
}

void TForm1::Button1Click(TObject*)
{
    const double product = Factor1 * Factor2 * Factor3 * Factor4 * Factor5 * Factor6 * Factor7;
    Form1->Edit8->SetText(FloatToStr(product));
}
