// Windows over top-level Qt widgets: outer geometry, frame style, input events and the
// popup menu.
#include "shell/Forms.h"

#include "shell/Graphics.h"
#include "shell/KeyCodes.h"
#include "shell/Layout.h"
#include "shell/Messages.h"
#include "shell/Buttons.h"

#include <QContextMenuEvent>
#include <QJsonArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

namespace {

// The window system places windows with 16-bit coordinates; a stored position of any
// size is brought within them.
constexpr int PositionLimit = 32000;

int Placeable(int value)
{
    return std::clamp(value, -PositionLimit, PositionLimit);
}

// No window is made larger than the whole desktop, or 4096 pixels a side where the desktop
// is smaller: a stored size of any magnitude is brought within that (and the window's
// painting never asks for gigabytes).
QSize LargestClientSize()
{
    const QSize floor(4096, 4096);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->virtualSize().expandedTo(floor);
    return floor;
}

// The client size for an outer size and a frame, brought within int: the difference of
// two ints may not fit one.
int ClientFromOuter(int outer, int frame)
{
    const std::int64_t client = std::int64_t(outer) - frame;
    return int(std::clamp<std::int64_t>(client, INT_MIN, INT_MAX));
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    // Whether each key or button is held, and its bit.
    const std::pair<bool, unsigned> held[] = {
        {modifiers.testFlag(Qt::ShiftModifier), ssShift}, {modifiers.testFlag(Qt::AltModifier), ssAlt},
        {modifiers.testFlag(Qt::ControlModifier), ssCtrl}, {buttons.testFlag(Qt::LeftButton), ssLeft},
        {buttons.testFlag(Qt::RightButton), ssRight},      {buttons.testFlag(Qt::MiddleButton), ssMiddle},
    };
    unsigned bits = 0;
    for (const auto& [down, bit] : held)
        bits |= down ? bit : 0;
    return TShiftState(bits);
}

// Every class a window's layout may name: each family's part of the table.
const ClassTable& LayoutClasses()
{
    static const ClassTable classes = [] {
        ClassTable table;
        AddFormClasses(table);
        AddControlClasses(table);
        AddButtonClasses(table);
        AddTextControlClasses(table);
        AddBoxClasses(table);
        AddGraphicsClasses(table);
        AddTimerClasses(table);
        AddMenuClasses(table);
        AddDialogClasses(table);
        AddTrackBarClasses(table);
        AddLinkedClasses(table);
        return table;
    }();
    return classes;
}

} // namespace

// The top-level widget of a form: it turns Qt's input events into the form's events.
class FormWidget : public QWidget {
public:
    explicit FormWidget(TCustomForm& form) : form_(form)
    {
        setMouseTracking(true);
        setAutoFillBackground(true);
    }

protected:
    // The window's OnKeyDown sees the keys pressed while the window itself holds the focus:
    // keys that a focused control leaves unused go no further than the window's Default and
    // Cancel buttons. Print Screen never comes down to a window: the desktop keeps its press.
    void keyPressEvent(QKeyEvent* event) override
    {
        Word key = VirtualKey({event->key(), event->modifiers().testFlag(Qt::KeypadModifier),
                               event->nativeScanCode(), event->nativeVirtualKey()});
        const bool windowHasFocus = focusWidget() == nullptr || focusWidget() == this;
        if (form_.OnKeyDown && windowHasFocus && key != VK_SNAPSHOT) {
            const TShiftState shift = ShiftFromQt(event->modifiers(), QGuiApplication::mouseButtons());
            Dispatch([&] { form_.OnKeyDown(&form_, key, shift); });
            PressDialogButton(key); // a handler that set the key to 0 has used it up
        } else if (!PressDialogButton(key)) {
            QWidget::keyPressEvent(event);
        }
    }

