// Applying layouts: a good one builds and binds every control; a bad one stops with a
// message that names the layout, the node and the property.
#include "shell/Application.h"
#include "tests/shell/ProbeForm.h"
#include "tests/support/MessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(Layout, BuildsAndBindsEveryControl)
{
    TApplication application("probe");
    TProbeForm form;

    EXPECT_EQ(form.Name(), "ProbeForm");
    EXPECT_EQ(form.Caption(), "Проба");
    EXPECT_EQ(form.Left(), 10);
    EXPECT_EQ(form.Top(), 20);
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.ClientHeight(), 200);
    EXPECT_EQ(form.PopupMenu(), form.PopupMenu1);

    ASSERT_NE(form.Image1, nullptr);
    EXPECT_EQ(form.Image1->Widget()->parentWidget(), form.Widget());
    EXPECT_EQ(form.Image1->Widget()->geometry(), QRect(100, 100, 50, 50));
    EXPECT_EQ(form.Image1->Picture()->Width(), 50);

    EXPECT_EQ(form.CheckBox1->Caption(), "Галка");
    EXPECT_TRUE(form.CheckBox1->Checked());
    EXPECT_FALSE(form.CheckBox1->Enabled());

    EXPECT_EQ(form.Timer1->Interval(), 30);
    EXPECT_TRUE(form.Timer1->Enabled());

    ASSERT_EQ(form.PopupMenu1->Count(), 1);
    EXPECT_EQ(form.PopupMenu1->Items(0), form.Item1);
    EXPECT_EQ(form.Item1->Items(0), form.Item2);
    EXPECT_EQ(form.PopupMenu1->Menu()->actions().at(0)->menu()->actions().at(0)->text().toStdString(), "Второй");

    // Each event reaches the handler the layout names.
    int ticks = 0;
    form.onTick = [&] { ++ticks; };
    form.Timer1->Tick();
    form.Item2->Click();
    EXPECT_EQ(ticks, 2);
}

// Layout text given in memory is applied as the embedded layout would be, its pictures
// found beside the path it is given, and its faults reported under that path.
TEST(Layout, TextInMemoryAppliesLikeAnEmbeddedLayout)
{
    TApplication application("probe");
    QFile embedded(":/probe/Probe.json");
    ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
    TProbeForm form("probe/Tried.json", embedded.readAll().toStdString());
    EXPECT_EQ(form.Caption(), "Проба");
    EXPECT_EQ(form.Image1->Picture()->Width(), 50);

    for (const std::string text : {"{", "[]", "{\"class\": \"TProbeForm\", \"name\": \"P\"}"}) {
        try {
            TProbeForm bad("probe/Tried.json", text);
            ADD_FAILURE() << text << " was applied";
        } catch (const Exception& failure) {
            EXPECT_EQ(failure.Message().rfind("Макет «probe/Tried.json»", 0), 0u) << failure.Message();
        }
    }
}

struct BadLayout {
    const char* file;
    std::vector<std::string> mentions;
};

class BadLayouts : public ::testing::TestWithParam<BadLayout> {};

TEST_P(BadLayouts, StopWithAMessageNamingTheFault)
{
    TApplication application("probe");
    const BadLayout& bad = GetParam();
    const std::string path = std::string("probe/") + bad.file + ".json";
    try {
        TProbeForm form(path);
        FAIL() << path << " was applied";
    } catch (const Exception& failure) {
        EXPECT_NE(failure.Message().find("«" + path + "»"), std::string::npos) << failure.Message();
        for (const std::string& mention : bad.mentions)
            EXPECT_NE(failure.Message().find(mention), std::string::npos) << failure.Message();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layout, BadLayouts,
    ::testing::Values(BadLayout{"NotThere", {"не встроен"}}, BadLayout{"BadJson", {"ошибка JSON"}},
                      BadLayout{"UnknownClass", {"«Image1»", "TPicturePanel"}},
                      BadLayout{"UnknownProperty", {"«CheckBox1»", "«Colour»"}},
                      BadLayout{"WrongType", {"«Timer1»", "«Interval»", "целое"}},
                      BadLayout{"UnknownHandler", {"«Timer1»", "«OnTimer»", "«Timer1Timer»"}},
                      BadLayout{"WrongSignature", {"«ProbeForm»", "«OnMouseMove»", "KeyDown(TObject* Sender, TShiftState"}},
                      BadLayout{"UnknownField", {"«Timer9»", "нет поля"}},
                      BadLayout{"MissingField", {"«CheckBox1»", "не создано"}},
                      BadLayout{"WrongFieldClass", {"«Timer1»", "не совпадает"}},
                      BadLayout{"MissingPicture", {"«Image1»", "«Picture»", "«Нет.bmp»"}},
                      BadLayout{"WrongRoot", {"TForm2"}},
                      BadLayout{"BadParent", {"TCheckBox", "«Image1»"}},
                      BadLayout{"BadMenuRef", {"«PopupMenu»", "«Timer1»"}},
                      BadLayout{"BadFont", {"«CheckBox1»", "«Font»", "«fsHeavy»", "fsBold"}}),
    [](const auto& info) { return std::string(info.param.file); });

} // namespace
