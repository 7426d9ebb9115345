#pragma once

#include "object.h"

#include <memory>
#include <string>
#include <vector>

class QAction;
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
    QAction* Action() const;
    // Whether the framework acts on a choice of this item by itself.
    virtual bool HasFrameworkAction() const;
    // Chooses the item as the user would.
    void Choose();

protected:
    // Does the framework's own action; false when there is none.
    virtual bool PerformFrameworkAction();
    // Whether this platform shows items of the class.
    virtual bool ShownOnThisPlatform() const { return true; }
    void ApplyVisibility();

private:
    std::unique_ptr<MenuItemPrivate> d_;
};

// The bar across the top of a window, holding the top-level menus.
class MenuBar : public MenuItem {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    // Framework side: the top-level menus' actions, for a window's bar.
    std::vector<QAction*> TopLevelActions() const;
};

// The item that quits the application.
class QuitMenuItem : public MenuItem {
public:
    QuitMenuItem();

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    bool HasFrameworkAction() const override { return true; }

protected:
    bool PerformFrameworkAction() override;
};

// An item of the application menu, which only macOS has.
class AppleMenuItem : public MenuItem {
public:
    AppleMenuItem();

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

protected:
    bool ShownOnThisPlatform() const override;
};

// Enables exactly the items that the window or the framework would handle,
// then raises the window's EnableMenuItems. The framework calls it before a
// menu opens and when a window becomes active.
void UpdateMenuItems(const std::shared_ptr<Window>& activeWindow);
