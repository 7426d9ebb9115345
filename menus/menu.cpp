#include "menus/menu.h"

#include <span>

namespace {

template <class Item> std::shared_ptr<MenuItem> MakeItem() {
    return std::make_shared<Item>();
}

// One item of the tree. A nil parent puts the item on the bar; a nil
// shortcut leaves the item's shortcut unset.
struct MenuRow {
    std::shared_ptr<MenuItem> (*make)();
    const char* parent;
    const char* name;
    const char* text;
    const char* shortcut;
    bool autoEnabled;
    bool visible;
};

const MenuRow kUntitled0Rows[] = {
    {MakeItem<MenuItem>, nullptr, "UntitledMenu3", "", "", false, true},
};

const MenuRow kUntitled1Rows[] = {
    {MakeItem<MenuItem>, nullptr, "UntitledMenu2", "File", "", false, true},
    {MakeItem<MenuItem>, "UntitledMenu2", "FilePrint", "Print", "", false, true},
    {MakeItem<QuitMenuItem>, "UntitledMenu2", "FileQuit", "Quit", "Cmd+Q", true, true},
    {MakeItem<MenuItem>, "UntitledMenu2", "UntitledMenu8", "", "", false, true},
};

const MenuRow kUntitled2Rows[] = {
    {MakeItem<MenuItem>, nullptr, "UntitledMenu0", "Edit", "", false, true},
    {MakeItem<MenuItem>, "UntitledMenu0", "EditUndo", "Undo", "Cmd+Z", false, true},
    {MakeItem<MenuItem>, "UntitledMenu0", "UntitledMenu1", "-", nullptr, false, true},
    {MakeItem<MenuItem>, "UntitledMenu0", "EditCut", "Cut", "Cmd+X", false, true},
    {MakeItem<MenuItem>, "UntitledMenu0", "EditCopy", "Copy", "Cmd+C", false, true},
    {MakeItem<MenuItem>, "UntitledMenu0", "EditPaste", "Paste", "Cmd+V", false, true},
    {MakeItem<MenuItem>, "UntitledMenu0", "EditClear", "", "", false, true},
    {MakeItem<MenuItem>, "UntitledMenu0", "UntitledMenu7", "", "", false, true},
};

const MenuRow kUntitled3Rows[] = {
    {MakeItem<MenuItem>, nullptr, "WindowMenu", "Window", "", false, true},
    {MakeItem<MenuItem>, "WindowMenu", "ControlMenuItem", "Control", "", false, true},
    {MakeItem<MenuItem>, "WindowMenu", "AboutMenuItem", "About Velk", "", false, true},
    {MakeItem<MenuItem>, "WindowMenu", "UntitledMenu6", "", "", false, true},
    {MakeItem<AppleMenuItem>, "WindowMenu", "AboutVelk", "About Velk", "", false, true},
    {MakeItem<AppleMenuItem>, "WindowMenu", "UntitledMenu5", "", "", false, true},
};

const MenuRow kUntitled4Rows[] = {
    {MakeItem<MenuItem>, nullptr, "UntitledMenu4", "", "", false, true},
};

// Builds the rows in order. Each item's parent is looked up afresh on the
// bar, which holds it already: a menu comes before its items.
void BuildRows(MenuBar& bar, std::span<const MenuRow> rows) {
    for (const MenuRow& row : rows) {
        const std::shared_ptr<MenuItem> item = row.make();
        item->Constructor();
        item->SetName(row.name);
        item->SetAutoEnabled(row.autoEnabled);
        item->SetValue(row.text);
        item->SetVisible(row.visible);
        if (row.shortcut)
            item->SetShortcut(row.shortcut);
        if (row.parent)
            NotNil(bar.Child(row.parent)).AddMenu(item);
        else
            bar.AddMenu(item);
    }
}

std::shared_ptr<Menu> _implicitInstance;

} // namespace

const ClassRecord Menu::kClassRecord{"Menu", "MenuBar", {}};

void Menu::Constructor() {
    Untitled0();
    Untitled1();
    Untitled2();
    Untitled3();
    Untitled4();
}

void Menu::Untitled0() {
    BuildRows(*this, kUntitled0Rows);
}

void Menu::Untitled1() {
    BuildRows(*this, kUntitled1Rows);
}

void Menu::Untitled2() {
    BuildRows(*this, kUntitled2Rows);
}

void Menu::Untitled3() {
    BuildRows(*this, kUntitled3Rows);
}

void Menu::Untitled4() {
    BuildRows(*this, kUntitled4Rows);
}

namespace instance {

std::shared_ptr<::Menu> Menu() {
    if (!_implicitInstance) {
        // Kept only once it is whole: a failed build leaves nothing behind.
        const auto bar = std::make_shared<::Menu>();
        bar->Constructor();
        _implicitInstance = bar;
    }
    return _implicitInstance;
}

} // namespace instance
