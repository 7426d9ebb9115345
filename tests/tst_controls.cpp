#include "testsupport.h"

#include "framework/canvas.h"
#include "framework/msgbox.h"
#include "framework/picture.h"
#include "framework/pushbutton.h"
#include "framework/runtime.h"
#include "framework/textarea.h"
#include "framework/textfield.h"
#include "framework/timer.h"
#include "framework/window.h"

#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const Layout kFormLayout = {
    {"Width", Integer{400}},    {"Height", Integer{300}},           {"Title", String{"Form"}},
    {"Visible", Boolean{true}}, {"MenuBarVisible", Boolean{false}},
};

// A reliability input as the calculator has them.
const Layout kMaskedFldLayout = {
    {"Left", Integer{10}},
    {"Top", Integer{10}},
    {"Width", Integer{80}},
    {"Height", Integer{24}},
    {"MaximumCharactersAllowed", Integer{5}},
    {"ValidationMask", String{".####"}},
};

const Layout kPlainFldLayout = {
    {"Left", Integer{10}},
    {"Top", Integer{50}},
    {"Width", Integer{200}},
    {"Height", Integer{24}},
};

const Layout kLeftBtnLayout = {
    {"Left", Integer{10}},
    {"Top", Integer{250}},
    {"Width", Integer{80}},
    {"Height", Integer{30}},
};

const Layout kRightBtnLayout = {
    {"Left", Integer{300}},
    {"Top", Integer{250}},
    {"Width", Integer{80}},
    {"Height", Integer{30}},
};

// The window the tests put their controls on; each test builds a new one.
class FormWnd : public Window {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void Layout() override { SetProperties(*this, kFormLayout); }
    void CreateControls() override {
        if (build)
            build(*this);
    }

    std::function<void(FormWnd&)> build;
};

const ClassRecord FormWnd::kClassRecord{"FormWnd", "Window", {"Layout", "CreateControls"}};

template <class T>
std::shared_ptr<T> AddNew(Window& window, const std::string& name, const Layout& layout) {
    const std::shared_ptr<T> control = window.New<T>();
    control->Constructor();
    window.AddControl(name, control);
    SetProperties(*control, layout);
    return control;
}

template <class T> std::shared_ptr<T> Find(const Window& window, const std::string& name) {
    return RuntimeCheckCast<T>(window.ControlByName(name));
}

// What the controls' events told their handlers.
class Recorder : public Object {
public:
    void Action(const std::shared_ptr<PushButton>& sender) { actions.push_back(sender->Name()); }

    bool MouseDown(const std::shared_ptr<PushButton>& sender, int64_t x, int64_t y) {
        mouseDowns.push_back(sender->Name() + " " + std::to_string(x) + "," + std::to_string(y));
        return keepPress;
    }

    bool KeyDown(const std::shared_ptr<TextField>& sender, const std::string& key) {
        keys += sender->Name() + ":" + key + " ";
        return key == "x";
    }

    void Tick(const std::shared_ptr<Timer>&) { ++ticks; }

    void Report(const std::shared_ptr<PushButton>&) {
        MsgBox("Saved");
        actions.push_back("after the box");
    }

    std::vector<std::string> actions;
    std::vector<std::string> mouseDowns;
    std::string keys;
    int ticks = 0;
    bool keepPress = false;
};

std::shared_ptr<Timer> NewTimer(const std::shared_ptr<Recorder>& recorder, int64_t runMode) {
    const auto timer = std::make_shared<Timer>();
    RuntimeAddEventHandler(timer, Timer::kActionEvent,
                           RuntimeCreateDelegate(&Recorder::Tick, recorder, "( Timer )"));
    SetProperties(*timer, {{"Period", Integer{10}}, {"RunMode", Integer{runMode}}});
    return timer;
}