    // The pointer belongs to the control it is over, or while a button is held to the control
    // the button was pressed on: such moves are the control's alone, even when the control
    // leaves them unused and Qt would pass them on to the window. A greyed-out control is
    // not under the pointer: it lets the pointer through (TControl::SetEnabled).
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        const bool held = event->buttons() != Qt::NoButton;
        if (held ? pressedOnControl_ : childAt(at) != nullptr)
            reported_.reset();
        else
            Report(at, ShiftFromQt(event->modifiers(), event->buttons()));
    }

    // A pointer that comes to lie over the window without moving, because a menu or a box
    // over it went away, is a move as well: the window hears where the pointer rests at
    // once, not only at its next move.
    void enterEvent(QEnterEvent* event) override
    {
        QWidget::enterEvent(event);
        const QPoint at = event->position().toPoint();
        if (QGuiApplication::mouseButtons() == Qt::NoButton && childAt(at) == nullptr)
            Report(at, ShiftFromQt(QGuiApplication::keyboardModifiers(), Qt::NoButton));
    }

    void leaveEvent(QEvent* event) override
    {
        QWidget::leaveEvent(event);
        reported_.reset();
    }

    // Presses are seen where the window system delivers them, before Qt hands them to the
    // control under the pointer, so that the window knows a drag's owner even when that
    // control takes the press for itself.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == windowHandle()
            && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
            const auto* press = static_cast<QMouseEvent*>(event);
            if (press->buttons() == press->button()) // the first button down starts a drag
                pressedOnControl_ = childAt(press->position().toPoint()) != nullptr;
        }
        return false;
    }

    // The native window is made on showing, and made anew when its flags change.
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        windowHandle()->installEventFilter(this);
    }

    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (!form_.PopupMenu())
            return QWidget::contextMenuEvent(event);
        form_.PopupMenu()->Popup(event->globalPos().x(), event->globalPos().y());
    }

    // The window manager's frame is known only once it has framed the window.
    void moveEvent(QMoveEvent* event) override
    {
        QWidget::moveEvent(event);
        form_.ApplyFrame();
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        form_.ApplyFrame();
    }

    // The background is filled first; the drawings lie on it, the controls above them.
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, form_.canvas_->Image());
    }

    // A button of the window hands its modal result here (SendModalResult).
    bool event(QEvent* event) override
    {
        if (const std::optional<TModalResult> result = ModalResultOf(*event)) {
            form_.SetModalResult(*result);
            return true;
        }
        return QWidget::event(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        QWidget::closeEvent(event);
        if (form_.modalLoop_) {
            if (form_.modalResult_ == mrNone)
                form_.modalResult_ = mrCancel;
            form_.modalLoop_->quit();
        }
        if (form_.isMainForm_)
            QCoreApplication::quit();
    }

private:
    // Tells the window's OnMouseMove where the pointer is, once for each point it comes to:
    // Qt follows an enter with a move to the same point.
    void Report(QPoint at, TShiftState shift)
    {
        if (!form_.OnMouseMove || reported_ == at)
            return;
        reported_ = at;
        Dispatch([&] { form_.OnMouseMove(&form_, shift, at.x(), at.y()); });
    }

    // Enter presses the window's Default button and Escape its Cancel button, when they
    // can be pressed; tells whether one was.
    bool PressDialogButton(Word key)
    {
        if (key != VK_RETURN && key != VK_ESCAPE)
            return false;
        for (const auto& component : form_.Components()) {
            auto* button = dynamic_cast<TButton*>(component.get());
            if (button && button->Visible() && button->Enabled()
                && (key == VK_RETURN ? button->Default() : button->Cancel())) {
                button->Click();
                return true;
            }
        }
        return false;
    }

    TCustomForm& form_;
    bool pressedOnControl_ = false; // the buttons held were pressed on a control
    std::optional<QPoint> reported_; // where OnMouseMove last heard the pointer rest
};

