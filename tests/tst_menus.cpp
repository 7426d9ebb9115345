#include "testsupport.h"

#include "windows/qwindow.h"

#include "framework/textarea.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTextEdit>

namespace {

enum class Way { Mouse, Keyboard };

QMenuBar* BarOf(const Window& window) {
    return static_cast<QMainWindow*>(window.TopLevelWidget())->menuBar();
}

QAction* ShownAction(const QWidget& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->isVisible() && action->text() == text)
            return action;
    return nullptr;
}

// What a menu shows: its items' texts, "(off)" after those it shows disabled.
QString Shown(const QMenu& menu) {
    QStringList shown;
    for (const QAction* action : menu.actions())
        if (action->isVisible() && !action->isSeparator())
            shown << action->text() + (action->isEnabled() ? "" : " (off)");
    return shown.join(" | ");
}

// How many pixels differ between two grabs of one widget.
int DifferingPixels(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
}

QWidget* Focus(const Window& window) {
    return QApplication::focusWidget() ? QApplication::focusWidget() : window.TopLevelWidget();
}

// Opens the title's menu in the window's bar: a click on it, or Alt, Left, Right
// until on it, Down. None unless Alt lands on File and the title is drawn highlighted.
QMenu* OpenMenu(const Window& window, const QString& title, Way way) {
    QMenuBar* bar = BarOf(window);
    QAction* titleAction = ShownAction(*bar, title);
    if (way == Way::Mouse) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(titleAction).center());
    } else {
        const QImage plain = bar->grab().toImage();
        QTest::keyClick(Focus(window), Qt::Key_Alt);
        const bool onFile = bar->activeAction() == ShownAction(*bar, "File");
        QTest::keyClick(bar, Qt::Key_Left);
        for (int step = 0; step < 5 && bar->activeAction() != titleAction; ++step)
            QTest::keyClick(bar, Qt::Key_Right);
        const QRect place = bar->actionGeometry(titleAction);
        if (!onFile || bar->grab().toImage().copy(place) == plain.copy(place))
            return nullptr;
        QTest::keyClick(bar, Qt::Key_Down);
    }
    auto* menu = titleAction->menu<QMenu*>();
    return QTest::qWaitFor([menu] { return menu->isVisible(); }) ? menu : nullptr;
}

// Picks an item of the open menu: a click on it, or Down until it is
// highlighted, then Return.
void ChooseFrom(QMenu& menu, const QString& item, Way way) {
    QAction* action = ShownAction(menu, item);
    if (way == Way::Mouse)
        return QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
    for (int step = 0; step < 8 && menu.activeAction() != action; ++step)
        QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
}

void Choose(const Window& window, const QString& title, const QString& item, Way way) {
    QMenu* menu = OpenMenu(window, title, way);
    QVERIFY(menu);
    ChooseFrom(*menu, item, way);
}

// Escape until no menu is open and the bar has let go of the keyboard.
void CloseMenus() {
    while (QWidget* popup = QApplication::activePopupWidget())
        QTest::keyClick(popup, Qt::Key_Escape);
    if (auto* bar = qobject_cast<QMenuBar*>(QApplication::focusWidget()))
        QTest::keyClick(bar, Qt::Key_Escape);
}

void AddWayRows(const char* name, const std::shared_ptr<Window>& window, const QString& expected) {
    QTest::addRow("%s, by mouse", name) << window << Way::Mouse << expected;
    QTest::addRow("%s, by keyboard", name) << window << Way::Keyboard << expected;
}

} // namespace

Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(std::shared_ptr<Window>)

// The three windows' menu bars, driven by mouse and keyboard, and what a
// screen reader learns of them and of the windows.
class MenusTest : public QObject {
    Q_OBJECT

    std::shared_ptr<ControlWnd> calc_;
    std::shared_ptr<AboutWnd> about_;
    std::shared_ptr<Qwindow> help_;

    void Activate(Window& window) {
        CloseMenus();
        window.Show();
        QVERIFY(QTest::qWaitForWindowActive(window.TopLevelWidget()));
    }

    // Clear empties the inputs and gives Test A the focus.
    void ClearCalculator() {
        Activate(*calc_);
        QTest::mouseClick(NotNil(calc_->ClearBtn()).Widget(), Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        calc_ = StartVelkAtTheCalculator();
        about_ = instance::AboutWnd();
        // The help window cascades a title bar down from the calculator, dragged
        // partly past the screen's left edge, and opens on the screen.
        QWidget* calc = calc_->TopLevelWidget();
        const QPoint before = calc->pos();
        calc->move(-100, 100);
        help_ = instance::Qwindow();
        QVERIFY(QTest::qWaitForWindowActive(help_->TopLevelWidget()));
        QCOMPARE(help_->TopLevelWidget()->frameGeometry().topLeft(),
                 QPoint(0, 100 + QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight)));
        calc->move(before);
    }

    void cleanup() {
        CloseMenus();
        QVERIFY(!qobject_cast<QMenuBar*>(QApplication::focusWidget()));
        QCOMPARE(UnhandledExceptionCount(), 0);
    }

