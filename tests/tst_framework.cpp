#include "testsupport.h"

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/filetype.h"
#include "framework/menuitem.h"
#include "framework/msgbox.h"
#include "framework/picture.h"
#include "framework/pushbutton.h"
#include "framework/textarea.h"
#include "framework/textfield.h"
#include "framework/timer.h"
#include "framework/weakref.h"
#include "framework/window.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr LayoutEntry kProbeLayout[] = {
    {"Width", Integer{320}},    {"Height", Integer{200}},          {"Title", String{"Probe"}},
    {"Visible", Boolean{true}}, {"MenuBarVisible", Boolean{true}},
};

constexpr LayoutEntry kPinnedBtnLayout[] = {
    {"Left", Integer{10}},   {"Top", Integer{10}},        {"Width", Integer{80}},
    {"Height", Integer{30}}, {"LockLeft", Boolean{true}}, {"LockTop", Boolean{true}},
};

constexpr LayoutEntry kShiftBtnLayout[] = {
    {"Left", Integer{230}},  {"Top", Integer{160}},        {"Width", Integer{80}},
    {"Height", Integer{30}}, {"LockRight", Boolean{true}}, {"LockBottom", Boolean{true}},
};

constexpr LayoutEntry kWideFldLayout[] = {
    {"Left", Integer{10}},        {"Top", Integer{60}},        {"Width", Integer{300}},
    {"Height", Integer{24}},      {"LockLeft", Boolean{true}}, {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},
};

// A reliability input as the calculator has them.
constexpr LayoutEntry kAFldLayout[] = {
    {"Left", Integer{10}},
    {"Top", Integer{100}},
    {"Width", Integer{80}},
    {"Height", Integer{24}},
    {"MaximumCharactersAllowed", Integer{5}},
    {"ValidationMask", String{".####"}},
};

constexpr LayoutEntry kAreaLayout[] = {
    {"Left", Integer{100}},
    {"Top", Integer{100}},
    {"Width", Integer{100}},
    {"Height", Integer{50}},
};

constexpr LayoutEntry kCanvasLayout[] = {
    {"Left", Integer{210}},
    {"Top", Integer{100}},
    {"Width", Integer{100}},
    {"Height", Integer{50}},
};

template <class T> void AddNew(Window& window, const std::string& name, Layout layout) {
    const std::shared_ptr<T> control = window.New<T>();
    control->Constructor();
    window.AddControl(name, control);
    SetProperties(*control, layout);
}

// What the framework raised, in order.
struct Events {
    std::vector<std::string> events;
    bool Record(const std::string& event) {
        events.push_back(event);
        return true;
    }
    int Count(const std::string& event) const {
        return static_cast<int>(std::ranges::count(events, event));
    }
};

// A window with one control of each kind that records its events; its class
// record, given when it is made, says which of them the framework may raise.
class ProbeWnd : public Window, public Events {
public:
    explicit ProbeWnd(const ClassRecord& record) : record_(record) {}
    const ClassRecord& Class() const override { return record_; }

    void Layout() override {
        Record("Layout");
        SetProperties(*this, kProbeLayout);
    }

    void CreateControls() override {
        Record("CreateControls");
        AddNew<PushButton>(*this, "PinnedBtn", kPinnedBtnLayout);
        AddNew<PushButton>(*this, "ShiftBtn", kShiftBtnLayout);
        AddNew<TextField>(*this, "WideFld", kWideFldLayout);
        AddNew<TextField>(*this, "AFld", kAFldLayout);
        AddNew<TextArea>(*this, "Area", kAreaLayout);
        AddNew<Canvas>(*this, "Canvas", kCanvasLayout);
    }

    void AddMenuHandlers(const std::shared_ptr<Window>& window) override {
        Record("AddMenuHandlers");
        AddMenuHandler("Bound", RuntimeCreateDelegate(&ProbeWnd::Bound_Action,
                                                      RuntimeCheckCast<ProbeWnd>(window),
                                                      "(  ) as Boolean"));
    }

    void Event_Activate() override { Record("Activate"); }
    void Event_Close() override { Record("Close"); }
    void Event_EnableMenuItems() override { Record("EnableMenuItems"); }

