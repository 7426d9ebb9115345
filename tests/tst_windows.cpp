#include "framework/application.h"
#include "framework/menuitem.h"
#include "framework/pushbutton.h"
#include "framework/runtime.h"
#include "framework/textfield.h"
#include "framework/weakref.h"
#include "framework/window.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const Layout kProbeLayout = {
    {"Width", Integer{320}},           {"Height", Integer{200}},
    {"MinimumWidth", Integer{64}},     {"MinimumHeight", Integer{64}},
    {"Title", String{"Probe"}},        {"Resizeable", Boolean{true}},
    {"Visible", Boolean{true}},        {"MenuBarVisible", Boolean{true}},
    {"HasCloseButton", Boolean{true}},
};

const Layout kPinnedBtnLayout = {
    {"Left", Integer{10}},         {"Top", Integer{10}},        {"Width", Integer{80}},
    {"Height", Integer{30}},       {"LockLeft", Boolean{true}}, {"LockTop", Boolean{true}},
    {"Caption", String{"Pinned"}},
};

const Layout kShiftBtnLayout = {
    {"Left", Integer{230}},       {"Top", Integer{160}},        {"Width", Integer{80}},
    {"Height", Integer{30}},      {"LockRight", Boolean{true}}, {"LockBottom", Boolean{true}},
    {"Caption", String{"Shift"}},
};

const Layout kWideFldLayout = {
    {"Left", Integer{10}},        {"Top", Integer{60}},        {"Width", Integer{300}},
    {"Height", Integer{24}},      {"LockLeft", Boolean{true}}, {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},
};

const Layout kHiddenLayout = {
    {"Width", Integer{150}},
    {"Height", Integer{90}},
    {"Visible", Boolean{false}},
    {"MenuBarVisible", Boolean{false}},
};

template <class T>
std::shared_ptr<T> AddNew(Window& window, const std::string& name, const Layout& layout) {
    const std::shared_ptr<T> control = window.New<T>();
    control->Constructor();
    window.AddControl(name, control);
    SetProperties(*control, layout);
    return control;
}

// A window that records every event the framework raises on it.
class ProbeWnd : public Window {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void Layout() override {
        events.push_back("Layout");
        SetProperties(*this, kProbeLayout);
    }

    void CreateControls() override {
        events.push_back("CreateControls");
        const auto self = RuntimeCheckCast<ProbeWnd>(shared_from_this());
        AddNew<PushButton>(*this, "PinnedBtn", kPinnedBtnLayout);
        AddNew<PushButton>(*this, "ShiftBtn", kShiftBtnLayout);
        RuntimeAddEventHandler(
            ControlByName("ShiftBtn"), PushButton::kActionEvent,
            RuntimeCreateDelegate(&ProbeWnd::ShiftBtn_Action, self, "( PushButton )"));
        AddNew<TextField>(*this, "WideFld", kWideFldLayout);
    }

    void AddMenuHandlers(const std::shared_ptr<Window>& window) override {
        events.push_back("AddMenuHandlers");
        AddMenuHandler("ProbeItem", RuntimeCreateDelegate(&ProbeWnd::ProbeItem_Action,
                                                          RuntimeCheckCast<ProbeWnd>(window),
                                                          "(  ) as Boolean"));
    }

    void Event_Activate() override { events.push_back("Activate"); }

    void Event_Close() override {
        events.push_back("Close");
        if (failInHandlers)
            throw UnsupportedOperationException("Close failed");
    }

    bool Event_KeyDown(const std::string& key) override {
        events.push_back("KeyDown " + key);
        return true;
    }

    bool Event_MouseDown(int64_t x, int64_t y) override {
        events.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }

    void ShiftBtn_Action(const std::shared_ptr<PushButton>&) {
        events.push_back("ShiftBtn.Action");
        if (failInHandlers)
            throw OutOfBoundsException("Action failed");
    }

    bool ProbeItem_Action() {
        events.push_back("ProbeItem");
        return true;
    }

    std::shared_ptr<PushButton> Button(const std::string& name) const {
        return RuntimeCheckCast<PushButton>(ControlByName(name));
    }

