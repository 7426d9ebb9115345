#include "menuitem.h"

#include "application.h"
#include "qtconvert.h"
#include "qtobjects.h"
#include "runtime.h"
#include "textfield.h"
#include "window.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTextEdit>

#include <algorithm>
#include <functional>
#include <map>

namespace {

// The standard editing actions, by the names the Edit items carry.
const std::map<std::string, void (*)(QLineEdit&)> kLineEditActions = {
    {"EditUndo", [](QLineEdit& field) { field.undo(); }},
    {"EditCut", [](QLineEdit& field) { field.cut(); }},
    {"EditCopy", [](QLineEdit& field) { field.copy(); }},
    {"EditPaste", [](QLineEdit& field) { TextField::Paste(field); }},
    {"EditClear", [](QLineEdit& field) { field.del(); }},
};

const std::map<std::string, void (*)(QTextEdit&)> kTextEditActions = {
    {"EditUndo", [](QTextEdit& area) { area.undo(); }},
    {"EditCut", [](QTextEdit& area) { area.cut(); }},
    {"EditCopy", [](QTextEdit& area) { area.copy(); }},
    {"EditPaste", [](QTextEdit& area) { area.paste(); }},
    {"EditClear", [](QTextEdit& area) { area.textCursor().removeSelectedText(); }},
};

// The standard editing action of the item on the focused text control, or
// none. A read-only field or area lets its text be copied, not changed.
std::function<void()> EditingAction(const std::string& itemName) {
    QWidget* focus = QApplication::focusWidget();
    auto allowed = [&](bool readOnly) { return !readOnly || itemName == "EditCopy"; };
    if (auto* field = qobject_cast<QLineEdit*>(focus);
        field && kLineEditActions.contains(itemName) && allowed(field->isReadOnly()))
        return [field, action = kLineEditActions.at(itemName)] { action(*field); };
    if (auto* area = qobject_cast<QTextEdit*>(focus);
        area && kTextEditActions.contains(itemName) && allowed(area->isReadOnly()))
        return [area, action = kTextEditActions.at(itemName)] { action(*area); };
    return nullptr;
}

void UpdateItems(const MenuItem& menu, const Window* window) {
    for (int i = 0; i < menu.Count(); ++i) {
        const std::shared_ptr<MenuItem> item = menu.Item(i);
        if (item->Count() > 0) {
            UpdateItems(*item, window);
            continue;
        }
        item->SetEnabled((window && window->HasMenuHandler(item->Name())) ||
                         item->HasFrameworkAction());
    }
}

} // namespace

struct MenuItemPrivate {
    QPointer<QAction> action;
    QPointer<QMenu> menu;
    std::string name;
    std::string text;
    std::string shortcut;
    bool autoEnabled = false;
    bool visible = true;
    // Kept apart from the action, which Qt reports disabled while it is hidden.
    bool enabled = true;
    std::vector<std::shared_ptr<MenuItem>> items;
};

const ClassRecord MenuItem::kClassRecord{"MenuItem", "Object", {}};
const ClassRecord MenuBar::kClassRecord{"MenuBar", "MenuItem", {}};
const ClassRecord QuitMenuItem::kClassRecord{"QuitMenuItem", "MenuItem", {}};
const ClassRecord AppleMenuItem::kClassRecord{"AppleMenuItem", "MenuItem", {}};

MenuItem::MenuItem() : d_(std::make_unique<MenuItemPrivate>()) {
    d_->action = new QAction(QtObjectRoot());
    // Qt on macOS would move items that merely look like About or Quit.
    d_->action->setMenuRole(QAction::NoRole);
    QObject::connect(d_->action, &QAction::triggered, d_->action, [this] {
        const auto keepAlive = shared_from_this();
        DispatchEvent([this] { Choose(); });
    });
    ApplyVisibility();
}

MenuItem::~MenuItem() {
    delete d_->menu.data();
    delete d_->action.data();
}

const std::string& MenuItem::Name() const {
    return d_->name;
}

void MenuItem::SetName(const std::string& name) {
    d_->name = name;
}

bool MenuItem::AutoEnabled() const {
    return d_->autoEnabled;
}

void MenuItem::SetAutoEnabled(bool autoEnabled) {
    d_->autoEnabled = autoEnabled;
}

const std::string& MenuItem::Value() const {
    return d_->text;
}

