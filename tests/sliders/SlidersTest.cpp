// The sliders program driven through its real window and layout: moves by keyboard and
// mouse, the echo in each edit box, and the product the button shows.
#include "sliders/Unit1.h"
#include "tests/support/ProgramTest.h"

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <array>

namespace {

class Sliders : public ProgramTest<TForm1> {
protected:
    Sliders() : ProgramTest("sliders", Form1) {}
    void SetUp() override
    {
        for (double* factor : Factors())
            *factor = 0;
        ProgramTest::SetUp();
    }

    static std::array<double*, 7> Factors()
    {
        return {&Factor1, &Factor2, &Factor3, &Factor4, &Factor5, &Factor6, &Factor7};
    }
    static TTrackBar* Slider(int n)
    {
        return std::array<TTrackBar*, 7>{Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4,
                                         Form1->TrackBar5, Form1->TrackBar6, Form1->TrackBar7}[n - 1];
    }
    static TEdit* Edit(int n)
    {
        return std::array<TEdit*, 7>{Form1->Edit1, Form1->Edit2, Form1->Edit3, Form1->Edit4,
                                     Form1->Edit5, Form1->Edit6, Form1->Edit7}[n - 1];
    }
    static void Press(int n, Qt::Key key) { QTest::keyClick(Slider(n)->Widget(), key); }
    static QStyleOptionSlider Option(QSlider* slider)
    {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = option.sliderValue = slider->value();
        option.tickPosition = slider->tickPosition();
        option.tickInterval = slider->tickInterval();
        return option;
    }
    static QRect Part(QSlider* slider, QStyle::SubControl part)
    {
        const QStyleOptionSlider option = Option(slider);
        return slider->style()->subControlRect(QStyle::CC_Slider, &option, part, slider);
    }
    // How many pixels darker than the background a slider shows above and below its
    // channel (its shadow's two rows left out) beside the thumb: its tick marks.
    static std::pair<int, int> InkAboveAndBelow(QSlider* slider)
    {
        const QImage image = slider->grab().toImage();
        const QRect groove = Part(slider, QStyle::SC_SliderGroove);
        const QRect thumb = Part(slider, QStyle::SC_SliderHandle);
        int above = 0, below = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((x < thumb.left() || x > thumb.right()) && qGray(image.pixel(x, y)) < 200) {
                    above += y < groove.top() - 2;
                    below += y > groove.bottom() + 2;
                }
        return {above, below};
    }
    static std::string Product()
    {
        Form1->Button1->Click();
        return Form1->Edit8->Text();
    }
};

TEST_F(Sliders, StartsAtTheLayoutsOuterSizeWithNoFactorSet)
{
    EXPECT_EQ(Form1->Width(), 696) << "the outer size, before the window is framed";
    EXPECT_EQ(Form1->Height(), 480);
    // Shown, the window has a frame: the outer size stays, the client area shrinks.
    Form1->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1->Widget()));
    EXPECT_EQ(Form1->Width(), 696);
    EXPECT_EQ(Form1->Height(), 480);
    EXPECT_LT(Form1->ClientWidth(), 696);
    EXPECT_LT(Form1->ClientHeight(), 480);
    for (int n = 1; n <= 7; ++n) {
        const auto [above, below] = InkAboveAndBelow(static_cast<QSlider*>(Slider(n)->Widget()));
        EXPECT_EQ(above, 0) << "TrackBar" << n << ": tick marks above the channel";
        EXPECT_GT(below, 0) << "TrackBar" << n << ": no tick marks below the channel";
        EXPECT_EQ(Slider(n)->Position(), 1);
        EXPECT_EQ(Edit(n)->Text(), "") << "applying the layout must raise no change event";
        EXPECT_EQ(*Factors()[n - 1], 0);
    }
}

struct ProductRow {
    const char* what;
    std::vector<std::pair<int, int>> moves; // slider, position
    const char* product;
};

