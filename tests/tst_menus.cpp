#include "framework/application.h"
#include "framework/menuitem.h"
#include "framework/pushbutton.h"
#include "framework/runtime.h"
#include "framework/textfield.h"
#include "framework/window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>

namespace {

const Layout kMenuWndLayout = {
    {"Width", Integer{300}},
    {"Height", Integer{120}},
    {"Visible", Boolean{true}},
    {"MenuBarVisible", Boolean{true}},
};

const Layout kFldLayout = {
    {"Left", Integer{10}},
    {"Top", Integer{10}},
    {"Width", Integer{150}},
    {"Height", Integer{24}},
};

const Layout kBtnLayout = {
    {"Left", Integer{10}},   {"Top", Integer{50}},       {"Width", Integer{80}},
    {"Height", Integer{30}}, {"Caption", String{"Btn"}},
};

// A window that binds the "Bound" item and counts what reaches it.
class MenuWnd : public Window {
public:
    void Layout() override { SetProperties(*this, kMenuWndLayout); }

    void CreateControls() override {
        const auto field = New<TextField>();
        field->Constructor();
        AddControl("Fld", field);
        SetProperties(*field, kFldLayout);
        const auto button = New<PushButton>();
        button->Constructor();
        AddControl("Btn", button);
        SetProperties(*button, kBtnLayout);
    }

    void AddMenuHandlers(const std::shared_ptr<Window>& window) override {
        AddMenuHandler("Bound",
                       RuntimeCreateDelegate(&MenuWnd::Bound_Action,
                                             RuntimeCheckCast<MenuWnd>(window), "(  ) as Boolean"));
    }

    void Event_EnableMenuItems() override {
        ++enableMenuItemsRaised;
        if (disableBound)
            GetAppObject()->GetMenuBar()->_Lookup("Bound")->SetEnabled(false);
    }

    bool Bound_Action() {
        ++boundChoices;
        return true;
    }

    std::shared_ptr<TextField> Fld() const {
        return RuntimeCheckCast<TextField>(ControlByName("Fld"));
    }
    std::shared_ptr<PushButton> Btn() const {
        return RuntimeCheckCast<PushButton>(ControlByName("Btn"));
    }
    QMenuBar* Bar() const { return static_cast<QMainWindow*>(TopLevelWidget())->menuBar(); }

    int boundChoices = 0;
    int enableMenuItemsRaised = 0;
    bool disableBound = false;
};

class LeftWnd : public MenuWnd {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
};

const ClassRecord LeftWnd::kClassRecord{
    "LeftWnd", "Window", {"Layout", "CreateControls", "AddMenuHandlers", "EnableMenuItems"}};

// Implements EnableMenuItems in code but does not list it.
class RightWnd : public MenuWnd {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
};

const ClassRecord RightWnd::kClassRecord{
    "RightWnd", "Window", {"Layout", "CreateControls", "AddMenuHandlers"}};

template <class T = MenuItem>
std::shared_ptr<T> AddItem(MenuItem& menu, const std::string& name, const std::string& text,
                           const std::string& shortcut = "") {
    const auto item = std::make_shared<T>();
    item->Constructor();
    item->SetName(name);
    item->SetValue(text);
    item->SetShortcut(shortcut);
    menu.AddMenu(item);
    return item;
}

std::shared_ptr<MenuItem> Item(const std::string& name) {
    return NotNil(GetAppObject()->GetMenuBar())._Lookup(name);
}

// What the user sees of a menu: each shown entry's text, "-" for a separator.
QStringList Shown(const QList<QAction*>& actions) {
    QStringList shown;
    for (const QAction* action : actions)
        if (action->isVisible())
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return shown;
}

} // namespace

class MenusTest : public QObject {
    Q_OBJECT

    std::shared_ptr<LeftWnd> left_;
    std::shared_ptr<RightWnd> right_;