QLineEdit* LineEdit(const std::shared_ptr<TextField>& field) {
    return static_cast<QLineEdit*>(field->Widget());
}

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT

    std::shared_ptr<FormWnd> form_;
    std::shared_ptr<Recorder> recorder_;

    // A new form, its controls made by build, shown and active.
    void Open(std::function<void(FormWnd&)> build) {
        form_ = std::make_shared<FormWnd>();
        form_->build = std::move(build);
        form_->Constructor();
        QVERIFY(QTest::qWaitForWindowActive(form_->TopLevelWidget()));
    }

    // The masked field, focused with the cursor at its start.
    std::shared_ptr<TextField> OpenMaskedField() {
        Open([](FormWnd& form) { AddNew<TextField>(form, "AFld", kMaskedFldLayout); });
        const auto field = Find<TextField>(*form_, "AFld");
        field->SetFocus();
        QTest::keyClick(field->Widget(), Qt::Key_Home);
        return field;
    }

    std::shared_ptr<PushButton> AddButton(FormWnd& form, const std::string& name,
                                          const Layout& layout) {
        const auto button = AddNew<PushButton>(form, name, layout);
        RuntimeAddEventHandler(
            button, PushButton::kActionEvent,
            RuntimeCreateDelegate(&Recorder::Action, recorder_, "( PushButton )"));
        RuntimeAddEventHandler(
            button, PushButton::kMouseDownEvent,
            RuntimeCreateDelegate(&Recorder::MouseDown, recorder_,
                                  "( PushButton, Integer, Integer ) as Boolean"));
        return button;
    }

