#include "testsupport.h"

#include "app/velk.h"
#include "windows/qwindow.h"

#include "framework/menuitem.h"
#include "framework/textarea.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>

namespace {

// An empty input shows only the point of its mask.
const QString kEmptyInput = QStringLiteral(".");

MenuItem& ItemNamed(const std::string& name) {
    return NotNil(NotNil(NotNil(App()).GetMenuBar()).Lookup(name));
}

// The help window the framework holds; looking it up builds nothing.
std::shared_ptr<Qwindow> HeldHelpWindow() {
    return RuntimeCheckCast<Qwindow>(GetImplicitWindow("Qwindow.Qwindow"));
}

QTextEdit* HelpText(const Qwindow& help) {
    return qobject_cast<QTextEdit*>(NotNil(help.StaticText1()).Widget());
}

} // namespace

// The calculator window and the help window it opens.
class CalculatorTest : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<ControlWnd> calc_;
    std::shared_ptr<AboutWnd> about_;
    MessageBoxAnswerer answerer_;

    QLineEdit* fieldA() const { return FieldEdit(calc_->AFld()); }
    QLineEdit* fieldB() const { return FieldEdit(calc_->BFld()); }
    QLineEdit* result() const { return FieldEdit(calc_->DiffFld()); }
    QWidget* button(const std::shared_ptr<PushButton>& button) { return NotNil(button).Widget(); }

    void clearForm() { QTest::mouseClick(button(calc_->ClearBtn()), Qt::LeftButton); }

    // Clear, then the two inputs typed as a user does, Tab between them.
    void enterInputs(const QString& a, const QString& b) {
        clearForm();
        TypeKeys(a);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        TypeKeys(b);
    }

    void activateCalculator() {
        calc_->Show();
        QVERIFY(QTest::qWaitForWindowActive(calc_->TopLevelWidget()));
    }

    // Presses Calculate, or the key (Return or the keypad's Enter) in the
    // field given; gives the texts of the message boxes that opened, each
    // answered OK. Offscreen no window manager activates the calculator again
    // after a box, so the test does.
    QStringList calculate(QWidget* keyIn = nullptr, int key = Qt::Key_Return) {
        answerer_.texts.clear();
        if (keyIn)
            QTest::keyClick(keyIn, Qt::Key(key),
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        else
            QTest::mouseClick(button(calc_->CalcBtn()), Qt::LeftButton);
        activateCalculator();
        return answerer_.texts;
    }

    bool resultOnShow() const {
        return result()->isVisible() && result()->isEnabled() &&
               FieldEdit(calc_->MaxFld())->isVisible();
    }

private slots:
    void initTestCase() {
        calc_ = StartVelkAtTheCalculator();
        about_ = instance::AboutWnd();
        qApp->installEventFilter(&answerer_);
    }

    // Every test starts with the calculator active, which hides the About
    // window: one that a failed test left on its way to the front gets there first.
    void init() {
        if (about_->Visible())
            QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
        activateCalculator();
        QVERIFY(!about_->Visible());
    }

    void cleanup() { QCOMPARE(UnhandledExceptionCount(), 0); }

    // Runs first: every later test changes the form.
    void firstShownFormHidesOnlyTheResultAndItsCaption() {
        QStringList hidden;
        for (const std::shared_ptr<Control>& control : calc_->Controls())
            if (auto rect = std::dynamic_pointer_cast<RectControl>(control))
                if (!rect->Widget()->isVisible())
                    hidden << QString::fromStdString(rect->Name());
        QCOMPARE(hidden, (QStringList{"DiffFld", "MaxFld"}));
    }

    void enteredDigitsFillTheInputFromItsPoint_data() {
        QTest::addColumn<bool>("inB");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const auto row = [](bool inB, const QString& steps, const QString& text, QString shown,
                            const QString& via = "keys") {
            const QString name =
                QStringLiteral("%1: %2, %3 %4").arg(inB ? "B" : "A", steps, via, text);
            QTest::newRow(qPrintable(name)) << inB << steps << via << text << shown;
        };
        // The first thing a user does: type at once when the calculator appears.
        row(false, "", "86", ".86");
        // The comma is the point, from the keypad too.
        for (const char* via : {"keys", "keypad"})
            for (const char* typed : {"0.86", ".86", "8.6", "0,86", "8,6"})
                row(false, "Clear", typed, ".86", via);
        row(false, "Clear", "00.4", ".4");
        row(true, "Clear Tab", "0.86", ".86");
        row(true, "Clear Tab", "86", ".86");
        row(false, "Clear 4 Tab Tab", "0.86", ".86");
        row(false, "Clear Calculate", "86", ".86");
        row(true, "Clear 4 Calculate", "40", ".40");
        // With the result on show, Tab and Shift+Tab go only between the
        // inputs, and select a filled one's number whole.
        row(false, "Clear 86 Tab 40 Calculate Tab", "5", ".5");
        row(true, "Clear 86 Tab 40 Calculate Shift+Tab Shift+Tab", "5", ".5");
        for (const QString at : {"left", "middle", "right"}) {
            row(false, "Clear Tab click-" + at, "5", ".5");
            row(true, "Clear click-" + at, "5", ".5");
        }
        for (const bool inB : {false, true}) {
            const QString fill = inB ? "Clear Tab 86 Tab " : "Clear 86 Tab ";
            row(inB, fill + "click-left", "5", ".56");
            row(inB, fill + "click-middle", "5", ".85");
            row(inB, fill + "click-right", "5", ".865");
        }
        // A selection from the point deleted leaves the caret after it.
        for (const QString deletion : {"Backspace", "Delete", "Ctrl+X"}) {
            row(false, "Clear 86 Shift+Home " + deletion, "", ".");
            row(false, "Clear 86 drag-from-right " + deletion, "", ".");
        }
        // Pasted text is one number, taken whole or refused whole, into a
        // field whose number no part of the pasted text would give.
        const QString filled = "Clear 75 Tab 40 Tab";
        for (const char* number : {".86", "0.86", " 0.86\n", "0,86", ",86"})
            row(false, filled, number, ".86", "Ctrl+V");
        for (const char* via : {"Shift+Ins", "Edit > Paste", "context Paste", "drop"}) {
            row(false, filled, "0.8600", ".86", via);
            row(false, filled, "1.25", ".75", via);
        }
        for (const char* refused : {"-.5", "1e308", "99999999999999999999", "86", "0.86753", "",
                                    "1", "1.0", "1,5", "0,8,6", "0.8.6"})
            row(false, filled, refused, ".75", "Ctrl+V");
        // What Copy and Cut put on the clipboard, which keeps its text when
        // the selection holds no digit.
        for (const char* via : {"Ctrl+C", "Ctrl+Ins", "Edit > Copy", "context Copy"})
            row(true, "Clear Tab 86 Ctrl+A", ".86", ".86", via);
        for (const char* via : {"Ctrl+X", "Shift+Del", "Edit > Cut", "context Cut"})
            row(true, "Clear Tab 86 Ctrl+A", ".86", ".", via);
        for (const char* via :
             {"Ctrl+C", "Edit > Copy", "context Copy", "Ctrl+X", "Edit > Cut", "context Cut"})
            row(true, "Clear Tab Ctrl+A", "kept", ".", via);
    }

    // State: the form after the row's steps, done as a user does them; runs
    // first after the form's first look, so that its first row finds the
    // calculator as it appeared.
    // Action: the row's text typed, pasted, or copied with the row's way.
    // Expected: the input shows the number from its point on, with the caret
    // after the point; a copy leaves the row's text on the clipboard; the
    // Edit item and the context-menu item are on exactly where they act.
    void enteredDigitsFillTheInputFromItsPoint() {
        QFETCH(bool, inB);
        QFETCH(QString, steps);
        QFETCH(QString, via);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QLineEdit* input = inB ? fieldB() : fieldA();
        const int middle = input->height() / 2;
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            if (step == "Clear")
                clearForm();
            else if (step == "Calculate")
                calculate();
            else if (step.startsWith("click-") || step.startsWith("drag-")) {
                const int x = step.endsWith("left")     ? 2
                              : step.endsWith("middle") ? input->width() / 2
                                                        : input->width() - 3;
                QTest::mousePress(input, Qt::LeftButton, {}, QPoint(x, middle));
                const QPoint end(step.startsWith("drag-") ? 0 : x, middle);
                QTest::mouseMove(input, end);
                QTest::mouseRelease(input, Qt::LeftButton, {}, end);
            } else if (step[0].isDigit())
                TypeKeys(step);
            else
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(step));
        }
        QCOMPARE(QApplication::focusWidget(), input);
        const QString work = via.endsWith("Copy") || via == "Ctrl+C" || via == "Ctrl+Ins" ? "Copy"
                             : via.endsWith("Cut") || via == "Ctrl+X" || via == "Shift+Del"
                                 ? "Cut"
                                 : "Paste";
        QApplication::clipboard()->setText(work == "Paste" ? text : "kept");
        const QString before = input->text();
        const bool itemOn = ItemNamed("Edit" + work.toStdString()).Enabled();
        bool contextOn = itemOn;
        if (via == "keys")
            TypeKeys(text);
        else if (via == "keypad")
            QTest::keyClicks(input, text, Qt::KeypadModifier);
        else if (via.startsWith("Edit > "))
            ItemNamed("Edit" + work.toStdString()).Choose();
        else if (via.startsWith("context ")) {
            // A right click; the menu waits for its choice, queued into its loop.
            QTimer::singleShot(0, input, [&contextOn, work] {
                QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                for (QAction* action : menu ? menu->actions() : QList<QAction*>())
                    if (action->text().remove('&').startsWith(work)) {
                        contextOn = action->isEnabled();
                        QTest::mouseClick(menu, Qt::LeftButton, {},
                                          menu->actionGeometry(action).center());
                    }
                if (menu && menu->isVisible())
                    QTest::keyClick(menu, Qt::Key_Escape);
            });
            const QPoint at(2, middle);
            QContextMenuEvent click(QContextMenuEvent::Mouse, at, input->mapToGlobal(at));
            QApplication::sendEvent(input, &click);
        } else if (via == "drop") {
            QMimeData dragged;
            dragged.setText(text);
            const QPoint at = input->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &dragged, Qt::LeftButton, {});
            QApplication::sendEvent(input, &enter);
            QDropEvent drop(at, Qt::CopyAction, &dragged, Qt::LeftButton, {});
            QApplication::sendEvent(input, &drop);
        } else
            QTest::keySequence(input, QKeySequence(via));
        QCOMPARE(input->text(), shown);
        QVERIFY(input->hasSelectedText() ||
                (input->cursorPosition() >= 1 && input->cursorPosition() <= shown.size()));
        if (work != "Paste")
            QCOMPARE(QApplication::clipboard()->text(), text);
        const bool acted = work == "Paste" ? shown != before : text != "kept";
        if (via != "keys" && via != "keypad")
            QCOMPARE((QList<bool>{itemOn, contextOn}), (QList<bool>{acted, acted}));
    }

    void acceptedInputsShowTheResultAndKeepFocusAndInputs_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("focusInA");
        QTest::addColumn<int>("key");
        const auto row = [](const char* name, QString a, QString b, QString shown, bool focusInA,
                            int key) { QTest::newRow(name) << a << b << shown << focusInA << key; };
        row("digits only, Calculate", "86", "40", ".587", true, 0);
        row("with points, Calculate", ".86", ".40", ".587", false, 0);
        row("lowest, Return in Test A", ".0001", ".0001", ".000", true, Qt::Key_Return);
        row("highest, keypad Enter in Test B", ".9999", ".9999", "1.000", false, Qt::Key_Enter);
    }

    void acceptedInputsShowTheResultAndKeepFocusAndInputs() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, shown);
        QFETCH(bool, focusInA);
        QFETCH(int, key);
        enterInputs(a, b);
        QLineEdit* focused = focusInA ? fieldA() : fieldB();
        QTest::mouseClick(focused, Qt::LeftButton);
        const QStringList inputs{fieldA()->text(), fieldB()->text()};

        QCOMPARE(calculate(key ? focused : nullptr, key), QStringList());

        QCOMPARE(result()->text(), shown);
        QVERIFY(resultOnShow());
        QCOMPARE(QApplication::focusWidget(), focused);
        QCOMPARE((QStringList{fieldA()->text(), fieldB()->text()}), inputs);
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
        enterInputs(".86", ".40");
        if (state != "no result")
            QCOMPARE(calculate(), QStringList());
        if (state == "rejection") {
            QTest::keyClick(fieldB(), Qt::Key_Backtab);
            TypeKeys(".0000");
            QCOMPARE(calculate(), QStringList{kTestAMessage});
        }
        QTest::mouseClick(fieldB(), Qt::LeftButton);

        clearForm();
        QVERIFY(!result()->isVisible());
        QVERIFY(!FieldEdit(calc_->MaxFld())->isVisible());
        QCOMPARE((QStringList{fieldA()->text(), fieldB()->text()}),
                 (QStringList{kEmptyInput, kEmptyInput}));
        QCOMPARE(QApplication::focusWidget(), fieldA());

        enterInputs("25", "64");
        QCOMPARE(calculate(), QStringList());
        QCOMPARE(result()->text(), QStringLiteral(".400"));
        QVERIFY(resultOnShow());
    }

    void windowKeepsItsSizeAndTheControlsTheirPlaces() {
        QWidget* window = calc_->TopLevelWidget();
        window->resize(window->width() + 100, window->height() + 100);
        QCOMPARE(calc_->Content()->size(), QSize(500, 400));
    }

    // Text drawn at the layouts' size fits the controls drawn for it, at
    // any font DPI: a caption or caption of a button is never cut.
    void captionsAndButtonsShowTheirWholeText() {
        for (const auto& caption : {calc_->TextField1(), calc_->TextField2(), calc_->MaxFld()}) {
            QLineEdit* edit = FieldEdit(caption);
            QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) <= edit->width() - 4,
                     qPrintable(edit->text()));
        }
        const int margin = QApplication::style()->pixelMetric(QStyle::PM_ButtonMargin);
        for (const auto& control : {calc_->CalcBtn(), calc_->ClearBtn(), calc_->QBtn()}) {
            auto* push = qobject_cast<QPushButton*>(button(control));
            QVERIFY2(push->fontMetrics().horizontalAdvance(push->text()) <=
                         push->width() - 2 * margin,
                     qPrintable(push->text()));
        }
    }

    // State: no help window yet; the calculator, centred, moved near the bottom.
    // Action: the mouse button goes down on "?", then comes up beside it.
    // Expected: "Formula" is on screen before the release and stays there,
    // right of the calculator by a title bar, its frame above the screen's bottom.
    void pressOnQuestionMarkOpensFormulaBeforeTheRelease() {
        QVERIFY(!HeldHelpWindow());
        const QRect screen = QApplication::primaryScreen()->availableGeometry();
        QWidget* calculator = calc_->TopLevelWidget();
        QCOMPARE(calculator->frameGeometry().center(), screen.center());
        calculator->move(calculator->x(), screen.bottom() - 100);
        QTest::mousePress(button(calc_->QBtn()), Qt::LeftButton);
        const auto help = HeldHelpWindow();
        QVERIFY(help && help->Visible());
        QCOMPARE(help->TopLevelWidget()->windowTitle(), QStringLiteral("Formula"));
        QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        QTRY_COMPARE(help->Content()->size(), QSize(500, 460));
        QCOMPARE(help->TopLevelWidget()->frameGeometry().bottom(), screen.bottom());
        QCOMPARE(help->TopLevelWidget()->x() - calculator->x(),
                 QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
        QTest::mouseRelease(button(calc_->QBtn()), Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(help->Visible());
        QCOMPARE(ImplicitWindows().size(), std::size_t{3});
    }

    // Five one-line paragraphs; three CRs, not two, stand before the third.
    // The first works the calculator's own example.
    void helpTextHoldsFiveParagraphsAndOneCopyrightSign() {
        const QString text = HelpText(NotNil(HeldHelpWindow()))->toPlainText();
        QCOMPARE(QString(text).replace(QRegularExpression("[^\n]+"), "P"),
                 "P\n\nP\n\n\nP\n\nP\n\nP");
        for (const char* example : {"reliability of .86", "reliability of .40", "higher than .587"})
            QVERIFY2(text.section('\n', 0, 0).contains(example), example);
        // Read byte by byte, the sign's UTF-8 lead byte would show as Â.
        QCOMPARE(text.count(QChar(0x00A9)), 1);
        QVERIFY(!text.contains(QChar(0x00C2)));
    }

    void helpWindowKeepsTheTextOnAllFourEdgesWithinItsLimits_data() {
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("content");
        QTest::newRow("larger") << QSize(800, 700) << QSize(800, 700);
        QTest::newRow("smaller") << QSize(300, 200) << QSize(300, 200);
        QTest::newRow("below the minimum") << QSize(10, 10) << QSize(64, 64);
        QTest::newRow("above the maximum") << QSize(3000, 3000) << QSize(1000, 800);
        QTest::newRow("as opened") << QSize(500, 460) << QSize(500, 460);
    }

    // The text area starts one pixel beyond the left and top edges, at the
    // window's own size, and keeps that placement as the window resizes.
    void helpWindowKeepsTheTextOnAllFourEdgesWithinItsLimits() {
        QFETCH(QSize, asked);
        QFETCH(QSize, content);
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        QWidget* top = help->TopLevelWidget();
        top->resize(asked.width(), asked.height() + top->height() - help->Content()->height());
        QTRY_COMPARE(help->Content()->size(), content);
        QCOMPARE(HelpText(*help)->geometry(), QRect(QPoint(-1, -1), content));
    }

    // State: the help window open behind the calculator.
    // Action: "?" three times, the help window made smaller and closed, then "?" again.
    // Expected: always the one help window, shown again where it was left.
    void questionMarkKeepsOneHelpWindowAndReopensItAfterClosing() {
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        for (int press = 0; press < 3; ++press) {
            activateCalculator();
            QTest::mouseClick(button(calc_->QBtn()), Qt::LeftButton);
            QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        }
        help->TopLevelWidget()->resize(300, 200);
        const QPoint left = help->TopLevelWidget()->pos();
        help->TopLevelWidget()->close();
        QVERIFY(!help->Visible());
        activateCalculator();
        QTest::mouseClick(button(calc_->QBtn()), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        QCOMPARE(HeldHelpWindow(), help);
        QCOMPARE(help->TopLevelWidget()->pos(), left);
        QCOMPARE(ImplicitWindows().size(), std::size_t{3});
    }
};

QTEST_MAIN(CalculatorTest)
#include "tst_calculator.moc"
