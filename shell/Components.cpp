// The component classes over their Qt widgets, timers and menus.
#include "shell/Components.h"

#include "shell/Application.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

// Qt computes with right and bottom edges in int, so a control is placed no further out
// than this; its own Left and Top still read back as set.
constexpr int PlacementLimit = 1 << 24;

int Placeable(int value)
{
    return std::clamp(value, -PlacementLimit, PlacementLimit);
}

// Paints a picture at its own size from the top-left corner; mouse moves over it are
// its own (it tracks none), so they never reach the window beneath.
class ImageWidget : public QWidget {
public:
    explicit ImageWidget(const TPicture& picture) : picture_(picture) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_.Image());
    }

private:
    const TPicture& picture_;
};

void Fire(const TNotifyEvent& event, TObject* sender)
{
    if (event)
        Dispatch([&] { event(sender); });
}

bool clockStopped = false;

} // namespace

// --- TControl -----------------------------------------------------------------------

TControl::TControl(QWidget* widget) : widget_(widget) {}

TControl::~TControl()
{
    delete widget_;
}

void TControl::SetLeft(int value)
{
    left_ = value;
    PlaceWidget();
}

void TControl::SetTop(int value)
{
    top_ = value;
    PlaceWidget();
}

void TControl::SetWidth(int value)
{
    width_ = value;
    PlaceWidget();
}

void TControl::SetHeight(int value)
{
    height_ = value;
    PlaceWidget();
}

void TControl::PlaceWidget()
{
    widget_->setGeometry(Placeable(left_), Placeable(top_), std::clamp(width_, 0, PlacementLimit),
                         std::clamp(height_, 0, PlacementLimit));
}

bool TControl::Visible() const
{
    return visible_;
}

void TControl::SetVisible(bool value)
{
    visible_ = value;
    widget_->setVisible(value);
}

bool TControl::Enabled() const
{
    return enabled_;
}

void TControl::SetEnabled(bool value)
{
    enabled_ = value;
    widget_->setEnabled(value);
}

void TControl::SetParent(TWinControl* parent)
{
    widget_->setParent(parent->Widget());
    widget_->setVisible(visible_);
}

// --- TImage -------------------------------------------------------------------------

TImage::TImage() : TControl(new ImageWidget(picture_))
{
    picture_.SetOnChange([this] { Widget()->update(); });
}

// --- TCheckBox ----------------------------------------------------------------------

TCheckBox::TCheckBox() : TControl(new QCheckBox), box_(static_cast<QCheckBox*>(Widget()))
{
    // The box raises OnClick whenever its tick changes, by the user or by code.
    QObject::connect(box_, &QCheckBox::toggled, [this] { Fire(OnClick, this); });
}

std::string TCheckBox::Caption() const
{
    return box_->text().toStdString();
}

void TCheckBox::SetCaption(const std::string& value)
{
    box_->setText(QString::fromStdString(value));
}

bool TCheckBox::Checked() const
{
    return box_->isChecked();
}

void TCheckBox::SetChecked(bool value)
{
    box_->setChecked(value);
}

// --- TTimer -------------------------------------------------------------------------

TTimer::TTimer() : timer_(std::make_unique<QTimer>())
{
    // Qt never re-enters a timer whose own slot is still running, but a handler may sit in
    // a message box for long; so a tick only posts the handler's call, and the timer goes
    // on ticking under the box.
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        if (clockStopped)
            return;
        QMetaObject::invokeMethod(
            timer_.get(),
            [this] {
                if (enabled_)
                    Tick();
            },
            Qt::QueuedConnection);
    });
    Schedule();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    Schedule();
}

// Only a real change restarts the count, so re-enabling a running timer keeps its rhythm.
void TTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    Schedule();
}

void TTimer::Tick()
{
    Fire(OnTimer, this);
}

void TTimer::StopClock(bool stopped)
{
    clockStopped = stopped;
}

void TTimer::Schedule()
{
    // A zero interval means no ticks at all rather than a busy loop.
    if (enabled_ && interval_ > 0)
        timer_->start(interval_);
    else
        timer_->stop();
}

// --- TMenuItem ----------------------------------------------------------------------

TMenuItem::TMenuItem() : action_(std::make_unique<QAction>())
{
    QObject::connect(action_.get(), &QAction::triggered, [this] { Fire(OnClick, this); });
}

TMenuItem::~TMenuItem() = default;

std::string TMenuItem::Caption() const
{
    return action_->text().toStdString();
}

void TMenuItem::SetCaption(const std::string& value)
{
    action_->setText(QString::fromStdString(value));
}

void TMenuItem::Add(TMenuItem* item)
{
    if (!submenu_) {
        submenu_ = std::make_unique<QMenu>();
        action_->setMenu(submenu_.get());
    }
    submenu_->addAction(item->Action());
    items_.push_back(item);
}

void TMenuItem::Click()
{
    action_->trigger();
}

// --- TPopupMenu ---------------------------------------------------------------------

TPopupMenu::TPopupMenu() : menu_(std::make_unique<QMenu>()) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Add(TMenuItem* item)
{
    menu_->addAction(item->Action());
    items_.push_back(item);
}

void TPopupMenu::Popup(int x, int y)
{
    menu_->popup(QPoint(x, y));
}
