// Popup menus and their entries.
#pragma once

#include "shell/Controls.h"

#include <memory>
#include <vector>

class QAction;
class QMenu;

class TMenuItem : public TComponent {
public:
    TMenuItem();
    ~TMenuItem() override;

    std::string Caption() const;
    void SetCaption(const std::string& value);

    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }

    // Picks the entry as a user's click on it would.
    void Click();

    QAction* Action() const { return action_.get(); }

    TNotifyEvent OnClick;

private:
    std::unique_ptr<QAction> action_;
    std::unique_ptr<QMenu> submenu_;
    std::vector<TMenuItem*> items_;
};

class TPopupMenu : public TNonVisualComponent {
public:
    TPopupMenu();
    ~TPopupMenu() override;

    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }

    // Opens the menu with its top-left corner at a screen position; it does not block.
    void Popup(int x, int y);

    QMenu* Menu() const { return menu_.get(); }

private:
    std::unique_ptr<QMenu> menu_;
    std::vector<TMenuItem*> items_;
};
