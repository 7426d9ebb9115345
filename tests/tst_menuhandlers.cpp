#include "testsupport.h"

#include "app/velk.h"
#include "menus/menuitems.h"
#include "windows/aboutwnd.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"
#include "windows/qwindow.h"

#include "framework/menuitem.h"
#include "framework/runtime.h"
#include "framework/textfield.h"
#include "framework/timer.h"
#include "framework/window.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

namespace {

MenuBar& InstalledBar() {
    return NotNil(NotNil(App()).GetMenuBar());
}

std::shared_ptr<MenuItem> ItemNamed(const std::string& name) {
    return InstalledBar()._Lookup(name);
}

// Opening a top-level menu is what makes the framework update the items.
void OpenMenu(const std::string& name) {
    QMenu* menu = NotNil(InstalledBar().Child(name)).Action()->menu();
    QVERIFY(menu);
    emit menu->aboutToShow();
}

std::vector<std::string> LeafItemNames(const MenuItem& menu) {
    std::vector<std::string> names;
    for (int i = 0; i < menu.Count(); ++i) {
        const std::shared_ptr<MenuItem> item = menu.Item(i);
        if (item->Count() == 0)
            names.push_back(item->Name());
        for (const std::string& name : LeafItemNames(*item))
            names.push_back(name);
    }
    return names;
}

int AboutWindowCount() {
    const auto windows = ImplicitWindows();
    return static_cast<int>(std::ranges::count_if(
        windows, [](const auto& window) { return window->Class().name == "AboutWnd.AboutWnd"; }));
}

Window* HeldAboutWindow() {
    return GetImplicitWindow("AboutWnd.AboutWnd").get();
}

QLineEdit* FieldWidget(const std::shared_ptr<TextField>& field) {
    return qobject_cast<QLineEdit*>(NotNil(field).Widget());
}

} // namespace

class MenuHandlersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        StartVelk();
        // Dismiss the splash as its timer would, then stop that timer: it
        // would otherwise hide a shown About window in the middle of a test.
        const auto about = instance::AboutWnd();
        NotNil(about->Timer1()).CallAction();
        about->Timer1()->SetRunMode(Timer::kRunModeOff);
    }

    // Every test starts with the calculator active, which hides the About window.
    void init() {
        // A test that stopped early may have left the About window on its
        // way to the front; let it get there before the calculator takes over.
        if (instance::AboutWnd()->Visible())
            QVERIFY(QTest::qWaitForWindowActive(instance::AboutWnd()->TopLevelWidget()));
        const auto calculator = instance::ControlWnd();
        calculator->Show();
        QVERIFY(QTest::qWaitForWindowActive(calculator->TopLevelWidget()));
        QVERIFY(!instance::AboutWnd()->Visible());
    }

    void cleanup() { QCOMPARE(UnhandledExceptionCount(), 0); }

    void updatingTheMenusDisablesControlAndEnablesBothAboutItems_data() {
        QTest::addColumn<bool>("byActivation");
        QTest::newRow("a menu opens") << false;
        QTest::newRow("the calculator becomes active") << true;
    }

    // State: Control enabled, both About items disabled.
    // Action: the framework updates the menus with the calculator active.
    // Expected: Control disabled, both About items enabled.
    void updatingTheMenusDisablesControlAndEnablesBothAboutItems() {
        QFETCH(bool, byActivation);
        QWidget elsewhere;
        if (byActivation) {
            elsewhere.show();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        }
        NotNil(ControlMenuItem()).SetEnabled(true);
        NotNil(AboutMenuItem()).SetEnabled(false);
        NotNil(AboutVelk()).SetEnabled(false);

        if (byActivation) {
            instance::ControlWnd()->Show();
            QVERIFY(QTest::qWaitForWindowActive(instance::ControlWnd()->TopLevelWidget()));
        } else {
            OpenMenu("WindowMenu");
        }

        QVERIFY(!ControlMenuItem()->Enabled());
        QVERIFY(AboutMenuItem()->Enabled());
        QVERIFY(AboutVelk()->Enabled());
    }

    void choosingAnAboutItemShowsTheOneAboutWindow_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("throughAction");
        QTest::newRow("About Velk item, menu action") << "AboutMenuItem" << true;
        QTest::newRow("About Velk item, chosen") << "AboutMenuItem" << false;
        QTest::newRow("application-menu item, menu action") << "AboutVelk" << true;
        QTest::newRow("application-menu item, chosen") << "AboutVelk" << false;
    }

    void choosingAnAboutItemShowsTheOneAboutWindow() {
        QFETCH(QString, item);
        QFETCH(bool, throughAction);
        Window* about = instance::AboutWnd().get();
        OpenMenu("WindowMenu");

        MenuItem& chosen = NotNil(ItemNamed(item.toStdString()));
        if (throughAction)
            chosen.Action()->trigger();
        else
            chosen.Choose();

        QVERIFY(about->Visible());
        QCOMPARE(HeldAboutWindow(), about);
        QCOMPARE(AboutWindowCount(), 1);
        QVERIFY(QTest::qWaitForWindowActive(about->TopLevelWidget()));
    }

    void aboutHandlersShowTheAboutWindowAndReturnFalse_data() {
        QTest::addColumn<QString>("handler");
        QTest::newRow("calculator, About Velk item") << "ControlWnd.AboutMenuItem";
        QTest::newRow("calculator, application-menu item") << "ControlWnd.AboutVelk";
        QTest::newRow("About window, About Velk item") << "AboutWnd.AboutMenuItem";
    }

    void aboutHandlersShowTheAboutWindowAndReturnFalse() {
        QFETCH(QString, handler);
        const auto calculator = instance::ControlWnd();
        const auto about = instance::AboutWnd();

        bool result = true;
        if (handler == "ControlWnd.AboutMenuItem")
            result = calculator->AboutMenuItem_Action();
        else if (handler == "ControlWnd.AboutVelk")
            result = calculator->AboutVelk_Action();
        else
            result = about->AboutMenuItem_Action();

        QCOMPARE(result, false);
        QVERIFY(about->Visible());
        QCOMPARE(AboutWindowCount(), 1);
        QVERIFY(QTest::qWaitForWindowActive(about->TopLevelWidget()));
    }

    // State: the About window shown, then closed with its close button.
    // Action: About Velk chosen from the calculator.
    // Expected: the About window the framework holds is on screen again.
    void aboutVelkShowsTheAboutWindowAgainAfterItWasClosed() {
        const auto calculator = instance::ControlWnd();
        QCOMPARE(calculator->AboutVelk_Action(), false);
        QVERIFY(QTest::qWaitForWindowActive(instance::AboutWnd()->TopLevelWidget()));
        instance::AboutWnd()->TopLevelWidget()->close();
        QVERIFY(!instance::AboutWnd()->Visible());
        calculator->Show();
        QVERIFY(QTest::qWaitForWindowActive(calculator->TopLevelWidget()));

        NotNil(AboutVelk()).Choose();

        QVERIFY(HeldAboutWindow());
        QVERIFY(HeldAboutWindow()->Visible());
        QCOMPARE(AboutWindowCount(), 1);
        QVERIFY(QTest::qWaitForWindowActive(HeldAboutWindow()->TopLevelWidget()));
    }

    // State: the About window brought back and active.
    // Expected: only About Velk of the Window menu reaches it; the
    // application-menu item has no binding there, so the menus disable it.
    void aboutWindowAnswersItsOwnAboutItemOnly() {
        const auto about = instance::AboutWnd();
        NotNil(AboutMenuItem()).Choose();
        QVERIFY(QTest::qWaitForWindowActive(about->TopLevelWidget()));
        QVERIFY(about->HasMenuHandler("AboutMenuItem"));
        QVERIFY(!about->HasMenuHandler("AboutVelk"));

        OpenMenu("WindowMenu");
        QVERIFY(AboutMenuItem()->Enabled());
        QVERIFY(!AboutVelk()->Enabled());
        QVERIFY(!ControlMenuItem()->Enabled());

        // The About window's own binding shows that very window again.
        about->Hide();
        QCOMPARE(about->HandleMenuItem("AboutMenuItem"), false);
        QVERIFY(about->Visible());
        QCOMPARE(HeldAboutWindow(), static_cast<Window*>(about.get()));
        QCOMPARE(AboutWindowCount(), 1);
        QVERIFY(QTest::qWaitForWindowActive(about->TopLevelWidget()));
    }

    void onlyTheAboutItemsAreBoundAnywhere() {
        const auto calculator = instance::ControlWnd();
        const auto about = instance::AboutWnd();
        const auto help = instance::Qwindow();
        for (const std::string& name : LeafItemNames(InstalledBar())) {
            const bool aboutItem = name == "AboutMenuItem" || name == "AboutVelk";
            QVERIFY2(calculator->HasMenuHandler(name) == aboutItem, name.c_str());
            QVERIFY2(about->HasMenuHandler(name) == (name == "AboutMenuItem"), name.c_str());
            QVERIFY2(!help->HasMenuHandler(name), name.c_str());
        }

        // With the help window active the menus offer none of the three.
        QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        OpenMenu("WindowMenu");
        QVERIFY(!ControlMenuItem()->Enabled());
        QVERIFY(!AboutMenuItem()->Enabled());
        QVERIFY(!AboutVelk()->Enabled());
        help->TopLevelWidget()->close();
        QVERIFY(!help->Visible());
    }

    void choosingPrintOrControlChangesNothing_data() {
        QTest::addColumn<QString>("item");
        QTest::newRow("Print") << "FilePrint";
        QTest::newRow("Control") << "ControlMenuItem";
    }

    // State: the calculator active with .86 typed for Test A.
    // Action: the item chosen, though the menus disable it.
    // Expected: no window, field or focus changes, and nothing is reported.
    void choosingPrintOrControlChangesNothing() {
        QFETCH(QString, item);
        const auto calculator = instance::ControlWnd();
        QLineEdit* testA = FieldWidget(calculator->AFld());
        QLineEdit* result = FieldWidget(calculator->DiffFld());
        calculator->AFld()->SetText("");
        testA->setFocus();
        QTest::keyClick(testA, Qt::Key_Home);
        QTest::keyClicks(testA, "86");
        QCOMPARE(testA->text(), QStringLiteral(".86"));
        OpenMenu("UntitledMenu2");
        MenuItem& chosen = NotNil(ItemNamed(item.toStdString()));
        QVERIFY(!chosen.Enabled());

        const std::vector<std::shared_ptr<Window>> windowsBefore = ImplicitWindows();
        std::vector<bool> shownBefore;
        for (const auto& window : windowsBefore)
            shownBefore.push_back(window->Visible());
        const QString resultBefore = result->text();
        const bool resultShownBefore = result->isVisible();

        chosen.Choose();
        QCoreApplication::processEvents();

        QCOMPARE(ImplicitWindows().size(), windowsBefore.size());
        for (std::size_t i = 0; i < windowsBefore.size(); ++i)
            QCOMPARE(windowsBefore[i]->Visible(), shownBefore[i]);
        QCOMPARE(testA->text(), QStringLiteral(".86"));
        QVERIFY(testA->hasFocus());
        QCOMPARE(result->text(), resultBefore);
        QCOMPARE(result->isVisible(), resultShownBefore);
        QVERIFY(calculator->TopLevelWidget()->isActiveWindow());
        calculator->AFld()->SetText("");
    }

    // The Edit items have no handler in Velk: the framework's standard
    // editing acts on the focused input.
    void editCopyAndPasteActOnTheFocusedInput() {
        const auto calculator = instance::ControlWnd();
        QLineEdit* testA = FieldWidget(calculator->AFld());
        QLineEdit* testB = FieldWidget(calculator->BFld());
        calculator->AFld()->SetText("");
        calculator->BFld()->SetText("");
        testA->setFocus();
        QTest::keyClick(testA, Qt::Key_Home);
        QTest::keyClicks(testA, "86");
        testA->selectAll();

        OpenMenu("UntitledMenu0");
        QVERIFY(NotNil(ItemNamed("EditCopy")).Enabled());
        QVERIFY(NotNil(ItemNamed("EditPaste")).Enabled());
        ItemNamed("EditCopy")->Action()->trigger();
        // Qt copies a masked field's unfilled places as blanks.
        QCOMPARE(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral(".86"));

        testB->setFocus();
        testB->setCursorPosition(0);
        ItemNamed("EditPaste")->Choose();
        QCOMPARE(testB->text(), QStringLiteral(".86"));
        QCOMPARE(testA->text(), QStringLiteral(".86"));

        // Away from a text input the Edit items have nothing to act on.
        NotNil(calculator->CalcBtn()).Widget()->setFocus();
        OpenMenu("UntitledMenu0");
        QVERIFY(!ItemNamed("EditCopy")->Enabled());
        QVERIFY(!ItemNamed("EditPaste")->Enabled());

        calculator->AFld()->SetText("");
        calculator->BFld()->SetText("");
    }

    void accessorsFindTheItemsInsideTheWindowMenu() {
        const std::shared_ptr<MenuItem> windowMenu = InstalledBar().Child("WindowMenu");
        QVERIFY(windowMenu);
        QVERIFY(AboutVelk() && AboutMenuItem() && ControlMenuItem());
        QCOMPARE(static_cast<MenuItem*>(AboutVelk().get()), windowMenu->Child("AboutVelk").get());
        QCOMPARE(AboutMenuItem().get(), windowMenu->Child("AboutMenuItem").get());
        QCOMPARE(ControlMenuItem().get(), windowMenu->Child("ControlMenuItem").get());
        // Both About items read "About Velk"; the name tells them apart.
        QVERIFY(static_cast<MenuItem*>(AboutVelk().get()) != AboutMenuItem().get());
        QVERIFY(!InstalledBar().Child("AboutVelk"));
#ifndef Q_OS_MACOS
        // Off macOS the application-menu item is hidden, yet it is there.
        QVERIFY(!AboutVelk()->Action()->isVisible());
#endif
        QVERIFY(!InstalledBar()._Lookup("NoSuchItem"));
    }

    // Choosing Quit would end the test's event loop: only the binding is checked.
    void quitIsBoundToCtrlQ() {
        const std::shared_ptr<MenuItem> quit = ItemNamed("FileQuit");
        QVERIFY(std::dynamic_pointer_cast<QuitMenuItem>(quit));
        QCOMPARE(quit->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

        auto* menuBar = qobject_cast<QMenuBar*>(
            static_cast<QMainWindow*>(instance::ControlWnd()->TopLevelWidget())->menuWidget());
        QVERIFY(menuBar);
        QAction* file = NotNil(InstalledBar().Child("UntitledMenu2")).Action();
        QVERIFY(menuBar->actions().contains(file));
        QVERIFY(file->menu()->actions().contains(quit->Action()));
        OpenMenu("UntitledMenu2");
        QVERIFY(quit->Enabled());
    }
};

QTEST_MAIN(MenuHandlersTest)
#include "tst_menuhandlers.moc"
