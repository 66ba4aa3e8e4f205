// The window-bounds keeper through its real window: what a save writes, what a load
// applies and where it stops, and the text save.
#include "sizekeeper/Unit1.h"
#include "tests/support/ProgramTest.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct Bounds {
    int left, top, width, height;
    bool operator==(const Bounds& o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

std::ostream& operator<<(std::ostream& out, const Bounds& b)
{
    return out << b.left << "," << b.top << " " << b.width << "x" << b.height;
}

class Sizekeeper : public ProgramTest<TForm1> {
protected:
    Sizekeeper() : ProgramTest("sizekeeper", Form1) {}
    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
        ProgramTest::SetUp();
    }
    void TearDown() override
    {
        ProgramTest::TearDown();
        qunsetenv("XDG_CONFIG_HOME");
    }

    std::string File(const std::string& name) const { return folder.path().toStdString() + "/sizekeeper/" + name; }
    std::string Content(const std::string& name) const
    {
        std::ifstream file(File(name), std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        return content.str();
    }
    void PutIni(const std::string& content) const
    {
        QDir().mkpath(folder.path() + "/sizekeeper");
        std::ofstream(File("prog.ini"), std::ios::binary) << content;
    }
    static Bounds Now() { return {Form1->Left(), Form1->Top(), Form1->Width(), Form1->Height()}; }
    static void Place(const Bounds& b)
    {
        Form1->SetLeft(b.left);
        Form1->SetTop(b.top);
        Form1->SetWidth(b.width);
        Form1->SetHeight(b.height);
    }
};

} // namespace

TEST_F(Sizekeeper, SavesTheFourBoundsInOrderAndLoadsThemBack)
{
    // Shown, the window has a frame: the outer bounds that are saved and loaded differ
    // from the client area's.
    Form1->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1->Widget()));
    ASSERT_LT(Form1->ClientWidth(), Form1->Width());
    ASSERT_LT(Form1->ClientHeight(), Form1->Height());
    Form1->Button2->Click();
    EXPECT_EQ(Content("prog.ini"), "[Size]\nTop=174\nLeft=212\nHeight=480\nWidth=696\n");

    for (const Bounds saved : {Bounds{-8, -3, 500, 400}, Bounds{40, 30, 320, 240}}) {
        Place(saved);
        Form1->Button2->Click();
        Place({300, 200, 600, 300});
        Form1->Button1->Click();
        EXPECT_EQ(Now(), saved);
    }
    EXPECT_EQ(Content("prog.ini"), "[Size]\nTop=30\nLeft=40\nHeight=240\nWidth=320\n") << "one line per key";
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Sizekeeper, LoadFindsKeysByNameAndASaveKeepsTheRest)
{
    PutIni("[Other]\nTop=1\n[Size]\nWidth=330\nNote=keep\nHeight=220\nLeft=15\nTop=25\n");
    Form1->Button1->Click();
    EXPECT_EQ(Now(), (Bounds{15, 25, 330, 220}));
    Form1->Button2->Click();
    EXPECT_EQ(Content("prog.ini"), "[Other]\nTop=1\n[Size]\nWidth=330\nNote=keep\nHeight=220\nLeft=15\nTop=25\n");
}

TEST_F(Sizekeeper, ABadOrMissingValueStopsTheLoadAtItsKey)
{
    const Bounds start = Now();
    const struct {
        const char* what;
        const char* ini; // nullptr: no file
        Bounds after;
    } rows[] = {
        {"no file", nullptr, start},
        {"no section", "[Other]\nTop=5\n", start},
        {"Top not a number", "[Size]\nTop=x\nLeft=5\nWidth=300\nHeight=200\n", start},
        {"Left missing", "[Size]\nTop=5\nWidth=300\nHeight=200\n", {start.left, 5, start.width, start.height}},
        {"Width blank", "[Size]\nTop=6\nLeft=7\nWidth=\nHeight=200\n", {7, 6, start.width, start.height}},
        {"Height too big for 32 bits", "[Size]\nTop=8\nLeft=9\nWidth=300\nHeight=4294967296\n", {9, 8, 300, start.height}},
    };
    for (const auto& row : rows) {
        Place(start);
        QFile::remove(QString::fromStdString(File("prog.ini")));
        if (row.ini)
            PutIni(row.ini);
        const std::size_t before = boxes.Shown().size();
        Form1->Button1->Click();
        EXPECT_EQ(boxes.Shown().size(), before + 1) << row.what;
        EXPECT_EQ(Now(), row.after) << row.what;
    }
    QFile::remove(QString::fromStdString(File("prog.ini")));
    Form1->Button1->Click();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(File("prog.ini")))) << "loading created the file";
}

// A position goes as far as the window system's 16-bit coordinates allow, and no further.
TEST_F(Sizekeeper, AbsurdStoredBoundsNeverCrashAndStayPlaceable)
{
    const struct {
        const char* ini;
        int left, top;
    } rows[] = {
        {"[Size]\nTop=1000000\nLeft=-1000000000\nWidth=1000000000\nHeight=1000000000\n", -32000, 32000},
        {"[Size]\nTop=0\nLeft=0\nWidth=0\nHeight=-5\n", 0, 0},
        {"[Size]\nTop=-2147483648\nLeft=2147483647\nWidth=-2147483648\nHeight=2147483647\n", 32000, -32000},
    };
    for (const auto& row : rows) {
        PutIni(row.ini);
        Form1->Button1->Click();
        EXPECT_EQ(std::make_pair(Form1->Left(), Form1->Top()), std::make_pair(row.left, row.top)) << row.ini;
        EXPECT_GE(Form1->Width(), 0);
        EXPECT_GE(Form1->Height(), 0);
        Form1->Button2->Click();
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Sizekeeper, TheTextSaveStoresTheEditAsItIs)
{
    Form1->Edit1->SetText("не сохранено");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(File("prog2.ini"))));
    for (const char* text : {"", "Привет, мир", " = [x] ; "}) {
        Form1->Edit1->SetText(text);
        Form1->Button3->Click();
        EXPECT_EQ(Content("prog2.ini"), std::string("[text]\nedit1=") + text + "\n");
    }
}
