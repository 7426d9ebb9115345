#include "testsupport.h"

#include "framework/canvas.h"
#include "framework/conversions.h"
#include "framework/picture.h"
#include "framework/picture_p.h"
#include "framework/pixelfile.h"
#include "framework/pushbutton.h"
#include "framework/textfield.h"
#include "framework/timer.h"
#include "framework/window.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// What the framework does that Velk's own windows do not show: layout rows
// it refuses, failing handlers, a backdrop smaller than its canvas, a timer
// that fires once, and Val and Format on what the masked fields never hold
// (what they do hold, tst_everyinput sweeps through the real window).

namespace {

// Larger than the screen: too wide, and too tall at its minimum height.
constexpr LayoutEntry kProbeLayout[] = {
    {"Width", Integer{4000}},
    {"MinimumHeight", Integer{900}},
    {"Title", String{"Probe"}},
    {"Visible", Boolean{true}},
};

constexpr LayoutEntry kPushBtnLayout[] = {
    {"Left", Integer{10}},
    {"Top", Integer{10}},
    {"Width", Integer{80}},
    {"Height", Integer{30}},
};

constexpr LayoutEntry kTextFldLayout[] = {
    {"Left", Integer{10}},
    {"Top", Integer{60}},
    {"Width", Integer{180}},
    {"Height", Integer{24}},
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

class ProbeWnd : public Window {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void Layout() override { SetProperties(*this, kProbeLayout); }

    void CreateControls() override {
        AddNew<PushButton>(*this, "PushBtn", kPushBtnLayout);
        AddNew<TextField>(*this, "TextFld", kTextFldLayout);
        AddNew<Canvas>(*this, "Canvas", kCanvasLayout);
    }

    // Closing a probe lets the framework go of every window.
    void Event_Close() override { ReleaseImplicitWindows(); }

    template <class T = RectControl> std::shared_ptr<T> Get(const std::string& name) const {
        return RuntimeCheckCast<T>(ControlByName(name));
    }
};

const ClassRecord ProbeWnd::kClassRecord{
    "ProbeWnd", "Window", {"Layout", "CreateControls", "Close"}};

// Handlers bound to the controls' events, apart from any window; they keep
// what they were called with.
class Target : public Object {
public:
    std::vector<std::string> events;
    int Count(const std::string& event) const {
        return static_cast<int>(std::ranges::count(events, event));
    }

    void Action(const std::shared_ptr<PushButton>& sender) {
        events.push_back("Action " + sender->Name());
        throw OutOfBoundsException("Action failed");
    }

    bool MouseDown(const std::shared_ptr<PushButton>& sender, int64_t, int64_t) {
        events.push_back("MouseDown " + sender->Name());
        return false;
    }

    void Tick(const std::shared_ptr<Timer>& sender) { events.push_back("Tick " + sender->Name()); }
};

} // namespace

// Every test starts with a new probe window, shown and active, which opens
// from the last and replaces it as its class's instance.
class FrameworkTest : public QObject {
    Q_OBJECT

    std::shared_ptr<ProbeWnd> probe_;
    std::shared_ptr<Target> target_;

private slots:
    void initTestCase() {
        RuntimeInit();
        RuntimeInitExternalClasses();
    }

    void init() {
        target_ = std::make_shared<Target>();
        const auto probe = std::make_shared<ProbeWnd>();
        probe->Constructor();
        probe_ = probe;
        QVERIFY(QTest::qWaitForWindowActive(probe_->TopLevelWidget()));
    }

