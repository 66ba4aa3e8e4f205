// Applying layouts: a good one builds and binds every control; a bad one stops with a
// message that names the layout, the node and the property.
#include "shell/Application.h"
#include "tests/shell/ProbeForm.h"
#include "tests/support/MessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

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
    // Components with no window keep their design positions, whatever the values.
    EXPECT_EQ(std::make_pair(form.Timer1->Left(), form.Timer1->Top()), std::make_pair(40, 8));
    EXPECT_EQ(std::make_pair(form.PopupMenu1->Left(), form.PopupMenu1->Top()), std::make_pair(-5, 70000));

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

// The probe layout's text, as embedded.
std::string ProbeText()
{
    QFile embedded(":/probe/Probe.json");
    if (!embedded.open(QIODevice::ReadOnly))
        throw Exception("the probe layout is not embedded");
    return embedded.readAll().toStdString();
}

// The probe layout with one change: the value at a path such as "children/2/Interval"
// set to the given JSON text (a path one past the end of a list appends to it), or
// removed when the text is empty. An empty path gives the text itself as the layout.
struct Change {
    const char* path;
    const char* json;
};

QJsonValue Changed(const QJsonValue& node, QStringList path, const Change& change)
{
    const QString key = path.takeFirst();
    const QJsonValue value = QJsonDocument::fromJson(QByteArray("[") + change.json + "]").array().at(0);
    const bool remove = std::string(change.json).empty();
    if (node.isArray()) {
        QJsonArray array = node.toArray();
        const int index = key.toInt();
        if (!path.isEmpty())
            array[index] = Changed(array[index], path, change);
        else if (remove)
            array.removeAt(index);
        else if (index == array.size())
            array.append(value);
        else
            array[index] = value;
        return array;
    }
    QJsonObject object = node.toObject();
    if (!path.isEmpty())
        object[key] = Changed(object[key], path, change);
    else if (remove)
        object.remove(key);
    else
        object[key] = value;
    return object;
}

std::string ProbeWith(const Change& change)
{
    if (std::string(change.path).empty())
        return change.json;
    const QJsonDocument probe = QJsonDocument::fromJson(QByteArray::fromStdString(ProbeText()));
    const QJsonValue changed = Changed(probe.object(), QString(change.path).split('/'), change);
    return QJsonDocument(changed.toObject()).toJson().toStdString();
}

// Layout text given in memory is applied as the embedded layout would be, its pictures
// found beside the path it is given, and its faults reported under that path.
TEST(Layout, TextInMemoryAppliesLikeAnEmbeddedLayout)
{
    TApplication application("probe");
    TProbeForm form("probe/Tried.json", ProbeText());
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
    try {
        TProbeForm missing("probe/NotThere.json");
        ADD_FAILURE() << "a layout that is not embedded was applied";
    } catch (const Exception& failure) {
        EXPECT_NE(failure.Message().find("«probe/NotThere.json»: макет не встроен"), std::string::npos)
            << failure.Message();
    }
}

// Each name a property takes gives the value of that name, whatever the order of the
// names in their enumeration.
TEST(Layout, NamesGiveTheirValues)
{
    TApplication application("probe");
    struct Row {
        Change change;
        std::function<bool(TProbeForm&)> holds;
    };
    const Row rows[] = {
        {{"BorderStyle", "\"bsDialog\""}, [](TProbeForm& f) { return f.BorderStyle() == bsDialog; }},
        {{"BorderStyle", "\"bsNone\""}, [](TProbeForm& f) { return f.BorderStyle() == bsNone; }},
        {{"BorderIcons", "[\"biMaximize\", \"biSystemMenu\"]"},
         [](TProbeForm& f) { return f.BorderIcons() == (biMaximize | biSystemMenu); }},
        {{"BorderIcons", "[]"}, [](TProbeForm& f) { return f.BorderIcons() == 0; }},
        {{"Color", "\"clBlack\""}, [](TProbeForm& f) { return f.Color() == clBlack; }},
        {{"Color", "\"clBtnHighlight\""}, [](TProbeForm& f) { return f.Color() == clBtnHighlight; }},
        {{"Position", "\"poScreenCenter\""}, [](TProbeForm& f) { return f.Position() == poScreenCenter; }},
        {{"children/1/Font", "{\"Style\": [\"fsStrikeOut\", \"fsItalic\"]}"},
         [](TProbeForm& f) {
             const TFont& font = f.CheckBox1->Font();
             return font.StrikeOut && font.Italic && !font.Bold && !font.Underline;
         }},
    };
    for (const Row& row : rows) {
        TProbeForm form("probe/Changed.json", ProbeWith(row.change));
        EXPECT_TRUE(row.holds(form)) << row.change.path << ": " << row.change.json;
    }
}

