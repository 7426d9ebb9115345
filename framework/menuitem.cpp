#include "menuitem.h"

#include "application.h"
#include "qtconvert.h"
#include "runtime.h"
#include "textfield.h"
#include "window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyleOptionMenuItem>
#include <QTextEdit>

#include <algorithm>
#include <functional>
#include <set>

namespace {

const std::set<std::string> kEditingItemNames = {"EditUndo", "EditCut", "EditCopy", "EditPaste",
                                                 "EditClear"};

// A menu bar takes the focus for the keyboard (Alt), and an open menu takes it too.
bool IsMenu(const QWidget* widget) {
    return qobject_cast<const QMenuBar*>(widget) || qobject_cast<const QMenu*>(widget);
}

// The widget that had the focus before a menu took it.
QPointer<QWidget>& FocusBeforeMenus() {
    static QPointer<QWidget> widget;
    return widget;
}

// The control the Edit items act on: the focused one, also while a menu
// holds the focus.
QWidget* EditingTarget() {
    QWidget* focus = QApplication::focusWidget();
    return IsMenu(focus) ? FocusBeforeMenus().data() : focus;
}

// A password field copies nothing, and a masked one nothing without a digit.
bool HasSelection(QLineEdit& field) {
    return !TextField::CopiedText(field).isEmpty();
}

bool HasSelection(const QTextEdit& area) {
    return area.textCursor().hasSelection();
}

bool CanUndo(const QLineEdit& field) {
    return field.isUndoAvailable();
}

bool CanUndo(const QTextEdit& area) {
    return area.document()->isUndoAvailable();
}

// A masked field takes only a number that it can show.
bool CanPaste(QLineEdit& field) {
    return TextField::TakesPaste(field);
}

bool CanPaste(const QTextEdit&) {
    return !QGuiApplication::clipboard()->text().isEmpty();
}

void Copy(QLineEdit& field) {
    TextField::Copy(field);
}

void Copy(QTextEdit& area) {
    area.copy();
}

void Cut(QLineEdit& field) {
    TextField::Cut(field);
}

void Cut(QTextEdit& area) {
    area.cut();
}

void Paste(QLineEdit& field) {
    TextField::Paste(field);
}

void Paste(QTextEdit& area) {
    area.paste();
}

void DeleteSelection(QLineEdit& field) {
    field.del();
}

void DeleteSelection(QTextEdit& area) {
    area.textCursor().removeSelectedText();
}

// The standard editing action of the item on a text control, or none when it
// would do nothing there. A read-only control lets its text be copied only.
template <class Edit>
std::function<void()> EditingActionOn(Edit* edit, const std::string& itemName) {
    const bool editable = !edit->isReadOnly();
    const bool selected = HasSelection(*edit);
    if (itemName == "EditUndo" && editable && CanUndo(*edit))
        return [edit] { edit->undo(); };
    if (itemName == "EditCut" && editable && selected)
        return [edit] { Cut(*edit); };
    if (itemName == "EditCopy" && selected)
        return [edit] { Copy(*edit); };
    if (itemName == "EditPaste" && editable && CanPaste(*edit))
        return [edit] { Paste(*edit); };
    if (itemName == "EditClear" && editable && selected)
        return [edit] { DeleteSelection(*edit); };
    return nullptr;
}

std::function<void()> EditingAction(const std::string& itemName) {
    QWidget* target = EditingTarget();
    if (auto* field = qobject_cast<QLineEdit*>(target))
        return EditingActionOn(field, itemName);
    if (auto* area = qobject_cast<QTextEdit*>(target))
        return EditingActionOn(area, itemName);
    return nullptr;
}

void UpdateItems(const MenuItem& menu, const Window* window, bool editingItemsOnly) {
    for (int i = 0; i < menu.Count(); ++i) {
        const std::shared_ptr<MenuItem> item = menu.Item(i);
        if (item->Count() > 0)
            UpdateItems(*item, window, editingItemsOnly);
        else if (!editingItemsOnly || kEditingItemNames.contains(item->Name()))
            item->SetEnabled((window && window->HasMenuHandler(item->Name())) ||
                             item->HasFrameworkAction());
    }
}

void UpdateEditingItems() {
    const std::shared_ptr<Application> application = GetAppObject();
    if (application && application->GetMenuBar())
        UpdateItems(*application->GetMenuBar(), ActiveWindow().get(), true);
}

// Follows what the Edit items depend on: the focus, the focused control's
// selection and undo history, and the clipboard.
class EditingStateWatch : public QObject {
public:
    EditingStateWatch() : QObject(qApp) {
        qApp->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (IsMenu(now) && !IsMenu(old))
                FocusBeforeMenus() = old;
            Watch(EditingTarget());
            UpdateEditingItems();
        });
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &UpdateEditingItems);
    }

