// The tiler window driven through its real layout and widgets, checked on the pixels it
// shows: random stamps, the grid with pictures of other sizes, clipping, and opening
// bitmaps through the file dialog.
#include "tests/support/FileDialogs.h"
#include "tests/support/Pixels.h"
#include "tests/support/TestMain.h"
#include "tiler/Unit1.h"
#include "tests/support/ProgramTest.h"
#include "shell/Random.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <random>

namespace {

constexpr QRgb Background = 0xF0F0F0;
const QRect GridSquare(0, 0, 500, 500);
constexpr int ButtonColumn = 510; // the stamps lie left of the buttons

// A test picture whose every pixel differs from its neighbours', so that a stamp drawn
// off by one pixel or in the wrong order shows.
QImage Pattern(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, qRgb(x * 255 / side, y * 255 / side, (x * 7 + y * 13) % 256));
    return image;
}

class Tiler : public ProgramTest<TForm1> {
protected:
    Tiler() : ProgramTest("tiler", Form1, true) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        ball = Form1->Image1->Picture()->Image().copy();
    }

    static void Click(TButton* button) { QTest::mouseClick(button->Widget(), Qt::LeftButton); }
    QSize Client() const { return QSize(Form1->ClientWidth(), Form1->ClientHeight()); }
    // The client area left of the button column, whatever the frame takes of the window.
    QRect StampArea() const { return QRect(0, 0, ButtonColumn, Form1->ClientHeight()); }
    std::vector<Stamp> Grid(const QImage& picture) const
    {
        std::vector<Stamp> stamps;
        for (int column = 0; column < 10; ++column)
            for (int row = 0; row < 10; ++row)
                stamps.push_back({picture, QPoint(50 * column, 50 * row)});
        return stamps;
    }
    // Opens a file through "Открыть" as a user typing its name.
    void Open(const std::string& name)
    {
        dialogs.Type(name);
        Click(Form1->Button3);
    }

    FileDialogs dialogs;
    QImage ball;
};

// The first clicks of a run draw from the generator as it starts, the standard minimal
// LCG with its default seed. Each row stamps once: every repeat of a held Enter clicks the
// focused button again, a held Space clicks once, on its release.
TEST_F(Tiler, RandomStampsLandWhereTheGeneratorSaysYFirstAndPileUp)
{
    RandSeed = StartRandSeed;
    std::minstd_rand sequence;
    std::vector<Stamp> stamps;
    const auto key = [](Qt::Key key, bool repeat, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(Form1->Button1->Widget(), &event);
    };
    const std::pair<const char*, std::function<void()>> presses[] = {
        {"a click", [] { Click(Form1->Button1); }},
        {"Enter", [&] { key(Qt::Key_Return, false); }},
        {"a repeat of the held Enter", [&] { key(Qt::Key_Return, true); }},
        {"Space held, then let go",
         [&] { key(Qt::Key_Space, false); key(Qt::Key_Space, true); key(Qt::Key_Space, false, QEvent::KeyRelease); }},
    };
    for (const auto& [what, press] : presses) {
        const int y = sequence() % 200;
        const int x = sequence() % 300;
        stamps.push_back({ball, QPoint(x, y)});
        press();
        EXPECT_EQ(Differences(Shot(*Form1), Stamped(Client(), Background, stamps), QRect(0, 0, 350, 250)), 0)
            << "after " << what << ", stamp at (" << x << ", " << y << ")";
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Tiler, TheBuiltInBallIsAFourBitGreenDiscOnWhiteCorners)
{
    QFile file(":/tiler/Image1.bmp");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.size(), 1518);
    EXPECT_EQ(bytes[28], 4) << "bits per pixel";
    ASSERT_EQ(ball.size(), QSize(50, 50));
    EXPECT_EQ(ball.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << "corner";
    EXPECT_EQ(ball.pixel(35, 35) & 0xFFFFFF, 0x00FF00u) << "disc";
    EXPECT_EQ(ball.pixel(25, 0) & 0xFFFFFF, 0x008000u) << "rim";
    EXPECT_EQ(ball.pixel(15, 15) & 0xFFFFFF, 0xFFFFFFu) << "highlight";
}

TEST_F(Tiler, TheGridCoversExactlyTheSquareBesideTheButtons)
{
    Click(Form1->Button2);
    const QImage shot = Shot(*Form1);
    EXPECT_EQ(Differences(shot, Stamped(Client(), Background, Grid(ball)), StampArea()), 0);
    EXPECT_EQ(Differences(shot, Stamped(Client(), Background, {}), QRect(500, 0, 10, Form1->ClientHeight())), 0)
        << "10 pixels of background before the buttons";
    EXPECT_EQ(Differences(shot, Stamped(Client(), Background, {}), QRect(0, 500, 500, Form1->ClientHeight() - 500)), 0);
}

// Pictures of other sizes, opened through the dialog: later stamps lie on top, smaller
// ones leave the background between them, and whatever reaches past the client area is
// cut off there.
TEST_F(Tiler, OpenedPicturesOfOtherSizesOverlapOrLeaveStrips)
{
    std::vector<QImage> grids;
    for (int side : {100, 20, 50}) {
        SCOPED_TRACE(side);
        const QImage picture = Pattern(side);
        const std::string name = "узор" + std::to_string(side) + ".bmp";
        ASSERT_TRUE(picture.save(QString::fromStdString(name), "BMP"));
        Open(name);
        ASSERT_EQ(Form1->Image1->Picture()->Width(), side);
        Click(Form1->Button2);
        // The earlier grids lie below this one.
        grids.push_back(picture);
        std::vector<Stamp> all;
        for (const QImage& earlier : grids)
            for (const Stamp& stamp : Grid(earlier))
                all.push_back(stamp);
        EXPECT_EQ(Differences(Shot(*Form1), Stamped(Client(), Background, all), StampArea()), 0);
    }
    EXPECT_LE(Form1->GetCanvas()->Image().height(), Form1->ClientHeight()) << "nothing kept past the edge";
}

TEST_F(Tiler, StampsStayWhenHiddenShownAndResizedAndAreCutAtTheEdgeWhenDrawn)
{
    Form1->SetClientWidth(120);
    Form1->SetClientHeight(80);
    Click(Form1->Button2);
    Form1->Widget()->hide();
    Form1->Show();
    Form1->SetClientWidth(668);
    Form1->SetClientHeight(540);
    // Only what fitted in the small window was drawn; it is all still there.
    const QImage meant = Stamped(Client(), Background, Grid(ball));
    const QImage background = Stamped(Client(), Background, {});
    const QImage shot = Shot(*Form1);
    EXPECT_EQ(Differences(shot, meant, QRect(0, 0, 120, 80)), 0);
    EXPECT_EQ(Differences(shot, background, QRect(120, 0, 380, 500)), 0);
    EXPECT_EQ(Differences(shot, background, QRect(0, 80, 120, 420)), 0);
}

TEST_F(Tiler, CancellingTheDialogChangesNothing)
{
    dialogs.Cancel();
    Click(Form1->Button3);
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(Form1->Image1->Picture()->Image(), ball);
    EXPECT_EQ(Form1->OpenDialog1->GetFileName(), "");
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_FALSE(Form1->Button4->Enabled()) << "«Растянуть» is greyed out";
}

TEST_F(Tiler, TheDialogItselfRefusesTheNameOfAFileThatDoesNotExist)
{
    Open("нет такого.bmp");
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    ASSERT_EQ(boxes.Shown().size(), 1u) << "the dialog's own warning, then it stays open";
    EXPECT_NE(boxes.Shown()[0].text.find("нет такого.bmp"), std::string::npos) << boxes.Shown()[0].text;
    EXPECT_EQ(Form1->OpenDialog1->GetFileName(), "");
    EXPECT_EQ(Form1->Image1->Picture()->Image(), ball);
}

TEST_F(Tiler, ABitmapNamedWithoutBmpLoadsIntoTheSameBitmapAndShowsInTheImage)
{
    ASSERT_TRUE(Pattern(100).save("рисунок.dat", "BMP"));
    TBitmap* before = Form1->Image1->Picture()->GetBitmap();
    Open("рисунок.dat");
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Form1->Image1->Picture()->GetBitmap(), before) << "the picture keeps its bitmap object";
    const QImage shown = Form1->Image1->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), QSize(57, 57));
    EXPECT_EQ(shown, Pattern(100).copy(0, 0, 57, 57)) << "the image shows the picture's top-left part";
}

