#pragma once

#include "object.h"

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenuBar;
class Window;
struct MenuItemPrivate;

// An item of the menu bar, or a menu holding items. Items are found by Name.
// Choosing one goes to the active window's binding for its name, else to
// the framework's own action for the item, else does nothing.
class MenuItem : public Object {
public:
    MenuItem();
    ~MenuItem() override;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    virtual void Constructor() {}

    const std::string& Name() const;
    void SetName(const std::string& name);
    bool AutoEnabled() const;
    void SetAutoEnabled(bool autoEnabled);
    // The text shown; "-" makes a separator and the empty text hides the item.
    const std::string& Value() const;
    void SetValue(const std::string& text);
    bool Visible() const;
    void SetVisible(bool visible);
    // "Cmd+" and a letter, or the empty text for none; Cmd is Ctrl off macOS.
    const std::string& Shortcut() const;
    void SetShortcut(const std::string& shortcut);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // Appends the item to this menu.
    void AddMenu(const std::shared_ptr<MenuItem>& item);
    // This menu's own item of that name, or nil.
    std::shared_ptr<MenuItem> Child(const std::string& name) const;
    // The item of that name at any depth below this one, or nil.
    std::shared_ptr<MenuItem> Lookup(const std::string& name) const;
    int Count() const;
    std::shared_ptr<MenuItem> Item(int index) const;

    // Framework side.
    // Makes the item's action for a window's bar, with a menu of its own
    // items' actions when it holds any. The bar owns them all.
    QAction* CreateAction(QMenuBar& bar);
    // The item's action in the window's bar, or nil.
    QAction* ActionIn(const Window& window) const;
    // Whether the framework acts on a choice of this item by itself.
    virtual bool HasFrameworkAction() const;
    // Chooses the item as the user would.
    void Choose();

protected:
    // Does the framework's own action; false when there is none.
    virtual bool PerformFrameworkAction();
    // Whether this platform shows items of the class.
    virtual bool ShownOnThisPlatform() const { return true; }
    // Gives a new action the role by which Qt on macOS places it.
    virtual void SetMenuRole(QAction& action) const;

private:
    std::vector<QAction*> Actions() const;
    void ApplyText(QAction& action) const;
    void ApplyVisibility(QAction& action) const;

    std::unique_ptr<MenuItemPrivate> d_;
};

// The bar across the top of a window, holding the top-level menus.
class MenuBar : public MenuItem {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    // Framework side: a new bar for a window, with actions of its own. Qt
    // keeps one accessible object per action, which would place every
    // window's menu titles in the bar that was asked about first.
    QMenuBar* Build();
};

// The item that quits the application.
class QuitMenuItem : public MenuItem {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    bool HasFrameworkAction() const override { return true; }

protected:
    bool PerformFrameworkAction() override;
    void SetMenuRole(QAction& action) const override;
};

// An item of the application menu, which only macOS has.
class AppleMenuItem : public MenuItem {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

protected:
    bool ShownOnThisPlatform() const override;
    void SetMenuRole(QAction& action) const override;
};

// Enables exactly the items that the window or the framework would handle,
// then raises the window's EnableMenuItems. The framework calls it before a
// menu opens and when a window becomes active; the Edit items it also keeps
// in step with the text control they act on all the while, so that their
// shortcuts act only when the items would.
void UpdateMenuItems(const std::shared_ptr<Window>& activeWindow);
