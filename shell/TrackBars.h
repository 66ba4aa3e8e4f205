// The slider control: a thumb on a channel between Min and Max, with tick marks.
#pragma once

#include "shell/Controls.h"

class QSlider;

enum TTrackBarOrientation { trHorizontal, trVertical };
inline constexpr NamedValue<TTrackBarOrientation> TrackBarOrientationNames[] = {
    {"trHorizontal", trHorizontal}, {"trVertical", trVertical}};
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
inline constexpr NamedValue<TTickMark> TickMarkNames[] = {
    {"tmBottomRight", tmBottomRight}, {"tmTopLeft", tmTopLeft}, {"tmBoth", tmBoth}};
enum TTickStyle { tsAuto, tsNone };
inline constexpr NamedValue<TTickStyle> TickStyleNames[] = {{"tsAuto", tsAuto}, {"tsNone", tsNone}};

// A slider the user moves with the mouse or the keyboard: the arrow keys step LineSize
// positions (right and down on, left and up back), the page keys PageSize, Home and
// End go to Min and Max. OnChange is raised on every change of Position, by the user or by
// the program; a layout binds it after setting Position, so building a window raises none.
class TTrackBar : public TControl {
public:
    TTrackBar();

    int Min() const;
    void SetMin(int value);
    int Max() const;
    void SetMax(int value);
    int Position() const;
    void SetPosition(int value);
    // One tick mark every Frequency positions.
    int Frequency() const;
    void SetFrequency(int value);
    int LineSize() const;
    void SetLineSize(int value);
    int PageSize() const;
    void SetPageSize(int value);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation value);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark value) { tickMarks_ = value; ShowTicks(); }
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle value) { tickStyle_ = value; ShowTicks(); }

    TNotifyEvent OnChange;

private:
    void ShowTicks();

    QSlider* slider_;
    TTrackBarOrientation orientation_ = trHorizontal;
    TTickMark tickMarks_ = tmBottomRight;
    TTickStyle tickStyle_ = tsAuto;
};