    bool Event_KeyDown(const std::string& key) override { return Record("KeyDown " + key); }
    bool Event_MouseDown(int64_t x, int64_t y) override {
        return Record("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    }
    bool Bound_Action() { return Record("Bound"); }

    template <class T = RectControl> std::shared_ptr<T> Get(const std::string& name) const {
        return RuntimeCheckCast<T>(ControlByName(name));
    }

private:
    const ClassRecord& record_;
};

const ClassRecord kProbeRecord{"ProbeWnd",
                               "Window",
                               {"Layout", "CreateControls", "AddMenuHandlers", "Activate", "Close",
                                "EnableMenuItems", "KeyDown", "MouseDown"}};
const ClassRecord kOtherRecord{
    "OtherWnd", "Window", {"Layout", "CreateControls", "AddMenuHandlers"}};
const ClassRecord kSilentRecord{"SilentWnd", "Window", {}};

// Handlers bound to the controls' events, apart from any window.
class Target : public Object, public Events {
public:
    void Action(const std::shared_ptr<PushButton>& sender) {
        Record("Action " + sender->Name());
        if (raise)
            throw OutOfBoundsException("Action failed");
    }

    void MouseDown(const std::shared_ptr<PushButton>& sender, int64_t x, int64_t y) {
        Record("MouseDown " + sender->Name() + " " + std::to_string(x) + "," + std::to_string(y));
    }

    void Tick(const std::shared_ptr<Timer>& sender) { Record("Tick " + sender->Name()); }

    void Report(const std::shared_ptr<PushButton>&) {
        MsgBox("Saved");
        Record("after the box");
    }

    bool raise = false;
};

std::shared_ptr<MenuItem> AddItem(MenuItem& menu, const std::string& name, const std::string& text,
                                  std::shared_ptr<MenuItem> item = std::make_shared<MenuItem>()) {
    item->SetName(name);
    item->SetValue(text);
    menu.AddMenu(item);
    return item;
}

std::shared_ptr<MenuItem> Item(const std::string& name) {
    return NotNil(GetAppObject()->GetMenuBar()).Lookup(name);
}

// What the user sees of a menu or bar: each shown entry's text, "-" for a separator.
QStringList Shown(const QWidget* menu) {
    QStringList shown;
    for (const QAction* action : menu->actions())
        if (action->isVisible())
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return shown;
}

template <class Raise> std::exception_ptr CallThroughHelper(Raise raise) {
    return CallFunctionWithExceptionHandling([](void* f) { (*static_cast<Raise*>(f))(); }, &raise);
}

} // namespace

// Every test starts with a new probe window, shown and active, which replaces
// the last as its class's instance. The process-wide tests come last.
class FrameworkTest : public QObject {
    Q_OBJECT

    std::shared_ptr<ProbeWnd> probe_;
    std::shared_ptr<Target> target_;

    void Open(const ClassRecord& record = kProbeRecord) {
        probe_ = std::make_shared<ProbeWnd>(record);
        probe_->Constructor();
        if (!probe_->Visible())
            probe_->Show();
        QVERIFY(QTest::qWaitForWindowActive(probe_->TopLevelWidget()));
    }

    QRect GeometryOf(const std::string& name) const {
        return probe_->Get(name)->Widget()->geometry();
    }

    template <class Method>
    void Bind(const std::shared_ptr<Control>& control, int event, Method method,
              const char* signature) {
        RuntimeAddEventHandler(control, event, RuntimeCreateDelegate(method, target_, signature));
    }

private slots:
    void initTestCase() {
        RuntimeInit();
        RuntimeInitExternalClasses();
        const auto bar = std::make_shared<MenuBar>();
        AddItem(*AddItem(*bar, "FileMenu", "File"), "FileQuit", "Quit",
                std::make_shared<QuitMenuItem>());
        const auto edit = AddItem(*bar, "EditMenu", "Edit");
        AddItem(*edit, "EditCut", "Cut");
        AddItem(*edit, "EditSeparator", "-");
        AddItem(*edit, "EditPaste", "Paste");
        AddItem(*edit, "EditClear", "");
        const auto tools = AddItem(*bar, "ToolsMenu", "Tools");
        AddItem(*tools, "Bound", "Bound")->SetShortcut("Cmd+B");
        AddItem(*tools, "Unbound", "Unbound");
        AddItem(*tools, "AboutApp", "About", std::make_shared<AppleMenuItem>());
        const auto application = std::make_shared<Application>();
        application->SetMenuBar(bar);
        RuntimeRegisterAppObject(application);
    }

