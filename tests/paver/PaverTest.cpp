// The paver window driven through its real layout and widgets, checked on the pixels it
// shows: the paving follows the generator, stops at a missing tile file, and draws
// nothing without files.
#include "paver/Unit1.h"
#include "tests/support/FileDialogs.h"
#include "tests/support/Pixels.h"
#include "tests/support/ProgramTest.h"
#include "tests/support/TestMain.h"
#include "shell/Random.h"

#include <QFile>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <random>

namespace {

constexpr QRgb Background = 0xF0F0F0;
const QRect GridSquare(0, 0, 300, 300);
const QRect AroundGrid(0, 0, 340, 304); // up to Button1
const char* const TileFiles[] = {"B1.bmp", "Bitmap2.bmp", "Bitmap3.bmp", "Bitmap4.bmp"};

QImage Tile(int n)
{
    return QImage(QStringLiteral(ASSETS_DIR "/") + TileFiles[n]);
}

class Paver : public ProgramTest<TForm1> {
protected:
    Paver() : ProgramTest("paver", Form1, true) {}

    void CopyTiles()
    {
        for (const char* name : TileFiles)
            ASSERT_TRUE(QFile::copy(QStringLiteral(ASSETS_DIR "/") + name, name));
    }
    void Click() { QTest::mouseClick(Form1->Button1->Widget(), Qt::LeftButton); }
    QImage Seen() { return Shot(*Form1); }
    QImage Meant(const std::vector<Stamp>& stamps)
    {
        return Stamped(QSize(Form1->ClientWidth(), Form1->ClientHeight()), Background, stamps);
    }

    FileDialogs dialogs;
};

// The first click of a run draws from the generator as it starts, the standard minimal LCG
// with its default seed.
TEST_F(Paver, ClicksPaveAsTheGeneratorSaysAndAMissingTileStopsThePavingThere)
{
    CopyTiles();
    RandSeed = StartRandSeed; // the first click of a run
    std::minstd_rand sequence;
    std::vector<Stamp> stamps;
    for (int k = 0; k < 100; ++k)
        stamps.push_back({Tile(sequence() % 4), QPoint(30 * (k / 10), 30 * (k % 10))});
    Click();
    EXPECT_EQ(Differences(Seen(), Meant(stamps), AroundGrid), 0) << "the first click";
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Form1->Image1->Picture()->Image(), stamps.back().picture) << "Image1 holds the last tile";

    // Without "Bitmap3.bmp" the cells before the first tile 2 of this click are paved
    // anew, and the rest of the grid keeps the first click's tiles.
    ASSERT_TRUE(QFile::remove("Bitmap3.bmp"));
    int drawn = 0;
    for (int choice = sequence() % 4; choice != 2; choice = sequence() % 4)
        stamps.push_back({Tile(choice), QPoint(30 * (drawn / 10), 30 * (drawn % 10))}), ++drawn;
    ASSERT_LT(drawn, 100) << "the test needs a tile 2 in the second click";
    Click();
    EXPECT_EQ(Differences(Seen(), Meant(stamps), AroundGrid), 0) << drawn << " cells paved";
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Shown()[0].text.find("«Bitmap3.bmp»"), std::string::npos) << boxes.Shown()[0].text;

    // With the file back, each click paves the whole grid, the generator going on, and
    // reads every tile from its file anew: tiles replaced between two clicks (their colours
    // inverted, or back) show at once, also in a click's first cell, which the generator
    // is set to give the tile the click before ended with.
    ASSERT_TRUE(QFile::copy(QStringLiteral(ASSETS_DIR "/Bitmap3.bmp"), "Bitmap3.bmp"));
    int last = -1;
    for (int click = 3; click <= 6; ++click) {
        std::vector<QImage> tiles;
        for (int n = 0; n < 4; ++n) {
            tiles.push_back(Tile(n).convertToFormat(QImage::Format_RGB32));
            if (click > 3) {
                if (click % 2 == 0)
                    tiles[n].invertPixels();
                ASSERT_TRUE(QFile::remove(TileFiles[n]));
                ASSERT_TRUE(tiles[n].save(TileFiles[n], "BMP"));
            }
        }
        if (click > 3) {
            std::uint32_t seed = 1;
            while (std::uint64_t(seed) * 48271 % 2147483647 % 4 != std::uint64_t(last))
                ++seed;
            RandSeed = seed;
            sequence.seed(seed);
        }
        for (int k = 0; k < 100; ++k) {
            last = int(sequence() % 4);
            stamps.push_back({tiles[last], QPoint(30 * (k / 10), 30 * (k % 10))});
        }
        Click();
        EXPECT_EQ(Differences(Seen(), Meant(stamps), AroundGrid), 0) << "click " << click;
    }
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(Paver, Image1StaysHiddenAndNoDialogIsShown)
{
    EXPECT_FALSE(Form1->Image1->Widget()->isVisible());
    EXPECT_TRUE(Form1->Image1->Picture()->GetBitmap()->Empty());
    CopyTiles();
    Click();
    EXPECT_FALSE(Form1->Image1->Widget()->isVisible()) << "Image1 never shows";
    EXPECT_TRUE(dialogs.Shown().empty()) << "no dialog is ever run";
}

TEST_F(Paver, WithoutTileFilesNothingIsDrawnAndTheErrorIsShown)
{
    // The tiles beside the program do not count: only the current directory does.
    Click();
    EXPECT_EQ(Differences(Seen(), Meant({}), GridSquare), 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Shown()[0].text.find(".bmp»"), std::string::npos) << boxes.Shown()[0].text;
}

TEST_F(Paver, ThePavingCoversTheSquareAndStaysWhenTheWindowIsHiddenAndShown)
{
    CopyTiles();
    Click();
    const QImage before = Seen();
    Form1->Widget()->hide();
    Form1->Show();
    EXPECT_EQ(Differences(Seen(), before, GridSquare), 0);
    int uncovered = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            uncovered += (before.pixel(x, y) & 0xFFFFFF) == Background;
    EXPECT_EQ(uncovered, 0) << "no seams";
    EXPECT_EQ(Differences(before, Meant({}), QRect(300, 0, 4, 304)), 0) << "4 pixels before Image1's place";
    EXPECT_EQ(Differences(before, Meant({}), QRect(0, 300, 64, 4)), 0) << "4 pixels above Button1";
}

} // namespace