private slots:
    void initTestCase() {
        RuntimeInit();
        RuntimeInitExternalClasses();
    }

    void init() { recorder_ = std::make_shared<Recorder>(); }

    void cleanup() { form_.reset(); }

    void maskedFieldTakesDigitsAlike_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("digits alone") << "86";
        QTest::newRow("point and digits") << ".86";
    }

    void maskedFieldTakesDigitsAlike() {
        QFETCH(QString, typed);
        const auto field = OpenMaskedField();
        QTest::keyClicks(field->Widget(), typed);
        QCOMPARE(field->Text(), std::string(".86"));
    }

    void maskedFieldRefusesLettersAndAFifthDigit() {
        const auto field = OpenMaskedField();
        QTest::keyClicks(field->Widget(), "8a6-e1234");
        QCOMPARE(field->Text(), std::string(".8612"));
    }

    void maskedFieldRefusesPastedLetters() {
        const auto field = OpenMaskedField();
        QApplication::clipboard()->setText(QStringLiteral("abc"));
        QTest::keyClick(field->Widget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->Text(), std::string("."));
        QApplication::clipboard()->setText(QStringLiteral("42"));
        QTest::keyClick(field->Widget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field->Text(), std::string(".42"));
    }

    // An emptied input is typed into again from its start, as after Clear.
    void emptiedMaskedFieldTakesDigitsFromItsStart() {
        const auto field = OpenMaskedField();
        QTest::keyClicks(field->Widget(), "86");
        field->SetText("");
        QTest::keyClicks(field->Widget(), "4");
        QCOMPARE(field->Text(), std::string(".4"));
    }

    void lengthLimitHoldsTypingButNotTheProgramsText() {
        Open([](FormWnd& form) {
            AddNew<TextField>(form, "Fld", kPlainFldLayout);
            SetProperties(*Find<TextField>(form, "Fld"),
                          {{"MaximumCharactersAllowed", Integer{4}}});
        });
        const auto field = Find<TextField>(*form_, "Fld");
        field->SetFocus();
        QTest::keyClicks(field->Widget(), "123456");
        QCOMPARE(field->Text(), std::string("1234"));
        field->SetText("longer than four");
        QCOMPARE(field->Text(), std::string("longer than four"));
        QCOMPARE(LineEdit(field)->text(), QStringLiteral("longer than four"));
    }

    void readOnlyFieldIgnoresTyping() {
        Open([](FormWnd& form) {
            AddNew<TextField>(form, "Fld", kPlainFldLayout);
            SetProperties(*Find<TextField>(form, "Fld"),
                          {{"ReadOnly", Boolean{true}}, {"Value", String{"fixed"}}});
        });
        const auto field = Find<TextField>(*form_, "Fld");
        field->SetFocus();
        QTest::keyClicks(field->Widget(), "abc");
        QTest::keyClick(field->Widget(), Qt::Key_Backspace);
        QCOMPARE(field->Text(), std::string("fixed"));
    }

    void keyDownHandlerThatReturnsTrueSwallowsTheKey() {
        Open([this](FormWnd& form) {
            const auto field = AddNew<TextField>(form, "Fld", kPlainFldLayout);
            RuntimeAddEventHandler(field, RectControl::kKeyDownEvent,
                                   RuntimeCreateDelegate(&Recorder::KeyDown, recorder_,
                                                         "( TextField, String ) as Boolean"));
        });
        const auto field = Find<TextField>(*form_, "Fld");
        field->SetFocus();
        QTest::keyClicks(field->Widget(), "axb");
        QCOMPARE(field->Text(), std::string("ab"));
        QCOMPARE(recorder_->keys, std::string("Fld:a Fld:x Fld:b "));
    }

    void pushButtonRaisesMouseDownOnThePressAndActionOnTheRelease() {
        Open([this](FormWnd& form) { AddButton(form, "Btn", kLeftBtnLayout); });
        QWidget* button = Find<PushButton>(*form_, "Btn")->Widget();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 6));
        QCOMPARE(recorder_->mouseDowns, std::vector<std::string>{"Btn 5,6"});
        QVERIFY(recorder_->actions.empty());
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 6));
        QCOMPARE(recorder_->actions, std::vector<std::string>{"Btn"});
    }

    void mouseDownHandlerThatReturnsTrueKeepsThePressFromTheButton() {
        Open([this](FormWnd& form) { AddButton(form, "Btn", kLeftBtnLayout); });
        recorder_->keepPress = true;
        const auto button = Find<PushButton>(*form_, "Btn");
        QTest::mouseClick(button->Widget(), Qt::LeftButton);
        QCOMPARE(recorder_->mouseDowns.size(), std::size_t{1});
        QVERIFY(recorder_->actions.empty());
    }

    void returnPressesTheFirstDefaultButton() {
        Open([this](FormWnd& form) {
            AddNew<TextField>(form, "AFld", kMaskedFldLayout);
            AddNew<TextField>(form, "Fld", kPlainFldLayout);
            for (const auto& [name, layout] :
                 {std::pair{"LeftBtn", kLeftBtnLayout}, std::pair{"RightBtn", kRightBtnLayout}}) {
                SetProperties(*AddButton(form, name, layout), {{"Default", Boolean{true}}});
            }
        });
        const auto plain = Find<TextField>(*form_, "Fld");
        plain->SetFocus();
        QTest::keyClick(plain->Widget(), Qt::Key_Return);
        QCOMPARE(recorder_->actions, std::vector<std::string>{"LeftBtn"});
        const auto masked = Find<TextField>(*form_, "AFld");
        masked->SetFocus();
        QTest::keyClick(masked->Widget(), Qt::Key_Return);
        QCOMPARE(recorder_->actions, (std::vector<std::string>{"LeftBtn", "LeftBtn"}));
        QVERIFY(recorder_->mouseDowns.empty());
    }

    void tabFollowsTheTabIndexes() {
        Open([](FormWnd& form) {
            // Made in the reverse of their tab order.
            for (const auto& [name, index] :
                 {std::pair{"Third", 2}, std::pair{"Second", 1}, std::pair{"First", 0}}) {
                const auto field = AddNew<TextField>(form, name, kPlainFldLayout);
                SetProperties(*field, {{"TabIndex", Integer{index}}});
            }
        });
        Find<TextField>(*form_, "First")->SetFocus();
        QTRY_VERIFY(Find<TextField>(*form_, "First")->Widget()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(Find<TextField>(*form_, "Second")->Widget()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(Find<TextField>(*form_, "Third")->Widget()->hasFocus());
    }

    void textAreaBreaksLinesWithCR() {
        Open([](FormWnd& form) { AddNew<TextArea>(form, "Area", kPlainFldLayout); });
        const auto area = Find<TextArea>(*form_, "Area");
        area->SetText("First\rSecond\r\nThird");
        QCOMPARE(static_cast<QTextEdit*>(area->Widget())->document()->blockCount(), 3);
        QCOMPARE(area->Text(), std::string("First\rSecond\rThird"));
        area->SetText("");
        area->SetFocus();
        QTest::keyClicks(area->Widget(), "a");
        QTest::keyClick(area->Widget(), Qt::Key_Return);
        QTest::keyClicks(area->Widget(), "b");
        QCOMPARE(area->Text(), std::string("a\rb"));
    }

    void canvasShowsItsBackdrop() {
        QTemporaryDir folder;
        QImage red(8, 8, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(folder.filePath("red.png")));
        const std::string defaultFolder = ResourceFolder();
        SetResourceFolder(folder.path().toStdString());
        const auto picture = Picture::_OpenFromApp("red.png");
        SetResourceFolder(defaultFolder);
        QVERIFY(picture);

        Open([](FormWnd& form) { AddNew<Canvas>(form, "Canvas", kPlainFldLayout); });
        const auto canvas = Find<Canvas>(*form_, "Canvas");
        auto centre = [&] {
            return canvas->Widget()->grab().toImage().pixelColor(100, 12).toRgb();
        };
        QVERIFY(centre() != QColor(Qt::red));
        canvas->SetBackdrop(picture);
        QCOMPARE(centre(), QColor(Qt::red));
        canvas->SetBackdrop(nullptr);
        QVERIFY(centre() != QColor(Qt::red));
    }

    // State: timers with a 10 ms period in each run mode.
    // Action: the repeating one fires five times.
    // Expected: the single one has fired once and turned itself off; the off one never.
    void timerRunModesFireOnceRepeatedlyOrNever() {
        const auto once = std::make_shared<Recorder>();
        const auto repeating = std::make_shared<Recorder>();
        const auto off = std::make_shared<Recorder>();
        const auto onceTimer = NewTimer(once, Timer::kRunModeSingle);
        const auto repeatingTimer = NewTimer(repeating, Timer::kRunModeMultiple);
        const auto offTimer = NewTimer(off, Timer::kRunModeOff);
        QTRY_VERIFY(repeating->ticks >= 5);
        QCOMPARE(once->ticks, 1);
        QCOMPARE(onceTimer->RunMode(), Timer::kRunModeOff);
        QCOMPARE(off->ticks, 0);

        // Run mode 1 again starts one more period.
        onceTimer->SetRunMode(Timer::kRunModeSingle);
        QTRY_COMPARE(once->ticks, 2);
    }

    void messageBoxReturnsWhenAnswered() {
        Open([this](FormWnd& form) {
            const auto button = AddNew<PushButton>(form, "SaveBtn", kLeftBtnLayout);
            RuntimeAddEventHandler(
                button, PushButton::kActionEvent,
                RuntimeCreateDelegate(&Recorder::Report, recorder_, "( PushButton )"));
        });
        const auto answer = AnswerNextMessageBox();
        QTest::mouseClick(Find<PushButton>(*form_, "SaveBtn")->Widget(), Qt::LeftButton);
        QVERIFY(answer->answered);
        QCOMPARE(answer->text, QStringLiteral("Saved"));
        QCOMPARE(recorder_->actions, std::vector<std::string>{"after the box"});
    }
};

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
