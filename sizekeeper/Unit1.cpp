// Saving and restoring the window's bounds in "prog.ini", and the edit's text in
// "prog2.ini".
#include "sizekeeper/Unit1.h"

#include "shell/IniFile.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("Button1", Button1);
    PublishField("Button2", Button2);
    PublishField("Edit1", Edit1);
    PublishField("Button3", Button3);
    PublishField("SaveDialog1", SaveDialog1);
    PublishHandler("Button1Click", &TForm1::Button1Click);
    PublishHandler("Button2Click", &TForm1::Button2Click);
    PublishHandler("Button3Click", &TForm1::Button3Click);
    LoadLayout("sizekeeper/Unit1.json");
}

// Each bound is applied as soon as it is converted, so a bad value stops the load there
// with the bounds before it already applied.
void TForm1::Button1Click(TObject*)
{
    TIniFile ini("prog.ini");
    TStringList bounds;
    ini.ReadSectionValues("Size", &bounds);
    SetTop(StrToInt(bounds.Values("Top")));
    SetLeft(StrToInt(bounds.Values("Left")));
    SetWidth(StrToInt(bounds.Values("Width")));
    SetHeight(StrToInt(bounds.Values("Height")));
}

void TForm1::Button2Click(TObject*)
{
    TIniFile ini("prog.ini");
    ini.WriteString("Size", "Top", IntToStr(Top()));
    ini.WriteString("Size", "Left", IntToStr(Left()));
    ini.WriteString("Size", "Height", IntToStr(Height()));
    ini.WriteString("Size", "Width", IntToStr(Width()));
}

void TForm1::Button3Click(TObject*)
{
    TIniFile ini("prog2.ini");
    ini.WriteString("text", "edit1", Edit1->Text());
}