protected:
    // Alt gives the focus to the menu bar, and a line edit drops its
    // selection when it loses the focus to anything but a popup. The bar
    // leads to the Edit menu that acts on that selection: it counts as a popup.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusOut ||
            static_cast<QFocusEvent*>(event)->reason() != Qt::MenuBarFocusReason ||
            !qobject_cast<QLineEdit*>(watched))
            return false;
        QFocusEvent toPopup(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(watched, &toPopup);
        return true;
    }

private:
    void Watch(QWidget* target) {
        for (const QMetaObject::Connection& connection : connections_)
            disconnect(connection);
        connections_.clear();
        if (auto* field = qobject_cast<QLineEdit*>(target))
            connections_ = {connect(field, &QLineEdit::selectionChanged, this, &UpdateEditingItems),
                            connect(field, &QLineEdit::textChanged, this, &UpdateEditingItems)};
        else if (auto* area = qobject_cast<QTextEdit*>(target))
            connections_ = {connect(area, &QTextEdit::selectionChanged, this, &UpdateEditingItems),
                            connect(area, &QTextEdit::undoAvailable, this, &UpdateEditingItems)};
    }

    std::vector<QMetaObject::Connection> connections_;
};

void FollowEditingState() {
    static QPointer<EditingStateWatch> watch;
    if (!watch)
        watch = new EditingStateWatch();
}

// A bar that draws the title the keyboard is on, after Alt, as it draws
// the title of an open menu: Qt's own styles highlight a title only while
// its menu is open or pressed, and the user could not see that the bar
// has the keyboard.
class KeyboardMenuBar : public QMenuBar {
protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override {
        QMenuBar::initStyleOption(option, action);
        if (hasFocus() && action == activeAction())
            option->state |= QStyle::State_Selected | QStyle::State_Sunken;
    }

    void keyPressEvent(QKeyEvent* event) override {
        QMenuBar::keyPressEvent(event);
        // Qt gives the focus back to the control that had it before Alt; in
        // a window where none had it, the bar lets go of it itself.
        if (hasFocus() && !activeAction())
            clearFocus();
    }
};

// "Cmd+" and one key, with Cmd as Ctrl, which Qt reads as the Command key on macOS.
QKeySequence ToKeySequence(const std::string& shortcut) {
    if (shortcut.empty())
        return {};
    const std::string prefix = "Cmd+";
    if (shortcut.size() != prefix.size() + 1 || !shortcut.starts_with(prefix))
        throw UnsupportedFormatException("A shortcut is Cmd+ and one key: " + shortcut);
    return QKeySequence(QStringLiteral("Ctrl+") + QChar(shortcut.back()));
}

} // namespace

struct MenuItemPrivate {
    // The item's action in each window's bar.
    std::vector<QPointer<QAction>> actions;
    std::string name;
    std::string text;
    std::string shortcut;
    bool autoEnabled = false;
    bool visible = true;
    // Kept apart from the actions, which Qt reports disabled while hidden.
    bool enabled = true;
    std::vector<std::shared_ptr<MenuItem>> items;
};

const ClassRecord MenuItem::kClassRecord{"MenuItem", "Object", {}};
const ClassRecord MenuBar::kClassRecord{"MenuBar", "MenuItem", {}};
const ClassRecord QuitMenuItem::kClassRecord{"QuitMenuItem", "MenuItem", {}};
const ClassRecord AppleMenuItem::kClassRecord{"AppleMenuItem", "MenuItem", {}};

MenuItem::MenuItem() : d_(std::make_unique<MenuItemPrivate>()) {}

MenuItem::~MenuItem() {
    for (QAction* action : Actions()) {
        delete action->menu<QMenu*>();
        delete action;
    }
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
    for (QAction* action : Actions()) {
        ApplyText(*action);
        ApplyVisibility(*action);
    }
}

