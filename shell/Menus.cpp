// Menus over QMenu and QAction, and their part of the layout's class table.
#include "shell/Menus.h"

#include "shell/Layout.h"

#include <QAction>
#include <QMenu>

namespace {

// A menu that leaves double clicks unused. Qt follows the second of two quick clicks at one
// spot with a double click made of that same press. A right click soon after another (the
// menu closed by the keyboard in between) opens the window's menu on its press, and the
// double click then reaches the menu just opened under the pointer, which took it for a
// press outside itself and closed at once. A double click inside a menu has reached it as
// a press already, so nothing is lost.
class SingleClickMenu : public QMenu {
protected:
    void mouseDoubleClickEvent(QMouseEvent*) override {}
};

// A menu and an entry with a submenu hold entries, and nothing else.
template <class Menu>
bool TakeItems(TComponent& holder, TComponent& child)
{
    auto* item = dynamic_cast<TMenuItem*>(&child);
    if (item)
        static_cast<Menu&>(holder).Add(item);
    return item != nullptr;
}

} // namespace

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
        submenu_ = std::make_unique<SingleClickMenu>();
        action_->setMenu(submenu_.get());
    }
    submenu_->addAction(item->Action());
    items_.push_back(item);
}

void TMenuItem::Click()
{
    action_->trigger();
}

TPopupMenu::TPopupMenu() : menu_(std::make_unique<SingleClickMenu>()) {}

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

void AddMenuClasses(ClassTable& classes)
{
    classes["TPopupMenu"] = {"TNonVisualComponent",
                             [] { return std::make_unique<TPopupMenu>(); },
                             {},
                             TakeItems<TPopupMenu>};
    classes["TMenuItem"] = {"",
                            [] { return std::make_unique<TMenuItem>(); },
                            {
                                TextProperty("Caption", &TMenuItem::SetCaption),
                                NotifyProperty("OnClick", &TMenuItem::OnClick),
                            },
                            TakeItems<TMenuItem>};
}
