#include "testsupport.h"

#include "windows/aboutwnd.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"
#include "windows/pictures.h"

#include "framework/picture_p.h"

#include <QLineEdit>
#include <QTest>

namespace {

const QString kTestAMessage =
    QStringLiteral("Reliability for Test A must range from .0001 to .9999");
const QString kTestBMessage =
    QStringLiteral("Reliability for Test B must range from .0001 to .9999");
// An empty input shows only the point of its mask.
const QString kEmptyInput = QStringLiteral(".");

QLineEdit* Edit(const std::shared_ptr<TextField>& field) {
    return qobject_cast<QLineEdit*>(NotNil(field).Widget());
}

QWidget* Button(const std::shared_ptr<PushButton>& button) {
    return NotNil(button).Widget();
}

// Types into the field as a user would: a click to focus it, its old text
// selected and deleted, then the keys from the start of the field.
void TypeInto(const std::shared_ptr<TextField>& field, const QString& keys) {
    QLineEdit* edit = Edit(field);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClicks(edit, keys);
}

// Presses OK on any message box that opens while it lives and keeps its
// text, so that a box where none belongs fails the test instead of blocking it.
class UnexpectedMessageBoxes {
public:
    UnexpectedMessageBoxes() {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts << box->text();
            box->button(QMessageBox::Ok)->click();
        });
        poll_.start();
    }

    QStringList texts;

private:
    QTimer poll_;
};

} // namespace

class CalculatorTest : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<ControlWnd> calc_;

    // Presses Calculate where the inputs pass; gives the texts of any message
    // boxes that it opened all the same.
    QStringList calculate() {
        UnexpectedMessageBoxes boxes;
        QTest::mouseClick(Button(calc_->CalcBtn()), Qt::LeftButton);
        return boxes.texts;
    }

    void clearForm() { QTest::mouseClick(Button(calc_->ClearBtn()), Qt::LeftButton); }

    // Presses Calculate where an input fails and answers the message box.
    // Offscreen there is no window manager to give the calculator back its
    // activation once the box is gone, so the test does.
    QString calculateAnsweringTheBox() {
        const auto answer = AnswerNextMessageBox();
        QTest::mouseClick(Button(calc_->CalcBtn()), Qt::LeftButton);
        calc_->TopLevelWidget()->activateWindow();
        if (!QTest::qWaitForWindowActive(calc_->TopLevelWidget()))
            return QStringLiteral("(the calculator stays inactive)");
        return answer->answered ? answer->text : QStringLiteral("(no message box)");
    }

    bool resultOnShow() const {
        return Edit(calc_->DiffFld())->isVisible() && Edit(calc_->DiffFld())->isEnabled() &&
               Edit(calc_->MaxFld())->isVisible();
    }