void MenuItem::ApplyText(QAction& action) const {
    // A separator is the line alone: the style would draw its text beside
    // the line, and a screen reader would read it out.
    const bool separator = d_->text == "-";
    const QString text = separator ? QString() : ToQString(d_->text);
    action.setSeparator(separator);
    action.setText(text);
    if (auto* menu = action.menu<QMenu*>())
        menu->setTitle(text);
}

bool MenuItem::Visible() const {
    return d_->visible;
}

void MenuItem::SetVisible(bool visible) {
    d_->visible = visible;
    for (QAction* action : Actions())
        ApplyVisibility(*action);
}

void MenuItem::ApplyVisibility(QAction& action) const {
    action.setVisible(d_->visible && !d_->text.empty() && ShownOnThisPlatform());
}

const std::string& MenuItem::Shortcut() const {
    return d_->shortcut;
}

void MenuItem::SetShortcut(const std::string& shortcut) {
    const QKeySequence keys = ToKeySequence(shortcut);
    d_->shortcut = shortcut;
    for (QAction* action : Actions())
        action->setShortcut(keys);
}

bool MenuItem::Enabled() const {
    return d_->enabled;
}

void MenuItem::SetEnabled(bool enabled) {
    d_->enabled = enabled;
    for (QAction* action : Actions())
        action->setEnabled(enabled);
}

void MenuItem::AddMenu(const std::shared_ptr<MenuItem>& item) {
    NotNil(item);
    d_->items.push_back(item);
    // Bars that show this menu already show the item too.
    for (QAction* action : Actions())
        if (auto* menu = action->menu<QMenu*>())
            menu->addAction(item->CreateAction(*static_cast<QMenuBar*>(action->parent())));
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

QAction* MenuItem::CreateAction(QMenuBar& bar) {
    std::erase_if(d_->actions, [](const QPointer<QAction>& action) { return !action; });
    auto* action = new QAction(&bar);
    SetMenuRole(*action);
    action->setShortcut(ToKeySequence(d_->shortcut));
    action->setEnabled(d_->enabled);
    // The bar may outlive the item; a choice then reaches nothing.
    QObject::connect(action, &QAction::triggered, action, [item = weak_from_this()] {
        if (const auto chosen = std::static_pointer_cast<MenuItem>(item.lock()))
            DispatchEvent([&] { chosen->Choose(); });
    });
    if (Count() > 0) {
        // The menu belongs to the bar, which a screen reader finds as its parent.
        auto* menu = new QMenu(&bar);
        action->setMenu(menu);
        QObject::connect(menu, &QMenu::aboutToShow, menu,
                         [] { DispatchEvent([] { UpdateMenuItems(ActiveWindow()); }); });
        for (const auto& item : d_->items)
            menu->addAction(item->CreateAction(bar));
    }
    ApplyText(*action);
    ApplyVisibility(*action);
    d_->actions.push_back(action);
    return action;
}

QAction* MenuItem::ActionIn(const Window& window) const {
    for (QAction* action : Actions())
        if (static_cast<QWidget*>(action->parent())->window() == window.TopLevelWidget())
            return action;
    return nullptr;
}

std::vector<QAction*> MenuItem::Actions() const {
    std::vector<QAction*> actions;
    for (const QPointer<QAction>& action : d_->actions)
        if (action)
            actions.push_back(action);
    return actions;
}

void MenuItem::SetMenuRole(QAction& action) const {
    // Qt on macOS would move items that merely look like About or Quit.
    action.setMenuRole(QAction::NoRole);
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

QMenuBar* MenuBar::Build() {
    FollowEditingState();
    auto* bar = new KeyboardMenuBar();
    for (int i = 0; i < Count(); ++i)
        bar->addAction(Item(i)->CreateAction(*bar));
    return bar;
}

void QuitMenuItem::SetMenuRole(QAction& action) const {
    action.setMenuRole(QAction::QuitRole);
}

bool QuitMenuItem::PerformFrameworkAction() {
    Quit(0);
    return true;
}

void AppleMenuItem::SetMenuRole(QAction& action) const {
    action.setMenuRole(QAction::AboutRole);
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
    UpdateItems(*application->GetMenuBar(), activeWindow.get(), false);
    if (activeWindow && activeWindow->Implements("EnableMenuItems"))
        activeWindow->Event_EnableMenuItems();
}