    void init() {
        target_ = std::make_shared<Target>();
        Open();
    }

    void cleanup() { probe_.reset(); }

    void layoutSizesTheContentBelowTheMenuBarAndLockedEdgesFollowAResize() {
        auto* top = static_cast<QMainWindow*>(probe_->TopLevelWidget());
        QCOMPARE(Shown(top->menuBar()), (QStringList{"File", "Edit", "Tools"}));
        QCOMPARE(probe_->Content()->geometry(),
                 QRect(QPoint(0, top->menuBar()->height()), QSize(320, 200)));
        QCOMPARE(GeometryOf("ShiftBtn"), QRect(230, 160, 80, 30));

        top->resize(top->width() + 50, top->height() + 40);
        QTRY_COMPARE(probe_->Content()->size(), QSize(370, 240));
        QCOMPARE(GeometryOf("PinnedBtn"), QRect(10, 10, 80, 30));
        QCOMPARE(GeometryOf("ShiftBtn"), QRect(280, 200, 80, 30));
        QCOMPARE(GeometryOf("WideFld"), QRect(10, 60, 350, 24));
    }

    void eventsAreRaisedOnlyWhenTheClassRecordListsThem_data() {
        QTest::addColumn<bool>("listed");
        QTest::newRow("listed") << true;
        QTest::newRow("not listed") << false;
    }

    void eventsAreRaisedOnlyWhenTheClassRecordListsThem() {
        QFETCH(bool, listed);
        if (!listed)
            Open(kSilentRecord);
        QTest::mouseClick(probe_->Content(), Qt::LeftButton, {}, QPoint(50, 50));
        QTest::keyClick(probe_->Content(), Qt::Key_K);
        UpdateMenuItems(probe_);
        probe_->TopLevelWidget()->close();
        for (const char* event : {"Layout", "CreateControls", "AddMenuHandlers", "Activate",
                                  "MouseDown 50,50", "KeyDown k", "EnableMenuItems", "Close"})
            QVERIFY2((probe_->Count(event) > 0) == listed, event);
    }

    void closeButtonRaisesCloseAndHidesTheWindowItKeeps() {
        probe_->TopLevelWidget()->close();
        QCOMPARE(probe_->events.back(), std::string("Close"));
        QVERIFY(!probe_->Visible());
        QCOMPARE(GetImplicitWindow("ProbeWnd"), probe_);
        probe_->Show();
        QVERIFY(QTest::qWaitForWindowExposed(probe_->TopLevelWidget()));
        QVERIFY(probe_->Get("WideFld")->Widget()->isVisible());
    }