private slots:
    void initTestCase() {
        StartVelk();
        // The splash's own timer would show the calculator again mid-test.
        NotNil(instance::AboutWnd()->Timer1()).SetRunMode(Timer::kRunModeOff);
        calc_ = instance::ControlWnd();
        QVERIFY(calc_);
        QVERIFY(QTest::qWaitForWindowActive(calc_->TopLevelWidget()));
    }

    // Runs first: every later test has changed the form.
    void firstShownFormHidesOnlyTheResultAndItsCaption() {
        QStringList hidden;
        for (const std::shared_ptr<Control>& control : calc_->Controls())
            if (auto rect = std::dynamic_pointer_cast<RectControl>(control))
                if (!rect->Widget()->isVisible())
                    hidden << QString::fromStdString(rect->Name());
        QCOMPARE(hidden, (QStringList{"DiffFld", "MaxFld"}));
        QCOMPARE(Edit(calc_->AFld())->text(), kEmptyInput);
        QCOMPARE(Edit(calc_->BFld())->text(), kEmptyInput);
        QCOMPARE(Edit(calc_->DiffFld())->text(), QString());
        QVERIFY(Edit(calc_->DiffFld())->isEnabled());
    }

    void showsTheMaximumValidityOfAcceptedInputs_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("typedA");
        QTest::addColumn<QString>("result");
        const auto row = [](const char* name, QString a, QString b, QString typedA,
                            QString result) { QTest::newRow(name) << a << b << typedA << result; };
        row("worked example, digits only", "86", "40", ".86", ".587");
        row("worked example, with points", ".86", ".40", ".86", ".587");
        row("lowest bounds", ".0001", ".0001", ".0001", ".000");
        row("highest bounds", ".9999", ".9999", ".9999", "1.000");
    }

    void showsTheMaximumValidityOfAcceptedInputs() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, typedA);
        QFETCH(QString, result);
        clearForm();
        TypeInto(calc_->AFld(), a);
        TypeInto(calc_->BFld(), b);
        QCOMPARE(Edit(calc_->AFld())->text(), typedA);
        QCOMPARE(calculate(), QStringList());
        QCOMPARE(Edit(calc_->DiffFld())->text(), result);
        QVERIFY(resultOnShow());
        QCOMPARE(Edit(calc_->MaxFld())->text(), QStringLiteral("Maximum Validity"));
    }

    void inputsTakeOnlyFourDigitsAfterTheirPoint() {
        TypeInto(calc_->AFld(), "123456");
        QCOMPARE(Edit(calc_->AFld())->text(), QStringLiteral(".1234"));
        TypeInto(calc_->BFld(), "1a.2-3");
        QCOMPARE(Edit(calc_->BFld())->text(), QStringLiteral(".123"));
    }

    void rejectsAnInputOutOfRange_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, QString a, QString b, QString message) {
            QTest::newRow(name) << a << b << message;
        };
        row("Test A empty", "", ".40", kTestAMessage);
        row("Test A lone point", ".", ".40", kTestAMessage);
        row("Test A zero", ".0000", ".40", kTestAMessage);
        row("Test B empty", ".86", "", kTestBMessage);
        row("Test B lone point", ".86", ".", kTestBMessage);
        row("Test B zero", ".86", ".0000", kTestBMessage);
        row("both, Test A first", "", ".0000", kTestAMessage);
    }

    // State: a cleared form, the inputs typed, the focus in the input that passes.
    // Action: Calculate, and OK on the message box.
    // Expected: only the first failing input is reported, emptied and focused.
    void rejectsAnInputOutOfRange() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, message);
        const bool testAFails = message == kTestAMessage;
        const std::shared_ptr<TextField> rejected = testAFails ? calc_->AFld() : calc_->BFld();
        const std::shared_ptr<TextField> other = testAFails ? calc_->BFld() : calc_->AFld();
        clearForm();
        TypeInto(calc_->AFld(), a);
        TypeInto(calc_->BFld(), b);
        QTest::mouseClick(Edit(other), Qt::LeftButton);
        const QString otherText = Edit(other)->text();

        QCOMPARE(calculateAnsweringTheBox(), message);

        QCOMPARE(Edit(rejected)->text(), kEmptyInput);
        QCOMPARE(Edit(other)->text(), otherText);
        QCOMPARE(QApplication::focusWidget(), Edit(rejected));
        QVERIFY(!Edit(calc_->DiffFld())->isVisible());
        QVERIFY(!Edit(calc_->MaxFld())->isVisible());
        // The user types the new value straight away.
        QTest::keyClicks(QApplication::focusWidget(), "5");
        QCOMPARE(Edit(rejected)->text(), QStringLiteral(".5"));
    }

    void rejectedInputLeavesTheEarlierResultOnShow_data() {
        QTest::addColumn<bool>("rejectTestA");
        QTest::newRow("Test A") << true;
        QTest::newRow("Test B") << false;
    }

    void rejectedInputLeavesTheEarlierResultOnShow() {
        QFETCH(bool, rejectTestA);
        clearForm();
        TypeInto(calc_->AFld(), ".86");
        TypeInto(calc_->BFld(), ".40");
        QCOMPARE(calculate(), QStringList());
        QCOMPARE(Edit(calc_->DiffFld())->text(), QStringLiteral(".587"));

        TypeInto(rejectTestA ? calc_->AFld() : calc_->BFld(), ".0000");
        QCOMPARE(calculateAnsweringTheBox(), rejectTestA ? kTestAMessage : kTestBMessage);

        QCOMPARE(Edit(calc_->AFld())->text(), rejectTestA ? kEmptyInput : QStringLiteral(".86"));
        QCOMPARE(Edit(calc_->BFld())->text(), rejectTestA ? QStringLiteral(".40") : kEmptyInput);
        QCOMPARE(Edit(calc_->DiffFld())->text(), QStringLiteral(".587"));
        QVERIFY(resultOnShow());
    }

    void acceptedCalculationLeavesFocusAndInputsAsTheyWere_data() {
        QTest::addColumn<bool>("focusInA");
        QTest::newRow("focus in Test A") << true;
        QTest::newRow("focus in Test B") << false;
    }

    void acceptedCalculationLeavesFocusAndInputsAsTheyWere() {
        QFETCH(bool, focusInA);
        clearForm();
        TypeInto(calc_->AFld(), "86");
        TypeInto(calc_->BFld(), "4");
        QLineEdit* focused = Edit(focusInA ? calc_->AFld() : calc_->BFld());
        QTest::mouseClick(focused, Qt::LeftButton);

        QCOMPARE(calculate(), QStringList());
        QCOMPARE(Edit(calc_->DiffFld())->text(), QStringLiteral(".587"));
        QCOMPARE(QApplication::focusWidget(), focused);
        QCOMPARE(Edit(calc_->AFld())->text(), QStringLiteral(".86"));
        QCOMPARE(Edit(calc_->BFld())->text(), QStringLiteral(".4"));

        QCOMPARE(calculate(), QStringList());
        QCOMPARE(Edit(calc_->DiffFld())->text(), QStringLiteral(".587"));
        QVERIFY(resultOnShow());
        QCOMPARE(QApplication::focusWidget(), focused);
    }

    void clearResetsTheFormFromEveryState_data() {
        QTest::addColumn<QString>("state");
        QTest::newRow("no result") << "no result";
        QTest::newRow("result on show") << "result";
        QTest::newRow("after a rejection") << "rejection";
    }

    // State: the form as the row says, the focus in Test B.
    // Action: Clear, then a new accepted calculation.
    // Expected: an empty form with the result hidden, then the new result on show.
    void clearResetsTheFormFromEveryState() {
        QFETCH(QString, state);
        clearForm();
        TypeInto(calc_->AFld(), ".86");
        TypeInto(calc_->BFld(), ".40");
        if (state != "no result")
            QCOMPARE(calculate(), QStringList());
        if (state == "rejection") {
            TypeInto(calc_->AFld(), ".0000");
            QCOMPARE(calculateAnsweringTheBox(), kTestAMessage);
        }
        QTest::mouseClick(Edit(calc_->BFld()), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), Edit(calc_->BFld()));

        clearForm();
        QVERIFY(!Edit(calc_->DiffFld())->isVisible());
        QVERIFY(!Edit(calc_->DiffFld())->isEnabled());
        QVERIFY(!Edit(calc_->MaxFld())->isVisible());
        QCOMPARE(Edit(calc_->AFld())->text(), kEmptyInput);
        QCOMPARE(Edit(calc_->BFld())->text(), kEmptyInput);
        QCOMPARE(QApplication::focusWidget(), Edit(calc_->AFld()));

        TypeInto(calc_->AFld(), "25");
        TypeInto(calc_->BFld(), "64");
        QCOMPARE(calculate(), QStringList());
        QCOMPARE(Edit(calc_->DiffFld())->text(), QStringLiteral(".400"));
        QVERIFY(resultOnShow());
    }

    void tabMovesTheFocusBetweenTheTwoInputsOnly() {
        // With the result on show, every control is there to take the focus.
        clearForm();
        TypeInto(calc_->AFld(), "86");
        TypeInto(calc_->BFld(), "40");
        QCOMPARE(calculate(), QStringList());
        QTest::mouseClick(Edit(calc_->AFld()), Qt::LeftButton);

        QWidgetList visited;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        QWidget* a = Edit(calc_->AFld());
        QWidget* b = Edit(calc_->BFld());
        QCOMPARE(visited, (QWidgetList{b, a, b, a}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), b);
    }

    void returnInAnInputPressesCalculate_data() {
        QTest::addColumn<bool>("inA");
        QTest::newRow("in Test A") << true;
        QTest::newRow("in Test B") << false;
    }

    void returnInAnInputPressesCalculate() {
        QFETCH(bool, inA);
        QCOMPARE(calc_->DefaultButton(), calc_->CalcBtn());
        clearForm();
        TypeInto(calc_->AFld(), "86");
        TypeInto(calc_->BFld(), "40");
        QLineEdit* field = Edit(inA ? calc_->AFld() : calc_->BFld());
        QTest::mouseClick(field, Qt::LeftButton);

        UnexpectedMessageBoxes boxes;
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(boxes.texts, QStringList());
        QCOMPARE(Edit(calc_->DiffFld())->text(), QStringLiteral(".587"));
        QVERIFY(resultOnShow());
        // Calculate, not Clear: the inputs keep their text.
        QCOMPARE(Edit(calc_->AFld())->text(), QStringLiteral(".86"));
        QCOMPARE(QApplication::focusWidget(), field);
    }

    void windowKeepsTheSizeAndPlacesOfItsLayouts() {
        QWidget* window = calc_->TopLevelWidget();
        QCOMPARE(window->windowTitle(), QStringLiteral("Velk"));
        QCOMPARE(calc_->Content()->size(), QSize(500, 400));
        window->resize(window->width() + 100, window->height() + 100);
        QCOMPARE(calc_->Content()->size(), QSize(500, 400));
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

        QCOMPARE(Edit(calc_->AFld())->geometry(), QRect(380, 196, 60, 24));
        QCOMPARE(Edit(calc_->BFld())->geometry(), QRect(380, 232, 60, 24));
        QCOMPARE(Edit(calc_->DiffFld())->geometry(), QRect(380, 281, 60, 24));
        QCOMPARE(Button(calc_->CalcBtn())->geometry(), QRect(20, 345, 80, 40));
        QCOMPARE(Button(calc_->ClearBtn())->geometry(), QRect(400, 345, 80, 40));
        QCOMPARE(Button(calc_->QBtn())->geometry(), QRect(226, 345, 50, 40));

        // The small picture fills its canvas exactly, pixel for pixel.
        const std::shared_ptr<Canvas> canvas = calc_->Canvas1();
        QCOMPARE(canvas->Widget()->geometry(), QRect(11, 0, 139, 135));
        QVERIFY(Velk32());
        QCOMPARE(canvas->Backdrop(), Velk32());
        QCOMPARE(canvas->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 Velk32()->Data().image.convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(CalculatorTest)
#include "tst_calculator.moc"