struct BadLayout {
    const char* name;
    Change change;
    std::vector<std::string> mentions;
};

class BadLayouts : public ::testing::TestWithParam<BadLayout> {};

TEST_P(BadLayouts, StopWithAMessageNamingTheFault)
{
    TApplication application("probe");
    const BadLayout& bad = GetParam();
    const std::string path = std::string("probe/") + bad.name + ".json";
    try {
        TProbeForm form(path, ProbeWith(bad.change));
        FAIL() << path << " was applied";
    } catch (const Exception& failure) {
        EXPECT_NE(failure.Message().find("«" + path + "»"), std::string::npos) << failure.Message();
        for (const std::string& mention : bad.mentions)
            EXPECT_NE(failure.Message().find(mention), std::string::npos) << failure.Message();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layout, BadLayouts,
    ::testing::Values(
        BadLayout{"BadJson", {"", "{ \"class\": \"TProbeForm\", \"name\": \"ProbeForm\","}, {"ошибка JSON"}},
        BadLayout{"UnknownClass", {"children/0/class", "\"TPicturePanel\""}, {"«Image1»", "TPicturePanel"}},
        BadLayout{"UnknownProperty", {"children/1/Colour", "\"clWhite\""}, {"«CheckBox1»", "«Colour»"}},
        BadLayout{"WrongType", {"children/2/Interval", "\"30\""}, {"«Timer1»", "«Interval»", "целое"}},
        BadLayout{"UnknownHandler", {"children/2/OnTimer", "\"Timer1Timer\""}, {"«Timer1»", "«OnTimer»", "«Timer1Timer»"}},
        BadLayout{"WrongSignature", {"OnMouseMove", "\"KeyDown\""},
                  {"«ProbeForm»", "«OnMouseMove»", "KeyDown(TObject* Sender, TShiftState"}},
        BadLayout{"UnknownField", {"children/4", "{\"class\": \"TTimer\", \"name\": \"Timer9\"}"}, {"«Timer9»", "нет поля"}},
        BadLayout{"DuplicateName", {"children/4", "{\"class\": \"TTimer\", \"name\": \"Timer1\"}"},
                  {"«Timer1»", "уже занято"}},
        BadLayout{"MissingField", {"children/1", ""}, {"«CheckBox1»", "не создано"}},
        BadLayout{"WrongFieldClass", {"children/2/class", "\"TPopupMenu\""}, {"«Timer1»", "не совпадает"}},
        BadLayout{"MissingPicture", {"children/0/Picture", "\"Нет.bmp\""}, {"«Image1»", "«Picture»", "«Нет.bmp»"}},
        BadLayout{"WrongRoot", {"class", "\"TForm2\""}, {"TForm2"}},
        BadLayout{"BadParent", {"children/0/children", "[{\"class\": \"TCheckBox\", \"name\": \"CheckBox1\"}]"},
                  {"TCheckBox", "«Image1»"}},
        BadLayout{"ItemOutsideAMenu", {"children/3", "{\"class\": \"TMenuItem\", \"name\": \"Item1\"}"},
                  {"TMenuItem", "«ProbeForm»"}},
        BadLayout{"BadMenuRef", {"PopupMenu", "\"Timer1\""}, {"«PopupMenu»", "«Timer1»"}},
        BadLayout{"BadFont", {"children/1/Font", "{\"Height\": -12, \"Style\": [\"fsHeavy\"]}"},
                  {"«CheckBox1»", "«Font»", "«fsHeavy»", "fsBold"}},
        BadLayout{"BadIcon", {"BorderIcons", "[\"biHelp\"]"}, {"«ProbeForm»", "«BorderIcons»", "«biHelp»", "biMaximize"}},
        BadLayout{"IconsNotAList", {"BorderIcons", "\"biMinimize\""}, {"«BorderIcons»", "ожидается список значков"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