    bool Seen(const std::string& event) const { return Count(event) > 0; }
    int Count(const std::string& event) const {
        return static_cast<int>(std::ranges::count(events, event));
    }

    std::vector<std::string> events;
    bool failInHandlers = false;
};

const ClassRecord ProbeWnd::kClassRecord{
    "ProbeWnd",
    "Window",
    {"Layout", "CreateControls", "AddMenuHandlers", "Activate", "Close", "KeyDown", "MouseDown"}};

// The same members as the probe, but a class record that lists no event.
class SilentWnd : public ProbeWnd {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
};

const ClassRecord SilentWnd::kClassRecord{"SilentWnd", "Window", {}};

class HiddenWnd : public Window {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void Layout() override { SetProperties(*this, kHiddenLayout); }
};

const ClassRecord HiddenWnd::kClassRecord{"HiddenWnd", "Window", {"Layout"}};

// An object that handlers can be bound to, apart from any window.
class Target : public Object {
public:
    void Pressed(const std::shared_ptr<PushButton>&) { ++presses; }
    void FieldChanged(const std::shared_ptr<TextField>&) { ++presses; }
    int presses = 0;
};

QRect GeometryOf(const ProbeWnd& window, const std::string& name) {
    return NotNil(RuntimeCheckCast<RectControl>(window.ControlByName(name))).Widget()->geometry();
}

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    std::shared_ptr<ProbeWnd> probe_;