    void Activate(const std::shared_ptr<MenuWnd>& window) {
        window->Show();
        QVERIFY(QTest::qWaitForWindowActive(window->TopLevelWidget()));
        QCOMPARE(ActiveWindow(), window);
    }

private slots:
    void initTestCase() {
        RuntimeInit();
        RuntimeInitExternalClasses();
        const auto bar = std::make_shared<MenuBar>();
        const auto file = AddItem(*bar, "FileMenu", "File");
        AddItem<QuitMenuItem>(*file, "FileQuit", "Quit", "Cmd+Q");
        const auto edit = AddItem(*bar, "EditMenu", "Edit");
        AddItem(*edit, "EditUndo", "Undo", "Cmd+Z");
        AddItem(*edit, "EditSeparator", "-");
        AddItem(*edit, "EditCut", "Cut", "Cmd+X");
        AddItem(*edit, "EditCopy", "Copy", "Cmd+C");
        AddItem(*edit, "EditPaste", "Paste", "Cmd+V");
        AddItem(*edit, "EditClear", "");
        const auto tools = AddItem(*bar, "ToolsMenu", "Tools");
        AddItem(*tools, "Bound", "Bound", "Cmd+B");
        AddItem(*tools, "Unbound", "Unbound");
        const auto more = AddItem(*tools, "More", "More");
        AddItem(*more, "Deep", "Deep");
        AddItem<AppleMenuItem>(*tools, "AboutApp", "About");
        const auto application = std::make_shared<Application>();
        application->SetMenuBar(bar);
        RuntimeRegisterAppObject(application);

        left_ = std::make_shared<LeftWnd>();
        left_->Constructor();
        right_ = std::make_shared<RightWnd>();
        right_->Constructor();
    }

    void init() { Activate(left_); }

    void lookupFindsItemsAtAnyDepthAndChildOnlyDirectOnes() {
        const std::shared_ptr<MenuBar> bar = GetAppObject()->GetMenuBar();
        QVERIFY(bar->_Lookup("Deep"));
        QCOMPARE(bar->_Lookup("Deep")->Value(), std::string("Deep"));
        QVERIFY(!bar->Child("Deep"));
        QVERIFY(bar->Child("ToolsMenu"));
        QCOMPARE(bar->Child("ToolsMenu")->Child("More"), bar->_Lookup("More"));
        QVERIFY(!bar->_Lookup("NoSuchItem"));
    }

    void windowShowsEntriesAsTheirTextsSay() {
        QCOMPARE(
            Shown(left_->Bar()->actions()),
            (QStringList{QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("Tools")}));
        QMenu* edit = Item("EditMenu")->Action()->menu();
        QCOMPARE(Shown(edit->actions()), (QStringList{"Undo", "-", "Cut", "Copy", "Paste"}));
        // The application-menu item exists only on macOS.
        QCOMPARE(Shown(Item("ToolsMenu")->Action()->menu()->actions()),
                 (QStringList{"Bound", "Unbound", "More"}));

        Item("EditClear")->SetValue("Clear");
        Item("EditCut")->SetVisible(false);
        QCOMPARE(Shown(edit->actions()), (QStringList{"Undo", "-", "Copy", "Paste", "Clear"}));
        Item("EditClear")->SetValue("");
        Item("EditCut")->SetVisible(true);
    }