    // A misspelt or mistyped layout row, pattern or mask must not pass unnoticed.
    void unknownPropertiesWrongTypesCastsAndPatternSignsRaise() {
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException, probe_->SetProperty("Widht", Integer{10}));
        QVERIFY_THROWS_EXCEPTION(TypeMismatchException, probe_->SetProperty("Width", String{"10"}));
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException,
                                 probe_->Get("TextFld")->SetProperty("Caption", String{"x"}));
        QVERIFY_THROWS_EXCEPTION(IllegalCastException, probe_->Get<TextField>("PushBtn"));
        QVERIFY_THROWS_EXCEPTION(UnsupportedFormatException, Format(1.0, "#,##0.00"));
        for (const char* mask : {"####", ".", "#.##", ".#.#", "\xc2\xb7##", ";##", " ##"})
            QVERIFY_THROWS_EXCEPTION(
                UnsupportedFormatException,
                probe_->Get("TextFld")->SetProperty("ValidationMask", String{mask}));
    }

    // State: a button's Action is bound to a handler that raises.
    // Action: the button is clicked, then again once the handler's target is
    // let go; then the window, whose Close handler lets go of it, is closed.
    // Expected: each click is reported; neither the binding nor the closing
    // keeps what was let go of, nor uses it once freed (as the sanitizers see).
    void handlerExceptionsAreReportedAndNothingLetGoOfIsKept() {
        const auto button = probe_->Get<PushButton>("PushBtn");
        const std::weak_ptr<Target> watch = target_;
        const int reported = UnhandledExceptionCount();
        RuntimeAddEventHandler(button, PushButton::kActionEvent,
                               RuntimeCreateDelegate(&Target::Action, target_, "( PushButton )"));
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QTRY_COMPARE(UnhandledExceptionCount(), reported + 1);
        QCOMPARE(target_->Count("Action PushBtn"), 1);

        target_.reset();
        QVERIFY(watch.expired());
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(UnhandledExceptionCount(), reported + 2);

        const QPointer<QWidget> widget = probe_->TopLevelWidget();
        probe_.reset();
        widget->close();
        QVERIFY(!widget);
    }

    // Return presses the default button, and so raises its MouseDown as any press does.
    void returnRaisesTheDefaultButtonsMouseDown() {
        const auto button = probe_->Get<PushButton>("PushBtn");
        const LayoutEntry kDefault[] = {{"Default", Boolean{true}}};
        SetProperties(*button, kDefault);
        RuntimeAddEventHandler(
            button, PushButton::kMouseDownEvent,
            RuntimeCreateDelegate(&Target::MouseDown, target_,
                                  "( PushButton, Integer, Integer ) as Boolean"));
        QTest::keyClick(probe_->Get("TextFld")->Widget(), Qt::Key_Return);
        QCOMPARE(target_->events, std::vector<std::string>{"MouseDown PushBtn"});
    }

    // The probe shrinks as far as its minimum height allows, its title bar on the screen.
    void windowLargerThanTheScreenShrinksAsFarAsItsMinimum() {
        QWidget* top = probe_->TopLevelWidget();
        const QRect screen = top->screen()->availableGeometry();
        QTRY_COMPARE(top->frameGeometry().topLeft(), screen.topLeft());
        QCOMPARE(QSize(top->frameGeometry().width(), probe_->Content()->height()),
                 QSize(screen.width(), 900));
    }

    // State: a red 12 x 7 picture, with the pixel file of a blue one beside it.
    // Action: it is opened as it is, then with its pixel file cut short, and a
    // missing one; the red one becomes the backdrop of a 100 x 50 canvas.
    // Expected: blue from the pixel file, then red from the picture itself, and
    // nil; the red shows at its own size in the canvas's top-left corner, not
    // stretched over the rest. Velk's own pixel files hold its decoded pictures.
    void picturesComeFromTheirPixelFilesUnlessDamagedAndShowUnstretched() {
        QTemporaryDir folder;
        QImage red(12, 7, QImage::Format_RGB32);
        red.fill(Qt::red);
        QImage blue(12, 7, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(red.save(folder.filePath("red.png")));
        const QString pixels = PixelFilePath(folder.filePath("red.png"));
        QVERIFY(WritePixelFile(pixels, blue));
        SetResourceFolder(folder.path().toStdString());
        const auto fromPixels = Picture::OpenFromApp("red.png");
        QVERIFY(QFile::resize(pixels, QFileInfo(pixels).size() - 1));
        const auto fromPicture = Picture::OpenFromApp("red.png");
        const auto missing = Picture::OpenFromApp("Velk32.jpg");
        SetResourceFolder({});
        QCOMPARE(fromPixels->Data().image, blue);
        QCOMPARE(fromPicture->Data().image.convertToFormat(QImage::Format_RGB32), red);
        QVERIFY(!missing);

        const auto canvas = probe_->Get<Canvas>("Canvas");
        canvas->SetBackdrop(fromPicture);
        const QImage shown = canvas->Widget()->grab().toImage();
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(shown.pixelColor(11, 6), QColor(Qt::red));
        for (const QPoint outside : {QPoint(12, 3), QPoint(5, 7), QPoint(50, 25)})
            QCOMPARE_NE(shown.pixelColor(outside), QColor(Qt::red));

        for (const char* name : {"Velk32.jpg", "Velk64.jpg"}) {
            const QString path = FindPicture(name);
            QVERIFY(QFileInfo::exists(PixelFilePath(path)));
            QCOMPARE(NotNil(Picture::OpenFromApp(name)).Data().image, QImage(path));
        }
    }

    void timerRunModeOneFiresOnceAndTwoRepeats() {
        auto start = [this](const char* name, int64_t mode) {
            const auto timer = std::make_shared<Timer>();
            timer->SetName(name);
            RuntimeAddEventHandler(timer, Timer::kActionEvent,
                                   RuntimeCreateDelegate(&Target::Tick, target_, "( Timer )"));
            timer->SetProperty("Period", Integer{10});
            timer->SetProperty("RunMode", Integer{mode});
            return timer;
        };
        const auto once = start("Once", Timer::kRunModeSingle);
        const auto repeating = start("Repeating", Timer::kRunModeMultiple);
        // One that no shared pointer owns cannot be told of its Action: reported.
        Timer unowned;
        unowned.SetPeriod(10);
        unowned.SetRunMode(Timer::kRunModeSingle);
        const int reported = UnhandledExceptionCount();
        QTRY_VERIFY(target_->Count("Tick Repeating") >= 5);
        QCOMPARE(target_->Count("Tick Once"), 1);
        QCOMPARE(once->RunMode(), Timer::kRunModeOff);
        QTRY_COMPARE(UnhandledExceptionCount(), reported + 1);
    }

    void valReadsTheLeadingNumberAndNeverGivesInfinity() {
        const std::pair<std::string, double> rows[] = {
            {"abc", 0.0},
            {"1.5kg", 1.5},
            {"  -2.25", -2.25},
            {"25e-2", 0.25},
            {"1e+2147483647", std::numeric_limits<double>::max()},
            {"1e-9999999999999999999", 0.0},
            {"." + std::string(400, '0') + "1e50", 0.0}};
        for (const auto& [text, expected] : rows)
            QVERIFY2(Val(text) == expected, text.c_str());
    }

    void formatRoundsToThePattern_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const auto row = [](double value, const char* pattern, const char* expected) {
            QTest::addRow("%s as %s", expected, pattern)
                << value << QString(pattern) << QString(expected);
        };
        row(1e20, ".0", "100000000000000000000.0");
        row(12345.678, ".0", "12345.7");
        row(0.9999, "+.000", "+1.000");
        row(-0.5866, "+.000", "-.587");
        row(-0.0001, ".000", ".000");
        row(3.14159, "0.00", "3.14");
        row(0.5, "00.0", "00.5");
        row(2.5, "#.##", "2.5");
    }

    void formatRoundsToThePattern() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(Format(value, pattern.toStdString())), expected);
    }
};

QTEST_MAIN(FrameworkTest)
#include "tst_framework.moc"