private slots:
    void initTestCase() {
        RuntimeInit();
        RuntimeInitExternalClasses();
        const auto bar = std::make_shared<MenuBar>();
        const auto probeMenu = std::make_shared<MenuItem>();
        probeMenu->SetName("ProbeMenu");
        probeMenu->SetValue("Probe");
        const auto probeItem = std::make_shared<MenuItem>();
        probeItem->SetName("ProbeItem");
        probeItem->SetValue("Probe item");
        probeMenu->AddMenu(probeItem);
        bar->AddMenu(probeMenu);
        const auto application = std::make_shared<Application>();
        application->SetMenuBar(bar);
        RuntimeRegisterAppObject(application);
    }

    // Each test gets a new probe, which replaces the last one as the class's
    // instance.
    void init() {
        probe_ = std::make_shared<ProbeWnd>();
        probe_->Constructor();
        QVERIFY(QTest::qWaitForWindowActive(probe_->TopLevelWidget()));
    }

    void cleanup() { probe_.reset(); }

    void constructorRaisesItsEventsInOrderAndHoldsTheShownWindow() {
        const std::vector<std::string> building(probe_->events.begin(), probe_->events.begin() + 3);
        QCOMPARE(building,
                 (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers"}));
        QVERIFY(probe_->Visible());
        QVERIFY(probe_->Seen("Activate"));
        QCOMPARE(GetImplicitWindow("ProbeWnd"), probe_);
        QCOMPARE(ActiveWindow(), probe_);
    }

    void contentKeepsTheLayoutSizeBelowTheMenuBar() {
        const auto* top = static_cast<QMainWindow*>(probe_->TopLevelWidget());
        QVERIFY(top->menuBar()->isVisible());
        QCOMPARE(top->menuBar()->actions().size(), 1);
        QCOMPARE(top->menuBar()->actions().first()->text(), QStringLiteral("Probe"));
        QCOMPARE(probe_->Content()->size(), QSize(320, 200));
        QCOMPARE(top->windowTitle(), QStringLiteral("Probe"));
        QCOMPARE(GeometryOf(*probe_, "PinnedBtn"), QRect(10, 10, 80, 30));
        QCOMPARE(GeometryOf(*probe_, "ShiftBtn"), QRect(230, 160, 80, 30));
        QCOMPARE(probe_->Button("ShiftBtn")->Widget()->parentWidget(), probe_->Content());
    }

    void windowWhoseLayoutHidesItIsHeldButNotShown() {
        const auto hidden = std::make_shared<HiddenWnd>();
        hidden->Constructor();
        QVERIFY(!hidden->Visible());
        QCOMPARE(GetImplicitWindow("HiddenWnd"), hidden);
        hidden->Show();
        QVERIFY(QTest::qWaitForWindowExposed(hidden->TopLevelWidget()));
        QVERIFY(!static_cast<QMainWindow*>(hidden->TopLevelWidget())->menuWidget());
        QCOMPARE(hidden->Content()->size(), QSize(150, 90));
        hidden->Hide();
    }

    void lockedEdgesFollowAResize() {
        QWidget* top = probe_->TopLevelWidget();
        top->resize(top->width() + 50, top->height() + 40);
        QTRY_COMPARE(probe_->Content()->size(), QSize(370, 240));
        QCOMPARE(GeometryOf(*probe_, "PinnedBtn"), QRect(10, 10, 80, 30));
        QCOMPARE(GeometryOf(*probe_, "ShiftBtn"), QRect(280, 200, 80, 30));
        QCOMPARE(GeometryOf(*probe_, "WideFld"), QRect(10, 60, 350, 24));
    }

    void windowEventsCarryTheKeyAndThePosition() {
        QTest::mouseClick(probe_->Content(), Qt::LeftButton, {}, QPoint(150, 120));
        QVERIFY(probe_->Seen("MouseDown 150,120"));
        QTest::keyClick(probe_->Content(), Qt::Key_K);
        QVERIFY(probe_->Seen("KeyDown k"));
    }

    void eventsMissingFromTheClassRecordAreNotRaised() {
        const auto silent = std::make_shared<SilentWnd>();
        silent->Constructor();
        QVERIFY(silent->events.empty());
        QVERIFY(!silent->Visible()); // no Layout ran to make it visible
        QVERIFY(!silent->HasMenuHandler("ProbeItem"));
        silent->Show();
        QVERIFY(QTest::qWaitForWindowActive(silent->TopLevelWidget()));
        QTest::mouseClick(silent->Content(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(silent->Content(), Qt::Key_K);
        silent->TopLevelWidget()->close();
        QVERIFY(silent->events.empty());
        QVERIFY(!silent->Visible());
    }

    void closeButtonRaisesCloseThenHidesTheKeptWindow() {
        QPointer<QWidget> fieldWidget =
            RuntimeCheckCast<TextField>(probe_->ControlByName("WideFld"))->Widget();
        probe_->TopLevelWidget()->close();
        QCOMPARE(probe_->events.back(), std::string("Close"));
        QVERIFY(!probe_->Visible());
        QCOMPARE(GetImplicitWindow("ProbeWnd"), probe_);
        QVERIFY(fieldWidget);
        probe_->Show();
        QVERIFY(QTest::qWaitForWindowExposed(probe_->TopLevelWidget()));
        QVERIFY(fieldWidget->isVisible());
    }

    // State: the probe is the only window shown.
    // Action: it is closed inside a running event loop, which the test ends later.
    // Expected: the loop ends with the test's code, not on the window's closing.
    void closingTheLastWindowDoesNotQuit() {
        QWidget* top = probe_->TopLevelWidget();
        QTimer::singleShot(0, top, [top] {
            top->close();
            // Qt would quit a few loop passes after the last window closed:
            // there is no event to wait for, only time to give it.
            QTimer::singleShot(100, qApp, [] { QApplication::exit(7); });
        });
        QCOMPARE(QApplication::exec(), 7);
        QVERIFY(probe_->Seen("Close"));
        QVERIFY(!probe_->Visible());
    }

    void menuChoiceReachesTheHandlerTheWindowBound() {
        QVERIFY(probe_->HasMenuHandler("ProbeItem"));
        QVERIFY(probe_->HandleMenuItem("ProbeItem"));
        QVERIFY(!probe_->HandleMenuItem("NoSuchItem"));
        QCOMPARE(probe_->Count("ProbeItem"), 1);
        GetAppObject()->GetMenuBar()->_Lookup("ProbeItem")->Action()->trigger();
        QCOMPARE(probe_->Count("ProbeItem"), 2);
    }

    void unknownPropertiesAndWronglyTypedValuesRaise() {
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException,
                                 SetProperties(*probe_, {{"Widht", Integer{10}}}));
        QVERIFY_THROWS_EXCEPTION(TypeMismatchException,
                                 SetProperties(*probe_, {{"Width", String{"10"}}}));
        const auto field = RuntimeCheckCast<TextField>(probe_->ControlByName("WideFld"));
        // Caption belongs to push buttons, not to every control.
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException,
                                 SetProperties(*field, {{"Caption", String{"x"}}}));
        QVERIFY_THROWS_EXCEPTION(TypeMismatchException,
                                 SetProperties(*field, {{"Value", Integer{3}}}));
        QVERIFY_THROWS_EXCEPTION(TypeMismatchException,
                                 SetProperties(*field, {{"FontSize", Double{12.0}}}));
        QVERIFY_THROWS_EXCEPTION(TypeMismatchException,
                                 SetProperties(*field, {{"Left", Boolean{true}}}));
        QCOMPARE(GeometryOf(*probe_, "WideFld"), QRect(10, 60, 300, 24));
    }

    void castsToAnotherClassRaise() {
        const std::shared_ptr<Control> button = probe_->ControlByName("ShiftBtn");
        QVERIFY(RuntimeCheckCast<RectControl>(button));
        QVERIFY_THROWS_EXCEPTION(IllegalCastException, RuntimeCheckCast<TextField>(button));
        QVERIFY_THROWS_EXCEPTION(IllegalCastException, RuntimeCheckCast<Window>(button));
        QVERIFY(!RuntimeCheckCast<TextField>(probe_->ControlByName("NoSuchControl")));
    }

    // State: a handler that takes a text field is bound to a button's Action.
    // Action: the user clicks the button.
    // Expected: the cast fails inside the dispatch and is reported.
    void handlerOfTheWrongArgumentClassIsReported() {
        const auto target = std::make_shared<Target>();
        const auto button = probe_->Button("PinnedBtn");
        RuntimeAddEventHandler(
            button, PushButton::kActionEvent,
            RuntimeCreateDelegate(&Target::FieldChanged, target, "( TextField )"));
        const int reported = UnhandledExceptionCount();
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(UnhandledExceptionCount(), reported + 1);
        QCOMPARE(target->presses, 0);
    }

    void replacedWindowIsDestroyedAndItsWeakRefGoesNil() {
        const auto ref = std::make_shared<WeakRef>();
        ref->Constructor(probe_);
        QPointer<QWidget> top = probe_->TopLevelWidget();
        QPointer<QWidget> buttonWidget = probe_->Button("ShiftBtn")->Widget();
        probe_.reset();
        QVERIFY(ref->Value()); // the framework still holds it
        init();
        QVERIFY(!ref->Value());
        QVERIFY(!top);
        QVERIFY(!buttonWidget);
    }

    void delegateDoesNotKeepItsTargetAlive() {
        auto target = std::make_shared<Target>();
        const std::weak_ptr<Target> watch = target;
        const auto button = probe_->Button("PinnedBtn");
        const auto handler = RuntimeCreateDelegate(&Target::Pressed, target, "( PushButton )");
        RuntimeAddEventHandler(button, PushButton::kActionEvent, handler);
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(target->presses, 1);

        target.reset();
        QVERIFY(watch.expired());
        QVERIFY_THROWS_EXCEPTION(NilObjectException, handler->Invoke({button}));
        const int reported = UnhandledExceptionCount();
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(UnhandledExceptionCount(), reported + 1);
    }

    void handlerExceptionsAreReportedAndTheProcessGoesOn() {
        probe_->failInHandlers = true;
        const int reported = UnhandledExceptionCount();
        const auto button = probe_->Button("ShiftBtn");
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(probe_->Count("ShiftBtn.Action"), 2);
        QCOMPARE(UnhandledExceptionCount(), reported + 2);

        probe_->TopLevelWidget()->close();
        QCOMPARE(UnhandledExceptionCount(), reported + 3);
        QVERIFY(!probe_->Visible());
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