void MenuItem::SetValue(const std::string& text) {
    d_->text = text;
    d_->action->setText(ToQString(text));
    d_->action->setSeparator(text == "-");
    if (d_->menu)
        d_->menu->setTitle(ToQString(text));
    ApplyVisibility();
}

bool MenuItem::Visible() const {
    return d_->visible;
}

void MenuItem::SetVisible(bool visible) {
    d_->visible = visible;
    ApplyVisibility();
}

void MenuItem::ApplyVisibility() {
    d_->action->setVisible(d_->visible && !d_->text.empty() && ShownOnThisPlatform());
}

const std::string& MenuItem::Shortcut() const {
    return d_->shortcut;
}

void MenuItem::SetShortcut(const std::string& shortcut) {
    QKeySequence keys;
    if (!shortcut.empty()) {
        const std::string prefix = "Cmd+";
        if (shortcut.size() != prefix.size() + 1 || !shortcut.starts_with(prefix))
            throw UnsupportedFormatException("A shortcut is Cmd+ and one key: " + shortcut);
        // Qt reads Ctrl as the Command key on macOS.
        keys = QKeySequence(QStringLiteral("Ctrl+") + QChar(shortcut.back()));
    }
    d_->shortcut = shortcut;
    d_->action->setShortcut(keys);
}

bool MenuItem::Enabled() const {
    return d_->enabled;
}

void MenuItem::SetEnabled(bool enabled) {
    d_->enabled = enabled;
    d_->action->setEnabled(enabled);
}

void MenuItem::AddMenu(const std::shared_ptr<MenuItem>& item) {
    NotNil(item);
    if (!d_->menu) {
        d_->menu = new QMenu();
        d_->menu->setTitle(ToQString(d_->text));
        d_->action->setMenu(d_->menu);
        QObject::connect(d_->menu, &QMenu::aboutToShow, d_->menu,
                         [] { DispatchEvent([] { UpdateMenuItems(ActiveWindow()); }); });
    }
    d_->menu->addAction(item->Action());
    d_->items.push_back(item);
}

std::shared_ptr<MenuItem> MenuItem::Child(const std::string& name) const {
    const auto found = std::ranges::find(d_->items, name, &MenuItem::Name);
    return found == d_->items.end() ? nullptr : *found;
}

std::shared_ptr<MenuItem> MenuItem::Lookup(const std::string& name) const {
    for (const auto& item : d_->items) {
        if (item->Name() == name)
            return item;
        if (auto found = item->Lookup(name))
            return found;
    }
    return nullptr;
}

int MenuItem::Count() const {
    return static_cast<int>(d_->items.size());
}

std::shared_ptr<MenuItem> MenuItem::Item(int index) const {
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("No menu item at index " + std::to_string(index));
    return d_->items[index];
}

QAction* MenuItem::Action() const {
    return d_->action;
}

bool MenuItem::HasFrameworkAction() const {
    return EditingAction(Name()) != nullptr;
}

void MenuItem::Choose() {
    const std::shared_ptr<Window> window = ActiveWindow();
    if (window && window->HandleMenuItem(Name()))
        return;
    PerformFrameworkAction();
}

bool MenuItem::PerformFrameworkAction() {
    const std::function<void()> action = EditingAction(Name());
    if (action)
        action();
    return action != nullptr;
}

std::vector<QAction*> MenuBar::TopLevelActions() const {
    std::vector<QAction*> actions;
    for (int i = 0; i < Count(); ++i)
        actions.push_back(Item(i)->Action());
    return actions;
}

QuitMenuItem::QuitMenuItem() {
    Action()->setMenuRole(QAction::QuitRole);
}

bool QuitMenuItem::PerformFrameworkAction() {
    Quit(0);
    return true;
}

AppleMenuItem::AppleMenuItem() {
    Action()->setMenuRole(QAction::AboutRole);
    ApplyVisibility();
}

bool AppleMenuItem::ShownOnThisPlatform() const {
#ifdef Q_OS_MACOS
    return true;
#else
    return false;
#endif
}

void UpdateMenuItems(const std::shared_ptr<Window>& activeWindow) {
    const std::shared_ptr<Application> application = GetAppObject();
    if (!application || !application->GetMenuBar())
        return;
    UpdateItems(*application->GetMenuBar(), activeWindow.get());
    if (activeWindow && activeWindow->Implements("EnableMenuItems"))
        activeWindow->Event_EnableMenuItems();
}