TEST_F(Tiler, BadFilesGiveOneErrorEachAndTheProgramGoesOn)
{
    QByteArray truncated;
    {
        ASSERT_TRUE(Pattern(40).save("целый.bmp", "BMP"));
        QFile whole("целый.bmp");
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        truncated = whole.readAll();
        truncated.chop(truncated.size() / 2);
    }
    const std::pair<const char*, QByteArray> files[] = {
        {"текст.bmp", "просто текст, а не рисунок"},
        {"обрезанный.bmp", truncated},
        {"пустой.bmp", QByteArray()},
    };
    for (const auto& [name, bytes] : files) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::size_t before = boxes.Shown().size();
        Open(name);
        ASSERT_EQ(boxes.Shown().size(), before + 1);
        EXPECT_NE(boxes.Shown().back().text.find(std::string(name) + "»"), std::string::npos)
            << boxes.Shown().back().text;
    }
    EXPECT_EQ(Form1->Image1->Picture()->Image(), ball);
    Click(Form1->Button2);
    EXPECT_EQ(Differences(Shot(*Form1), Stamped(Client(), Background, Grid(ball)), StampArea()), 0);
}

TEST_F(Tiler, TheDialogOffersBitmapsOfExistingFilesAndTheLastChoiceAgain)
{
    ASSERT_TRUE(Pattern(30).save("первый.bmp", "BMP"));
    Open("первый.bmp");
    dialogs.Cancel();
    Click(Form1->Button3);
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    const FileDialogs::Dialog& first = dialogs.Shown()[0];
    EXPECT_EQ(first.filters, std::vector<std::string>{"рисунки *.bmp"});
    EXPECT_TRUE(first.mustExist);
    EXPECT_TRUE(first.resizable);
    const std::string chosen = QDir(folder.path()).filePath("первый.bmp").toStdString();
    EXPECT_EQ(Form1->OpenDialog1->GetFileName(), chosen);
    EXPECT_EQ(dialogs.Shown()[1].selected, std::vector<std::string>{chosen});
    EXPECT_EQ(Form1->OpenDialog1->GetFileName(), chosen) << "cancelling keeps the last choice";
}

} // namespace