    void unknownPropertiesWrongTypesAndWrongCastsRaise() {
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException, probe_->SetProperty("Widht", Integer{10}));
        QVERIFY_THROWS_EXCEPTION(TypeMismatchException, probe_->SetProperty("Width", String{"10"}));
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException,
                                 probe_->Get("WideFld")->SetProperty("Caption", String{"x"}));
        QVERIFY_THROWS_EXCEPTION(IllegalCastException, probe_->Get<TextField>("ShiftBtn"));
    }

    // State: a button's Action is bound to a handler that raises.
    // Action: the button is clicked, then again once the handler's target is let go.
    // Expected: each click is reported; the binding did not keep the target.
    void handlerExceptionsAreReportedAndBindingsDoNotKeepTheirTargets() {
        const auto button = probe_->Get<PushButton>("PinnedBtn");
        const std::weak_ptr<Target> watch = target_;
        const int reported = UnhandledExceptionCount();
        target_->raise = true;
        Bind(button, PushButton::kActionEvent, &Target::Action, "( PushButton )");
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(UnhandledExceptionCount(), reported + 1);
        QCOMPARE(target_->Count("Action PinnedBtn"), 1);

        target_.reset();
        QVERIFY(watch.expired());
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(UnhandledExceptionCount(), reported + 2);
    }

    void replacedWindowIsDestroyedAndItsWeakRefGoesNil() {
        const auto ref = std::make_shared<WeakRef>();
        ref->Constructor(probe_);
        QPointer<QWidget> top = probe_->TopLevelWidget();
        probe_.reset();
        QVERIFY(ref->Value()); // the framework still holds it
        Open();
        QVERIFY(!ref->Value());
        QVERIFY(!top);
    }

    void maskedFieldTakesUpToFourDigitsAfterItsPoint_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits alone") << QString("86") << QString(".86");
        QTest::newRow("point and digits") << QString(".86") << QString(".86");
        QTest::newRow("letters and a fifth digit") << QString("8a6-e1234") << QString(".8612");
    }

    void maskedFieldTakesUpToFourDigitsAfterItsPoint() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        const auto field = probe_->Get<TextField>("AFld");
        field->SetFocus();
        QTest::keyClick(field->Widget(), Qt::Key_Home);
        QTest::keyClicks(field->Widget(), typed);
        QCOMPARE(field->Text(), shown.toStdString());
    }

    void lengthLimitHoldsTypingButNotTheProgramsText() {
        const auto field = probe_->Get<TextField>("WideFld");
        field->SetProperty("MaximumCharactersAllowed", Integer{4});
        field->SetFocus();
        QTest::keyClicks(field->Widget(), "123456");
        QCOMPARE(field->Text(), std::string("1234"));
        field->SetText("longer than four");
        QCOMPARE(static_cast<QLineEdit*>(field->Widget())->text(), "longer than four");
    }

    void pushButtonRaisesMouseDownOnThePressAndActionOnTheRelease() {
        const auto button = probe_->Get<PushButton>("PinnedBtn");
        Bind(button, PushButton::kActionEvent, &Target::Action, "( PushButton )");
        Bind(button, PushButton::kMouseDownEvent, &Target::MouseDown,
             "( PushButton, Integer, Integer )");
        QTest::mousePress(button->Widget(), Qt::LeftButton, {}, QPoint(5, 6));
        QCOMPARE(target_->events, std::vector<std::string>{"MouseDown PinnedBtn 5,6"});
        QTest::mouseRelease(button->Widget(), Qt::LeftButton, {}, QPoint(5, 6));
        QCOMPARE(target_->Count("Action PinnedBtn"), 1);
    }

    void returnPressesTheFirstDefaultButton() {
        for (const char* name : {"PinnedBtn", "ShiftBtn"}) {
            probe_->Get(name)->SetProperty("Default", Boolean{true});
            Bind(probe_->Get(name), PushButton::kActionEvent, &Target::Action, "( PushButton )");
            Bind(probe_->Get(name), PushButton::kMouseDownEvent, &Target::MouseDown,
                 "( PushButton, Integer, Integer )");
        }
        probe_->Get("AFld")->SetFocus();
        QTest::keyClick(probe_->Get("AFld")->Widget(), Qt::Key_Return);
        QCOMPARE(target_->events,
                 (std::vector<std::string>{"MouseDown PinnedBtn 39,14", "Action PinnedBtn"}));
    }

    void textAreaKeepsCRLineBreaks() {
        const auto area = probe_->Get<TextArea>("Area");
        area->SetText("First\rSecond\r\nThird");
        QCOMPARE(static_cast<QTextEdit*>(area->Widget())->document()->blockCount(), 3);
        QCOMPARE(area->Text(), std::string("First\rSecond\rThird"));
    }

    // State: the resource folder holds only a red 12 x 7 picture.
    // Action: it and a missing one are opened; the red one becomes the backdrop
    // of a 100 x 50 canvas.
    // Expected: the missing one is nil; the picture shows at its own size in
    // the canvas's top-left corner, not stretched over the rest.
    void canvasPaintsABackdropAtItsOwnSizeFromTheTopLeft() {
        QTemporaryDir folder;
        QImage red(12, 7, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(folder.filePath("red.png")));
        SetResourceFolder(folder.path().toStdString());
        const auto picture = Picture::OpenFromApp("red.png");
        const auto missing = Picture::OpenFromApp("Velk32.jpg");
        SetResourceFolder({});
        QVERIFY(picture && picture->Width() == 12 && picture->Height() == 7);
        QVERIFY(!missing);

        const auto canvas = probe_->Get<Canvas>("Canvas");
        canvas->SetBackdrop(picture);
        const QImage shown = canvas->Widget()->grab().toImage();
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(shown.pixelColor(11, 6), QColor(Qt::red));
        for (const QPoint outside : {QPoint(12, 3), QPoint(5, 7), QPoint(50, 25)})
            QCOMPARE_NE(shown.pixelColor(outside), QColor(Qt::red));
    }

    void timerRunModeOneFiresOnceAndTwoRepeats() {
        auto start = [this](const char* name, int64_t mode) {
            const auto timer = std::make_shared<Timer>();
            timer->SetName(name);
            Bind(timer, Timer::kActionEvent, &Target::Tick, "( Timer )");
            timer->SetProperty("Period", Integer{10});
            timer->SetProperty("RunMode", Integer{mode});
            return timer;
        };
        const auto once = start("Once", Timer::kRunModeSingle);
        const auto repeating = start("Repeating", Timer::kRunModeMultiple);
        QTRY_VERIFY(target_->Count("Tick Repeating") >= 5);
        QCOMPARE(target_->Count("Tick Once"), 1);
        QCOMPARE(once->RunMode(), Timer::kRunModeOff);
    }

    void messageBoxReturnsOnceAnswered() {
        const auto button = probe_->Get<PushButton>("PinnedBtn");
        Bind(button, PushButton::kActionEvent, &Target::Report, "( PushButton )");
        const auto answer = AnswerNextMessageBox();
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(answer->text, QStringLiteral("Saved"));
        QCOMPARE(target_->events, std::vector<std::string>{"after the box"});
    }

    void lookupFindsNestedItemsAndChildOnlyDirectOnes() {
        const std::shared_ptr<MenuBar> bar = GetAppObject()->GetMenuBar();
        QCOMPARE(NotNil(bar->Lookup("Unbound")).Value(), std::string("Unbound"));
        QCOMPARE(NotNil(bar->Child("ToolsMenu")).Child("Unbound"), bar->Lookup("Unbound"));
        QVERIFY(!bar->Child("Unbound"));
    }

    void menusShowTheirItemsAsTheirTextsSay() {
        QCOMPARE(Shown(Item("EditMenu")->ActionIn(*probe_)->menu<QMenu*>()),
                 (QStringList{"Cut", "-", "Paste"}));
        // The application-menu item shows only on macOS.
        QCOMPARE(Shown(Item("ToolsMenu")->ActionIn(*probe_)->menu<QMenu*>()),
                 (QStringList{"Bound", "Unbound"}));
    }

    // State: two windows bind Bound (Cmd+B), disabled before the second opens.
    // Action: Ctrl+B there, then Bound chosen with the first active.
    // Expected: activation enabled the item; each choice reached the active window only.
    void menuChoiceGoesToTheActiveWindowsBinding() {
        const auto first = probe_;
        Item("Bound")->SetEnabled(false);
        Open(kOtherRecord);
        QTest::keyClick(probe_->Get("PinnedBtn")->Widget(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(probe_->Count("Bound"), 1);
        QCOMPARE(first->Count("Bound"), 0);
        first->Show();
        QVERIFY(QTest::qWaitForWindowActive(first->TopLevelWidget()));
        Item("Bound")->Choose();
        QCOMPARE(first->Count("Bound"), 1);
        QCOMPARE(probe_->Count("Bound"), 1);
    }

    void unboundEditItemsEditTheFocusedField() {
        const auto field = probe_->Get<TextField>("WideFld");
        field->SetText("hello");
        field->SetFocus();
        QTRY_VERIFY(field->Widget()->hasFocus());
        static_cast<QLineEdit*>(field->Widget())->selectAll();
        Item("EditCut")->Choose();
        QCOMPARE(field->Text(), std::string());
        Item("EditPaste")->Choose();
        QCOMPARE(field->Text(), std::string("hello"));
    }

    void itemsAreEnabledWhenBoundOrQuitAndEditItemsOnlyWithTextFocus() {
        Item("Unbound")->SetEnabled(true);
        Item("Bound")->SetEnabled(false);
        probe_->Get("PinnedBtn")->SetFocus();
        QTRY_VERIFY(probe_->Get("PinnedBtn")->Widget()->hasFocus());
        UpdateMenuItems(probe_);
        QVERIFY(Item("Bound")->Enabled());
        QVERIFY(Item("FileQuit")->Enabled());
        QVERIFY(!Item("Unbound")->Enabled());
        QVERIFY(!Item("EditCut")->Enabled());

        probe_->Get<TextField>("WideFld")->SetText("text");
        probe_->Get("WideFld")->SetFocus();
        QTRY_VERIFY(probe_->Get("WideFld")->Widget()->hasFocus());
        static_cast<QLineEdit*>(probe_->Get("WideFld")->Widget())->selectAll();
        UpdateMenuItems(probe_);
        QVERIFY(Item("EditCut")->Enabled());
        UpdateMenuItems(nullptr);
        QVERIFY(!Item("Bound")->Enabled());
    }

    void exceptionHelperReturnsRuntimeExceptionsAndLetsOthersPass() {
        QVERIFY(!CallThroughHelper([] {}));
        const std::exception_ptr returned =
            CallThroughHelper([] { throw KeyNotFoundException("No such key"); });
        QVERIFY(returned);
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException, std::rethrow_exception(returned));
        QVERIFY_THROWS_EXCEPTION(std::logic_error,
                                 CallThroughHelper([] { throw std::logic_error("other"); }));
    }

    // State: a file type, converted to text twice.
    // Action: each setter in turn, the type converted again after each.
    // Expected: one registration per conversion after a change; every setter withdraws it.
    void fileTypeRegistersOnceWhenConvertedAndEverySetterWithdrawsIt() {
        auto type = std::make_shared<FileType>();
        type->SetName("text");
        type->SetMacType("TEXT");
        QCOMPARE(type->Operator_Convert(), std::string("text"));
        QCOMPARE(type->Operator_Convert(), std::string("text"));
        QCOMPARE(RegisteredFileTypes(),
                 (std::vector<FileTypeRegistration>{{"text", "", "TEXT", "", ""}}));

        const std::vector<std::function<void()>> setters = {
            [&] { type->SetName("n"); },       [&] { type->SetExtensions("e"); },
            [&] { type->SetMacType("TYPE"); }, [&] { type->SetMacCreator("CRTR"); },
            [&] { type->SetMimeType("a/b"); }, [&] { type->SetImported(true); },
            [&] { type->SetConformsTo("c"); }, [&] { type->SetUTI("x.y"); },
        };
        for (std::size_t i = 0; i < setters.size(); ++i) {
            setters[i]();
            QVERIFY2(RegisteredFileTypes().empty(), qPrintable(QString("setter %1").arg(i)));
            type->Operator_Convert();
        }
        type.reset();
        QVERIFY(RegisteredFileTypes().empty());
    }

    // Last but one: a quit lasts for the rest of the process.
    void quitEndsTheEventLoopWithItsCodeAndASecondQuitIsHarmless() {
        QObject scope;
        bool timedOut = false;
        QTimer::singleShot(2000, &scope, [&timedOut] {
            timedOut = true;
            QApplication::exit(99);
        });
        QTimer::singleShot(0, &scope, [] {
            Quit(3);
            Quit(5);
        });
        RuntimeRun();
        QVERIFY(!timedOut);
        QCOMPARE(RuntimeExit(), 3);
        Quit(6);
        RuntimeRun(); // the loop does not start again
        QVERIFY(!timedOut);
        QCOMPARE(RuntimeExit(), 3);
    }

    // Last: finalizing lets go of every window and the application object.
    void initializersRunInOrderAndFinalizersOnceReleasingWhatTheFrameworkHolds() {
        static std::vector<int> calls;
        RuntimePerformInitializers({[] { calls.push_back(1); }, [] { calls.push_back(2); }});
        const auto ref = std::make_shared<WeakRef>();
        ref->Constructor(probe_);
        probe_.reset();
        QVERIFY(ref->Value());
        RuntimeAddFinalizer([] { calls.push_back(3); });
        RuntimeAddFinalizer([] { calls.push_back(4); });
        RuntimePerformFinalizers();
        RuntimePerformFinalizers();
        QCOMPARE(calls, (std::vector<int>{1, 2, 3, 4}));
        QVERIFY(!ref->Value());
        QVERIFY(!GetAppObject());
    }
};

QTEST_MAIN(FrameworkTest)
#include "tst_framework.moc"
