// The paver window's handler: every cell of the grid gets a tile chosen at random, loaded
// from its file anew and drawn on the window.
#include "paver/Unit1.h"
#include "shell/Random.h"

TForm1* Form1 = nullptr;

namespace {

// The tile files by tile index, read from the current directory.
const char* const TileFiles[] = {"B1.bmp", "Bitmap2.bmp", "Bitmap3.bmp", "Bitmap4.bmp"};
constexpr int TileCount = 4;
constexpr int GridCells = 10; // the grid is 10 x 10 cells
constexpr int GridStep = 30;

} // namespace

TForm1::TForm1() : TForm("TForm1")
{
    PublishField("Image1", Image1);
    PublishField("Button1", Button1);
    PublishField("OpenPictureDialog1", OpenPictureDialog1);
    PublishField("OpenDialog1", OpenDialog1);

    PublishHandler("Button1Click", &TForm1::Button1Click);

    LoadLayout("paver/Unit1.json");
}

void TForm1::LoadTile(int n)
{
    if (n < 0 || n >= TileCount)
        return;
    Image1->Picture()->LoadFromFile(TileFiles[n]);
}

// Column by column from the left, each from top to bottom: the k-th random choice of a
// click is the tile of column k / 10, row k % 10. A tile that fails to load stops the
// paving there; the cells drawn before it stay.
void TForm1::Button1Click(TObject*)
{
    for (int column = 0; column < GridCells; ++column) {
        for (int row = 0; row < GridCells; ++row) {
            LoadTile(random(TileCount));
            GetCanvas()->Draw(GridStep * column, GridStep * row, Image1->Picture()->GetBitmap());
        }
    }
}
