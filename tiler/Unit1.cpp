// The tiler window's handlers: a random stamp, a grid of stamps, and opening a bitmap.
#include "tiler/Unit1.h"
#include "shell/Random.h"

TForm1* Form1 = nullptr;

namespace {

constexpr int RandomRangeX = 300; // the random stamp's corner lies within 300 x 200 pixels
constexpr int RandomRangeY = 200;
constexpr int GridCells = 10;     // the grid is 10 x 10 cells
constexpr int GridStep = 50;

} // namespace

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("Button1", Button1);
    PublishField("Image1", Image1);
    PublishField("Button2", Button2);
    PublishField("OpenDialog1", OpenDialog1);
    PublishField("Button3", Button3);
    PublishField("Button4", Button4);

    PublishHandler("Button1Click", &TForm1::Button1Click);
    PublishHandler("Button2Click", &TForm1::Button2Click);
    PublishHandler("Button3Click", &TForm1::Button3Click);

    LoadLayout("tiler/Unit1.json");
}

// "Произвольно": one stamp at a random place; the generator gives y before x.
void TForm1::Button1Click(TObject*)
{
    TBitmap* bitmap = Image1->Picture()->GetBitmap();
    const int y = random(RandomRangeY);
    const int x = random(RandomRangeX);
    GetCanvas()->Draw(x, y, bitmap);
}

// "Замостить": the picture over the grid, column by column, each from top to bottom.
void TForm1::Button2Click(TObject*)
{
    for (int column = 0; column < GridCells; ++column)
        for (int row = 0; row < GridCells; ++row)
            GetCanvas()->Draw(GridStep * column, GridStep * row, Image1->Picture()->GetBitmap());
}

// "Открыть": the chosen file, read as a bitmap, replaces the picture's contents.
void TForm1::Button3Click(TObject*)
{
    if (!OpenDialog1->Execute())
        return;
    TBitmap* bitmap = Image1->Picture()->GetBitmap();
    bitmap->LoadFromFile(OpenDialog1->GetFileName());
}