TCustomForm::TCustomForm(std::string className)
    : TWinControl(new FormWidget(*this)), LayoutTarget(std::move(className), *this),
      window_(static_cast<FormWidget*>(Widget())), canvas_(std::make_unique<TCanvas>(window_))
{
    ApplyWindowFlags();
    SetColor(color_);
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::LoadLayout(const std::string& layoutPath)
{
    Loader(LayoutClasses(), *this, layoutPath).Load();
    ArrangeTabOrder();
}

void TCustomForm::LoadLayoutText(const std::string& layoutPath, const std::string& text)
{
    Loader(LayoutClasses(), *this, layoutPath).Apply(QByteArray::fromStdString(text));
    ArrangeTabOrder();
}

int TCustomForm::Left() const
{
    return window_->x();
}

int TCustomForm::Top() const
{
    return window_->y();
}

int TCustomForm::FrameWidth() const
{
    return window_->frameGeometry().width() - window_->width();
}

int TCustomForm::FrameHeight() const
{
    return window_->frameGeometry().height() - window_->height();
}

int TCustomForm::Width() const
{
    return window_->frameGeometry().width();
}

int TCustomForm::Height() const
{
    return window_->frameGeometry().height();
}

void TCustomForm::SetLeft(int value)
{
    window_->move(Placeable(value), window_->y());
}

void TCustomForm::SetTop(int value)
{
    window_->move(window_->x(), Placeable(value));
}

// An outer size set before the window manager has framed the window is kept, and the
// client area shrinks by the frame once it is known, so the window shows at that size.
// The frame is taken off in 64 bits: no value a file holds can overflow on the way.
void TCustomForm::SetWidth(int value)
{
    SetClientWidth(ClientFromOuter(value, FrameWidth()));
    if (!window_->isVisible() && FrameWidth() == 0)
        pendingWidth_ = value;
}

void TCustomForm::SetHeight(int value)
{
    SetClientHeight(ClientFromOuter(value, FrameHeight()));
    if (!window_->isVisible() && FrameHeight() == 0)
        pendingHeight_ = value;
}

void TCustomForm::ApplyFrame()
{
    if ((!pendingWidth_ && !pendingHeight_) || (FrameWidth() == 0 && FrameHeight() == 0))
        return;
    const int width = pendingWidth_ ? ClientFromOuter(*pendingWidth_, FrameWidth()) : window_->width();
    const int height = pendingHeight_ ? ClientFromOuter(*pendingHeight_, FrameHeight()) : window_->height();
    pendingWidth_.reset();
    pendingHeight_.reset();
    ResizeClient(width, height);
}

int TCustomForm::ClientWidth() const
{
    return window_->width();
}

int TCustomForm::ClientHeight() const
{
    return window_->height();
}

void TCustomForm::SetClientWidth(int value)
{
    pendingWidth_.reset();
    ResizeClient(value, window_->height());
}

void TCustomForm::SetClientHeight(int value)
{
    pendingHeight_.reset();
    ResizeClient(window_->width(), value);
}

// A single or dialog frame cannot be resized by the user: its size is fixed at whatever
// the program last set. The client area keeps at least one pixel a side: a window of no
// area is unmapped by the window system and would vanish from the screen for good.
void TCustomForm::ResizeClient(int width, int height)
{
    const QSize largest = LargestClientSize();
    const QSize size(std::clamp(width, 1, largest.width()), std::clamp(height, 1, largest.height()));
    if (borderStyle_ == bsSingle || borderStyle_ == bsDialog) {
        window_->setFixedSize(size);
    } else {
        window_->setMinimumSize(0, 0);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window_->resize(size);
    }
}

std::string TCustomForm::Caption() const
{
    return window_->windowTitle().toStdString();
}

void TCustomForm::SetCaption(const std::string& value)
{
    window_->setWindowTitle(QString::fromStdString(value));
}

void TCustomForm::SetBorderStyle(TBorderStyle value)
{
    borderStyle_ = value;
    ApplyWindowFlags();
    ResizeClient(window_->width(), window_->height());
}

void TCustomForm::SetBorderIcons(unsigned icons)
{
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TCustomForm::ApplyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        // Title-bar buttons are asked for one by one, so an empty set shows none.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderStyle_ == bsDialog)
            flags |= Qt::Dialog;
        if (borderIcons_ & biSystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((borderIcons_ & biSystemMenu) && (borderIcons_ & biMinimize) && borderStyle_ != bsDialog)
            flags |= Qt::WindowMinimizeButtonHint;
        if ((borderIcons_ & biSystemMenu) && (borderIcons_ & biMaximize) && borderStyle_ == bsSizeable)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    // Qt hides a window whose flags change; a shown window stays shown.
    const bool shown = window_->isVisible();
    window_->setWindowFlags(flags);
    if (shown)
        window_->show();
}

void TCustomForm::SetColor(TColor value)
{
    color_ = value;
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(value));
    window_->setPalette(palette);
}

void TCustomForm::SetCursor(int cursor)
{
    cursor_ = cursor;
    if (cursor == crNone)
        window_->setCursor(Qt::BlankCursor);
    else
        window_->unsetCursor();
}

void TCustomForm::ArrangeTabOrder()
{
    std::map<QWidget*, std::vector<TControl*>> byParent;
    for (const auto& component : Components()) {
        auto* control = dynamic_cast<TControl*>(component.get());
        if (control && control->TabOrder() >= 0)
            byParent[control->Widget()->parentWidget()].push_back(control);
    }
    for (auto& [parent, controls] : byParent) {
        std::stable_sort(controls.begin(), controls.end(),
                         [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
        for (std::size_t i = 1; i < controls.size(); ++i)
            QWidget::setTabOrder(controls[i - 1]->Widget(), controls[i]->Widget());
    }
}

void TCustomForm::Show()
{
    if (position_ == poScreenCenter && window_->screen()) {
        const QPoint centre = window_->screen()->availableGeometry().center();
        window_->move(centre.x() - Width() / 2, centre.y() - Height() / 2);
    }
    window_->show();
}

TModalResult TCustomForm::ShowModal()
{
    modalResult_ = mrNone;
    window_->setWindowModality(Qt::ApplicationModal);
    Show();
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec();
    modalLoop_ = nullptr;
    window_->setWindowModality(Qt::NonModal);
    return modalResult_;
}

void TCustomForm::SetModalResult(TModalResult value)
{
    modalResult_ = value;
    if (value != mrNone && modalLoop_)
        window_->close();
}

void TCustomForm::Close()
{
    window_->close();
}

void AddFormClasses(ClassTable& classes)
{
    classes["TForm"] = {"",
          {},
          {
              IntProperty("Left", &TCustomForm::SetLeft),
              IntProperty("Top", &TCustomForm::SetTop),
              ChoiceProperty("BorderStyle", &TCustomForm::SetBorderStyle, BorderStyleNames),
              FlagsProperty("BorderIcons", &TCustomForm::SetBorderIcons, BorderIconNames,
                            "ожидается список значков, например [\"biSystemMenu\"]"),
              IntProperty("Width", &TCustomForm::SetWidth),
              IntProperty("Height", &TCustomForm::SetHeight),
              IntProperty("ClientWidth", &TCustomForm::SetClientWidth),
              IntProperty("ClientHeight", &TCustomForm::SetClientHeight),
              TextProperty("Caption", &TCustomForm::SetCaption),
              ChoiceProperty("Position", &TCustomForm::SetPosition, PositionNames),
              ChoiceProperty("Color", &TCustomForm::SetColor, ColorNames),
              {"PopupMenu",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   const std::string name = l.String(v);
                   auto& form = static_cast<TCustomForm&>(c);
                   l.Later([&l, &form, name] {
                       auto* menu = dynamic_cast<TPopupMenu*>(l.Created(name));
                       if (!menu)
                           l.Fail("«" + name + "» не является всплывающим меню (TPopupMenu)");
                       form.SetPopupMenu(menu);
                   });
               }},
              {"OnKeyDown",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   static_cast<TCustomForm&>(c).OnKeyDown =
                       l.Handler<TKeyEvent>(v, "(TObject* Sender, Word& Key, TShiftState Shift)");
               }},
              {"OnMouseMove",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   static_cast<TCustomForm&>(c).OnMouseMove =
                       l.Handler<TMouseMoveEvent>(v, "(TObject* Sender, TShiftState Shift, int X, int Y)");
               }},
          },
          [](TComponent& form, TComponent& child) {
              if (auto* control = dynamic_cast<TControl*>(&child)) {
                  control->SetParent(&static_cast<TCustomForm&>(form));
                  return true;
              }
              // Timers, menus and dialogs belong to the window and show nowhere.
              return dynamic_cast<TNonVisualComponent*>(&child) != nullptr;
          }};
}
