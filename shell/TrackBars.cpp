// The slider control over a Qt slider, and its part of the layout's class table.
#include "shell/TrackBars.h"

#include "shell/Layout.h"

#include <QSlider>

#include <QKeyEvent>

#include <algorithm>
#include <unordered_map>

namespace {

// A Qt slider whose keys move it as the windows' own sliders do: up and left go back
// towards Min, down and right on towards Max, a page at a time with the page keys.
class TrackBarWidget : public QSlider {
public:
    TrackBarWidget() : QSlider(Qt::Horizontal) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        static const std::unordered_map<int, SliderAction> actions = {
            {Qt::Key_Left, SliderSingleStepSub},  {Qt::Key_Up, SliderSingleStepSub},
            {Qt::Key_Right, SliderSingleStepAdd}, {Qt::Key_Down, SliderSingleStepAdd},
            {Qt::Key_PageUp, SliderPageStepSub},  {Qt::Key_PageDown, SliderPageStepAdd},
            {Qt::Key_Home, SliderToMinimum},      {Qt::Key_End, SliderToMaximum},
        };
        const auto found = actions.find(event->key());
        if (found == actions.end())
            return QSlider::keyPressEvent(event);
        triggerAction(found->second);
    }
};

} // namespace

TTrackBar::TTrackBar() : TControl(new TrackBarWidget), slider_(static_cast<QSlider*>(Widget()))
{
    slider_->setRange(0, 10);
    slider_->setValue(0);
    slider_->setTickInterval(1);
    slider_->setSingleStep(1);
    slider_->setPageStep(2);
    slider_->setFocusPolicy(Qt::StrongFocus);
    ShowTicks();
    QObject::connect(slider_, &QSlider::valueChanged, [this] { Fire(OnChange, this); });
}

// The values the Qt slider keeps itself.
int TTrackBar::Min() const { return slider_->minimum(); }
void TTrackBar::SetMin(int value) { slider_->setMinimum(value); }
int TTrackBar::Max() const { return slider_->maximum(); }
void TTrackBar::SetMax(int value) { slider_->setMaximum(value); }
int TTrackBar::Position() const { return slider_->value(); }
void TTrackBar::SetPosition(int value) { slider_->setValue(value); }
int TTrackBar::Frequency() const { return slider_->tickInterval(); }
void TTrackBar::SetFrequency(int value) { slider_->setTickInterval(std::max(value, 1)); }
int TTrackBar::LineSize() const { return slider_->singleStep(); }
void TTrackBar::SetLineSize(int value) { slider_->setSingleStep(value); }
int TTrackBar::PageSize() const { return slider_->pageStep(); }
void TTrackBar::SetPageSize(int value) { slider_->setPageStep(value); }

void TTrackBar::SetOrientation(TTrackBarOrientation value)
{
    orientation_ = value;
    slider_->setOrientation(value == trHorizontal ? Qt::Horizontal : Qt::Vertical);
    // A vertical slider has Min at the top.
    slider_->setInvertedAppearance(value == trVertical);
    ShowTicks();
}

void TTrackBar::ShowTicks()
{
    static const QSlider::TickPosition positions[] = {QSlider::TicksBelow, QSlider::TicksAbove,
                                                      QSlider::TicksBothSides};
    slider_->setTickPosition(tickStyle_ == tsNone ? QSlider::NoTicks : positions[tickMarks_]);
}

void AddTrackBarClasses(ClassTable& classes)
{
    classes["TTrackBar"] = {
        "TControl",
        [] { return std::make_unique<TTrackBar>(); },
        {
            ChoiceProperty("Orientation", &TTrackBar::SetOrientation, TrackBarOrientationNames),
            IntProperty("Min", &TTrackBar::SetMin),
            IntProperty("Max", &TTrackBar::SetMax),
            IntProperty("Position", &TTrackBar::SetPosition),
            IntProperty("Frequency", &TTrackBar::SetFrequency),
            IntProperty("LineSize", &TTrackBar::SetLineSize),
            IntProperty("PageSize", &TTrackBar::SetPageSize),
            ChoiceProperty("TickMarks", &TTrackBar::SetTickMarks, TickMarkNames),
            ChoiceProperty("TickStyle", &TTrackBar::SetTickStyle, TickStyleNames),
            NotifyProperty("OnChange", &TTrackBar::OnChange),
        }};
}