    // Runs first: Qt keeps one accessible object for each menu action, and
    // one shared by three bars would stay in the About window's.
    void menuTitlesAndItemsAreReportedWhereEachWindowShowsThem() {
        for (const auto& window :
             std::initializer_list<std::shared_ptr<Window>>{about_, calc_, help_}) {
            Activate(*window);
            QMenuBar* bar = BarOf(*window);
            QAccessibleInterface* barFace = QAccessible::queryAccessibleInterface(bar);
            QAccessibleInterface* edit = nullptr;
            for (int i = 0; i < barFace->childCount(); ++i) {
                QAccessibleInterface* title = barFace->child(i);
                if (title->state().invisible)
                    continue;
                QCOMPARE(title->parent()->object(), bar);
                QVERIFY(barFace->rect().contains(title->rect()));
                const QPoint middle = title->rect().center();
                QCOMPARE(barFace->childAt(middle.x(), middle.y()), title);
                if (title->text(QAccessible::Name) == "Edit")
                    edit = title;
            }
            QVERIFY(edit);
            edit->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu && menu->isVisible());
            QVERIFY((menu->pos() - edit->rect().bottomLeft()).manhattanLength() <= 4);
            QAccessibleInterface* menuFace = QAccessible::queryAccessibleInterface(menu);
            QCOMPARE(menuFace->parent(), edit);
            QStringList names;
            for (int i = 0; i < menuFace->childCount(); ++i) {
                QAccessibleInterface* item = menuFace->child(i);
                QCOMPARE(item->parent()->object(), menu);
                if (!item->state().invisible) {
                    QVERIFY(menuFace->rect().contains(item->rect()));
                    names << item->text(QAccessible::Name);
                }
            }
            QCOMPARE(names, (QStringList{"Undo", "", "Cut", "Copy", "Paste"}));
            CloseMenus();
        }
    }

    void windowMenuShowsTheAboutWindowFromWhereItIsEnabled_data() {
        QTest::addColumn<std::shared_ptr<Window>>("window");
        QTest::addColumn<Way>("way");
        QTest::addColumn<QString>("shown");
        AddWayRows("calculator", calc_, "Control (off) | About Velk");
        AddWayRows("about", about_, "Control (off) | About Velk");
        AddWayRows("help", help_, "Control (off) | About Velk (off)");
    }

    // State: the window active, the About window hidden unless it is the one.
    // Action: Window > About Velk where it is enabled.
    // Expected: the one About window active.
    void windowMenuShowsTheAboutWindowFromWhereItIsEnabled() {
        QFETCH(std::shared_ptr<Window>, window);
        QFETCH(Way, way);
        QFETCH(QString, shown);
        Activate(*window);
        QMenu* menu = OpenMenu(*window, "Window", way);
        QVERIFY(menu);
        QCOMPARE(Shown(*menu), shown);
        if (!ShownAction(*menu, "About Velk")->isEnabled())
            return;
        ChooseFrom(*menu, "About Velk", way);
        QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
        QCOMPARE(GetImplicitWindow("AboutWnd.AboutWnd"), std::static_pointer_cast<Window>(about_));
        // The calculator's twin item, which only macOS shows, shows it too.
        Activate(*calc_);
        QCOMPARE(calc_->HandleMenuItem("AboutVelk"), false);
        QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
    }

    void editItemsFollowTheFocusedControl_data() {
        QTest::addColumn<std::shared_ptr<Window>>("window");
        QTest::addColumn<Way>("way");
        QTest::addColumn<QString>("shown");
        AddWayRows("empty input", calc_, "Undo (off) | Cut (off) | Copy (off) | Paste (off)");
        AddWayRows("typed input", calc_, "Undo | Cut (off) | Copy (off) | Paste");
        AddWayRows("selected input", calc_, "Undo | Cut | Copy | Paste (off)");
        AddWayRows("selected result", calc_, "Undo (off) | Cut (off) | Copy | Paste (off)");
        AddWayRows("selected help", help_, "Undo (off) | Cut | Copy | Paste");
    }

    // State: as the row says; the clipboard holds 1.25, too large for an input.
    // Action: the Edit menu opened.
    // Expected: on, as the shortcuts see them and in the open menu, what would act.
    void editItemsFollowTheFocusedControl() {
        QFETCH(std::shared_ptr<Window>, window);
        QFETCH(Way, way);
        QFETCH(QString, shown);
        const QString row = QTest::currentDataTag();
        ClearCalculator();
        QApplication::clipboard()->setText("1.25");
        if (row.contains("input") || row.contains("result"))
            QTest::keyClicks(Focus(*calc_), row.startsWith("empty") ? "" : "86");
        if (row.startsWith("typed")) {
            QApplication::clipboard()->setText(".5");
        } else if (row.startsWith("selected input")) {
            QTest::keyClick(Focus(*calc_), Qt::Key_Home, Qt::ShiftModifier);
        } else if (row.startsWith("selected result")) {
            QTest::keyClick(Focus(*calc_), Qt::Key_Tab);
            QTest::keyClicks(Focus(*calc_), "40");
            QTest::keyClick(Focus(*calc_), Qt::Key_Return);
            QTest::mouseDClick(FieldEdit(calc_->DiffFld()), Qt::LeftButton);
            QApplication::clipboard()->setText("5");
        } else if (row.startsWith("selected help")) {
            Activate(*help_);
            QTest::keyClick(Focus(*help_), Qt::Key_A, Qt::ControlModifier);
            QApplication::clipboard()->setText("5");
        }
        QMenu* edit = ShownAction(*BarOf(*window), "Edit")->menu<QMenu*>();
        QCOMPARE(Shown(*edit), shown);
        QVERIFY(OpenMenu(*window, "Edit", way));
        QCOMPARE(Shown(*edit), shown);
    }

    // State: .86 typed for Test A and selected.
    // Action: by keyboard, Copy and Cut, then Paste and Undo in Test B.
    // Expected: each acts on the input that had the focus.
    void editItemsChosenByKeyboardActOnTheFocusedInput() {
        ClearCalculator();
        QTest::keyClicks(Focus(*calc_), "86");
        QTest::keyClick(Focus(*calc_), Qt::Key_Home, Qt::ShiftModifier);
        Choose(*calc_, "Edit", "Copy", Way::Keyboard);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral(".86"));
        Choose(*calc_, "Edit", "Cut", Way::Keyboard);
        QCOMPARE(FieldEdit(calc_->AFld())->text(), QStringLiteral("."));
        QTest::keyClick(Focus(*calc_), Qt::Key_Tab);
        Choose(*calc_, "Edit", "Paste", Way::Keyboard);
        QCOMPARE(FieldEdit(calc_->BFld())->text(), QStringLiteral(".86"));
        Choose(*calc_, "Edit", "Undo", Way::Keyboard);
        QCOMPARE(FieldEdit(calc_->BFld())->text(), QStringLiteral("."));
    }

    // State: .86 and .4 calculated. Action: each caption clicked, double-clicked or focused by a
    // screen reader. Expected: its field is read by its name and gets the keyboard unless it takes
    // no typing. A screen reader also names the windows and the help text, and presses "?".
    void captionsNameTheirFieldsAndGiveThemTheKeyboard() {
        auto face = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); };
        ClearCalculator();
        for (const auto key : {Qt::Key_8, Qt::Key_6, Qt::Key_Tab, Qt::Key_4, Qt::Key_Return})
            QTest::keyClick(Focus(*calc_), key);
        for (const QString way : {"click", "double-click", "focus"})
            for (const auto& [caption, field, name] :
                 {std::tuple{calc_->TextField1(), calc_->AFld(), "Reliability of Test A"},
                  {calc_->MaxFld(), calc_->DiffFld(), "Maximum Validity"},
                  {calc_->TextField2(), calc_->BFld(), "Reliability of Test B"}}) {
                QLineEdit* shown = FieldEdit(caption);
                QLineEdit* named = FieldEdit(field);
                QCOMPARE(face(named)->text(QAccessible::Name), QString(name));
                QVERIFY(!face(shown)->state().focusable);
                QWidget* typedInto = named->isReadOnly() ? QApplication::focusWidget() : named;
                if (way == "click")
                    QTest::mouseClick(shown, Qt::LeftButton);
                else if (way == "double-click")
                    QTest::mouseDClick(shown, Qt::LeftButton);
                else
                    face(shown)->actionInterface()->doAction(
                        QAccessibleActionInterface::setFocusAction());
                QCOMPARE(QApplication::focusWidget(), typedInto);
            }
        QCOMPARE(face(about_->TopLevelWidget())->text(QAccessible::Name), "Velk");
        QCOMPARE(face(help_->TopLevelWidget())->text(QAccessible::Name), "Formula");
        QCOMPARE(face(NotNil(help_->StaticText1()).Widget())->text(QAccessible::Name), "Formula");

        help_->Hide();
        Activate(*calc_);
        const QString press = QAccessibleActionInterface::pressAction();
        face(NotNil(calc_->QBtn()).Widget())->actionInterface()->doAction(press);
        QVERIFY(help_->Visible());
    }

    // State: the help text clicked into, then all of it selected.
    // Action: the calculator activated, then the help window again.
    // Expected: the highlight goes with the focus and comes back with it.
    void helpTextHidesItsSelectionWhileItHasNoFocus() {
        Activate(*help_);
        QWidget* text = qobject_cast<QTextEdit*>(NotNil(help_->StaticText1()).Widget())->viewport();
        QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(5, 5));
        Activate(*calc_);
        const QImage unselected = text->grab().toImage();
        Activate(*help_);
        QTest::keyClick(Focus(*help_), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(text->grab().toImage() != unselected);
        Activate(*calc_);
        // A glyph at the edge of the hidden selection may lose an
        // anti-aliased pixel; a selection on show changes thousands.
        QVERIFY(DifferingPixels(text->grab().toImage(), unselected) <= 4);
        Activate(*help_);
        QVERIFY(text->grab().toImage() != unselected);
    }
};

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