    void shortcutsUseCtrlOffMacOS() {
        QCOMPARE(Item("EditCut")->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
        QCOMPARE(Item("FileQuit")->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        left_->Btn()->SetFocus();
        QTest::keyClick(left_->Btn()->Widget(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(left_->boundChoices, 1);
        left_->boundChoices = 0;
    }

    void shortcutOtherThanCmdAndOneKeyRaises() {
        const auto bound = Item("Bound");
        for (const char* text : {"Ctrl+B", "Cmd+", "Cmd+BB", "B"})
            QVERIFY_THROWS_EXCEPTION(UnsupportedFormatException, bound->SetShortcut(text));
        QCOMPARE(bound->Shortcut(), std::string("Cmd+B"));
        QCOMPARE(bound->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    }

    void choiceGoesToTheActiveWindowsBinding() {
        Activate(right_);
        Item("Bound")->Action()->trigger();
        QCOMPARE(right_->boundChoices, 1);
        QCOMPARE(left_->boundChoices, 0);
        Activate(left_);
        Item("Bound")->Action()->trigger();
        QCOMPARE(left_->boundChoices, 1);
        QCOMPARE(right_->boundChoices, 1);
        left_->boundChoices = right_->boundChoices = 0;
    }

    // State: no window binds the Edit items; the focused field holds "hello".
    // Action: Cut, Paste and Undo are chosen in turn.
    // Expected: each does its standard editing on that field.
    void unboundEditItemsEditTheFocusedField() {
        const auto field = left_->Fld();
        auto* edit = static_cast<QLineEdit*>(field->Widget());
        field->SetText("hello");
        field->SetFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->selectAll();
        Item("EditCut")->Choose();
        QCOMPARE(field->Text(), std::string());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hello"));
        Item("EditPaste")->Choose();
        Item("EditPaste")->Choose();
        QCOMPARE(field->Text(), std::string("hellohello"));
        Item("EditUndo")->Choose();
        QCOMPARE(field->Text(), std::string("hello"));

        const int reported = UnhandledExceptionCount();
        Item("Unbound")->Choose();
        QCOMPARE(field->Text(), std::string("hello"));
        QCOMPARE(UnhandledExceptionCount(), reported);
    }

    void updateEnablesExactlyTheItemsSomethingWouldHandle() {
        Item("Unbound")->SetEnabled(true);
        Item("Bound")->SetEnabled(false);
        left_->Btn()->SetFocus();
        QTRY_VERIFY(left_->Btn()->Widget()->hasFocus());
        UpdateMenuItems(left_);
        QVERIFY(Item("Bound")->Enabled());
        QVERIFY(Item("FileQuit")->Enabled());
        QVERIFY(!Item("Unbound")->Enabled());
        QVERIFY(!Item("Deep")->Enabled());
        QVERIFY(!Item("EditCut")->Enabled()); // no text has the focus

        left_->Fld()->SetFocus();
        QTRY_VERIFY(left_->Fld()->Widget()->hasFocus());
        UpdateMenuItems(left_);
        QVERIFY(Item("EditCut")->Enabled());
        QVERIFY(Item("EditPaste")->Enabled());

        UpdateMenuItems(nullptr);
        QVERIFY(!Item("Bound")->Enabled());
    }

    void enableMenuItemsComesLastAndOnlyWhenListed() {
        left_->disableBound = true;
        right_->disableBound = true;
        const int leftRaised = left_->enableMenuItemsRaised;
        UpdateMenuItems(left_);
        QCOMPARE(left_->enableMenuItemsRaised, leftRaised + 1);
        QVERIFY(!Item("Bound")->Enabled());
        UpdateMenuItems(right_);
        QCOMPARE(right_->enableMenuItemsRaised, 0);
        QVERIFY(Item("Bound")->Enabled());
        left_->disableBound = right_->disableBound = false;
    }

    void activatingAWindowUpdatesTheItems() {
        Activate(right_);
        const int leftRaised = left_->enableMenuItemsRaised;
        Item("Bound")->SetEnabled(false);
        Item("Unbound")->SetEnabled(true);
        Activate(left_);
        QCOMPARE(left_->enableMenuItemsRaised, leftRaised + 1);
        QVERIFY(Item("Bound")->Enabled());
        QVERIFY(!Item("Unbound")->Enabled());
    }

    void openingAMenuUpdatesItsItems() {
        Item("Bound")->SetEnabled(false);
        Item("Unbound")->SetEnabled(true);
        QMenuBar* bar = left_->Bar();
        QAction* tools = Item("ToolsMenu")->Action();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools).center());
        QTRY_VERIFY(tools->menu()->isVisible());
        QVERIFY(Item("Bound")->Enabled());
        QVERIFY(!Item("Unbound")->Enabled());
        tools->menu()->close();
    }

    // Last: a quit lasts for the rest of the process.
    void quitItemEndsTheEventLoop() {
        bool timedOut = false;
        QTimer deadline;
        deadline.setSingleShot(true);
        connect(&deadline, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            QApplication::exit(1);
        });
        deadline.start(2000);
        QTimer::singleShot(0, qApp, [] { Item("FileQuit")->Choose(); });
        RuntimeRun();
        QVERIFY(!timedOut);
        QCOMPARE(RuntimeExit(), 0);
    }
};

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