TEST_F(Sliders, TheButtonShowsTheProductOnceEverySliderHasMoved)
{
    const ProductRow rows[] = {
        {"nothing moved", {}, "0"},
        {"some moved", {{1, 5}, {3, 3}, {7, 10}}, "0"},
        {"six of seven", {{1, 2}, {2, 10}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}, "0"},
        {"all seven", {{1, 2}, {2, 6}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}}, "30240"},
        {"all at 10", {{1, 10}, {2, 10}, {3, 10}, {4, 10}, {5, 10}, {6, 10}, {7, 10}}, "10000000"},
        {"all back to 1", {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}}, "1"},
    };
    for (const ProductRow& row : rows) {
        SCOPED_TRACE(row.what);
        for (double* factor : Factors())
            *factor = 0;
        for (auto [n, position] : row.moves) {
            // Away and back, so that moving to the position the slider holds still counts.
            Slider(n)->SetPosition(position == 10 ? 9 : 10);
            Slider(n)->SetPosition(position);
            EXPECT_EQ(Edit(n)->Text(), std::to_string(position));
        }
        EXPECT_EQ(Product(), row.product);
    }
}

struct KeyRow {
    int slider;
    Qt::Key key;
    int from, to;
};

TEST_F(Sliders, OneKeyPressMovesByTheSlidersStepAndStopsAtTheEnds)
{
    const KeyRow rows[] = {
        {2, Qt::Key_Right, 1, 6},  {2, Qt::Key_Right, 6, 10}, {2, Qt::Key_Right, 10, 10},
        {2, Qt::Key_Left, 10, 5},  {2, Qt::Key_Left, 5, 1},   {2, Qt::Key_Down, 1, 6},
        {2, Qt::Key_Up, 6, 1},     {1, Qt::Key_Right, 1, 2},  {1, Qt::Key_Left, 2, 1},
        {1, Qt::Key_Left, 1, 1},   {7, Qt::Key_Down, 9, 10},  {7, Qt::Key_Up, 10, 9},
        {4, Qt::Key_PageDown, 1, 3}, {4, Qt::Key_PageUp, 3, 1}, {5, Qt::Key_End, 1, 10},
        {5, Qt::Key_Home, 10, 1},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE("TrackBar" + std::to_string(row.slider) + " key " + std::to_string(row.key) + " from "
                     + std::to_string(row.from));
        Slider(row.slider)->SetPosition(row.from);
        Edit(row.slider)->SetText("");
        Press(row.slider, row.key);
        EXPECT_EQ(Slider(row.slider)->Position(), row.to);
        // A key at the end of the range moves nothing and so reports no change.
        EXPECT_EQ(Edit(row.slider)->Text(), row.from == row.to ? "" : std::to_string(row.to));
    }
}

TEST_F(Sliders, DraggingTheThumbWithTheMouseMovesTheSlider)
{
    auto* slider = static_cast<QSlider*>(Form1->TrackBar3->Widget());
    const QRect thumb = Part(slider, QStyle::SC_SliderHandle);

    QTest::mousePress(slider, Qt::LeftButton, {}, thumb.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(slider->width() - 1, thumb.center().y()),
                     slider->mapToGlobal(QPointF(slider->width() - 1, thumb.center().y())), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() - 1, thumb.center().y()));

    EXPECT_EQ(Form1->TrackBar3->Position(), 10);
    EXPECT_EQ(Form1->Edit3->Text(), "10");
    EXPECT_EQ(Factor3, 10);
}

TEST_F(Sliders, EachSliderFeedsOnlyItsOwnFactorAndEdit)
{
    for (int n = 1; n <= 7; ++n) {
        Press(n, Qt::Key_Right);
        const int expected = n == 2 ? 6 : 2;
        EXPECT_EQ(*Factors()[n - 1], expected) << "TrackBar" << n;
        EXPECT_EQ(Edit(n)->Text(), std::to_string(expected));
        for (int other = n + 1; other <= 7; ++other) {
            EXPECT_EQ(*Factors()[other - 1], 0) << "TrackBar" << n << " set Factor" << other;
            EXPECT_EQ(Edit(other)->Text(), "") << "TrackBar" << n << " wrote Edit" << other;
        }
    }
    EXPECT_EQ(Product(), "384");
}

TEST_F(Sliders, TypingIntoTheEditsChangesNothing)
{
    for (int n = 1; n <= 7; ++n)
        Press(n, Qt::Key_Right);
    ASSERT_EQ(Product(), "384");
    for (int n = 1; n <= 7; ++n)
        QTest::keyClicks(Edit(n)->Widget(), "99");
    QTest::keyClicks(Form1->Edit8->Widget(), "5");
    EXPECT_EQ(Edit(4)->Text(), "299");
    EXPECT_EQ(Product(), "384");

    // A slider moved after the click shows in Edit8 only at the next click.
    Press(1, Qt::Key_Right);
    EXPECT_EQ(Form1->Edit8->Text(), "384");
    EXPECT_EQ(Product(), "576");
}

} // namespace
