#include "testsupport.h"

#include "windows/aboutwnd.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"
#include "windows/qwindow.h"

#include "framework/runtime.h"
#include "framework/textarea.h"
#include "framework/timer.h"
#include "framework/window.h"

#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <algorithm>

namespace {

const QString kExplanation = QStringLiteral(
    "Score reliability has an effect on validity. In fact, the maximum validity coefficient of "
    "two test scores is limited by the reliability of those test scores. From classical theory, "
    "the maximum validity coefficient is the square root of the product of the two reliability "
    "coefficients. For example, if test A scores have reliability of .86 and test B scores have "
    "reliability of .40 then the correlation between test A and test B can be no higher than "
    ".587. As illustrated, the reliability of all variables should be considered when "
    "conducting validity studies or interpreting the correlation between test scores.");

const QString kDisclaimer = QStringLiteral(
    "Author makes no warranty, expressed or implied, respecting Velk, including, but not limited "
    "to, warranties of merchantability or fitness for particular purpose. This software must be "
    "used with care and applied in conjunction with professional judgment to determine the "
    "appropriateness of results. The user is expected to possess the necessary professional "
    "qualifications and skills to properly use this software. The user assumes complete "
    "responsibility for any decisions or reports based on information obtained from this "
    "software. The author assumes no liability to the user nor any third party with respect to "
    "the user's activities or application of this software nor for any damages arising out of "
    "any miscalculation or misuse by the user.");

const QChar kCopyrightSign(0x00A9);

QPushButton* QuestionButton() {
    return qobject_cast<QPushButton*>(NotNil(instance::ControlWnd()->QBtn()).Widget());
}

// The help window the framework holds; looking it up builds nothing.
std::shared_ptr<Qwindow> HeldHelpWindow() {
    return RuntimeCheckCast<Qwindow>(GetImplicitWindow("Qwindow.Qwindow"));
}

int HelpWindowCount() {
    const auto windows = ImplicitWindows();
    return static_cast<int>(std::ranges::count_if(
        windows, [](const auto& window) { return window->Class().name == "Qwindow.Qwindow"; }));
}

int FormulaWidgetCount() {
    const auto widgets = QApplication::topLevelWidgets();
    return static_cast<int>(std::ranges::count_if(widgets, [](const QWidget* widget) {
        return widget->windowTitle() == QLatin1String("Formula");
    }));
}

QTextEdit* HelpText(const Qwindow& help) {
    return qobject_cast<QTextEdit*>(NotNil(help.StaticText1()).Widget());
}

// Resizes the help window so that its content area gets the size asked for.
void ResizeContent(const Window& window, QSize content) {
    QWidget* top = window.TopLevelWidget();
    const int menuHeight = top->height() - window.Content()->height();
    top->resize(content.width(), content.height() + menuHeight);
}

// Counts the mouse presses and key presses that an object receives itself.
class PressCounter : public QObject {
public:
    int mousePresses = 0;
    int keyPresses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress)
            ++mousePresses;
        else if (event->type() == QEvent::KeyPress)
            ++keyPresses;
        return false;
    }
};

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        StartVelk();
        // Dismiss the splash as its timer would, then stop that timer: it
        // would otherwise activate the calculator in the middle of a test.
        const auto about = instance::AboutWnd();
        NotNil(about->Timer1()).CallAction();
        about->Timer1()->SetRunMode(Timer::kRunModeOff);
        QVERIFY(QTest::qWaitForWindowActive(instance::ControlWnd()->TopLevelWidget()));
    }

    void cleanup() { QCOMPARE(UnhandledExceptionCount(), 0); }

    // State: no help window yet.
    // Action: the mouse button goes down on "?", then comes up beside it.
    // Expected: "Formula" is on screen before the release and stays there.
    void pressOnQuestionMarkOpensFormulaBeforeTheRelease() {
        QVERIFY(!HeldHelpWindow());

        QTest::mousePress(QuestionButton(), Qt::LeftButton);

        const auto help = HeldHelpWindow();
        QVERIFY(help);
        QVERIFY(help->Visible());
        QCOMPARE(help->TopLevelWidget()->windowTitle(), QStringLiteral("Formula"));
        QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        QTRY_COMPARE(help->Content()->size(), QSize(500, 460));

        QVERIFY(QuestionButton()->isDown());
        QTest::mouseRelease(QuestionButton(), Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(!QuestionButton()->isDown());
        QVERIFY(help->Visible());
        QCOMPARE(HelpWindowCount(), 1);
        QVERIFY(help->TopLevelWidget()->isActiveWindow());
    }

    void helpWindowHasOnlyACloseButton() {
        const Qt::WindowFlags flags = NotNil(HeldHelpWindow()).TopLevelWidget()->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void helpTextHoldsFiveParagraphs() {
        const QString text = HelpText(NotNil(HeldHelpWindow()))->toPlainText();
        QCOMPARE(text.count(QLatin1Char('\n')), 9);
        const QStringList lines = text.split(QLatin1Char('\n'));
        // Paragraph, blank, paragraph, two blanks, then three paragraphs
        // each after one blank line.
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0], kExplanation);
        QVERIFY(lines[1].isEmpty());
        QVERIFY(!lines[2].isEmpty());
        QVERIFY(lines[3].isEmpty());
        QVERIFY(lines[4].isEmpty());
        QVERIFY(lines[5].startsWith(kCopyrightSign + QStringLiteral(" 2016-2020")));
        QVERIFY(lines[5].contains(QStringLiteral("All rights reserved")));
        QVERIFY(lines[6].isEmpty());
        QVERIFY(lines[7].startsWith(QStringLiteral("Reference as:")));
        QVERIFY(lines[7].contains(QStringLiteral("2020")));
        QVERIFY(lines[7].contains(QStringLiteral("Velk")));
        QVERIFY(lines[8].isEmpty());
        QCOMPARE(lines[9], kDisclaimer);
    }

    void copyrightSignShowsAsOneCharacter() {
        const QString text = HelpText(NotNil(HeldHelpWindow()))->toPlainText();
        QCOMPARE(text.count(kCopyrightSign), 1);
        // Read byte by byte, the sign's UTF-8 lead byte would show as Â.
        QVERIFY(!text.contains(QChar(0x00C2)));
        const auto outsideAscii =
            std::ranges::count_if(text, [](QChar c) { return c.unicode() > 127; });
        QCOMPARE(outsideAscii, 1);
    }

    void textAreaCoversTheWindowAndFollowsItsEdges_data() {
        QTest::addColumn<QSize>("content");
        QTest::newRow("as opened") << QSize(500, 460);
        QTest::newRow("larger") << QSize(800, 700);
        QTest::newRow("smaller") << QSize(300, 200);
        QTest::newRow("smallest") << QSize(64, 64);
        QTest::newRow("back as opened") << QSize(500, 460);
    }

    // The area starts one pixel beyond the left and top edges, at the
    // window's own size, and keeps that placement as the window resizes.
    void textAreaCoversTheWindowAndFollowsItsEdges() {
        QFETCH(QSize, content);
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        ResizeContent(*help, content);
        QTRY_COMPARE(help->Content()->size(), content);
        QCOMPARE(HelpText(*help)->geometry(), QRect(QPoint(-1, -1), content));
    }

    void helpWindowStaysBetween64x64And1000x800() {
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        ResizeContent(*help, QSize(10, 10));
        QTRY_COMPARE(help->Content()->size(), QSize(64, 64));
        ResizeContent(*help, QSize(3000, 3000));
        QTRY_COMPARE(help->Content()->size(), QSize(1000, 800));
        ResizeContent(*help, QSize(500, 460));
        QTRY_COMPARE(help->Content()->size(), QSize(500, 460));
        QCOMPARE(HelpText(*help)->geometry(), QRect(-1, -1, 500, 460));
    }

    // State: the help window open, the calculator brought to the front.
    // Action: "?" pressed three times.
    // Expected: one help window, shown and in front.
    void repeatedPressesKeepOneHelpWindow() {
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        for (int press = 0; press < 3; ++press) {
            instance::ControlWnd()->Show();
            QVERIFY(QTest::qWaitForWindowActive(instance::ControlWnd()->TopLevelWidget()));
            QTest::mouseClick(QuestionButton(), Qt::LeftButton);
            QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        }
        QCOMPARE(HelpWindowCount(), 1);
        QCOMPARE(FormulaWidgetCount(), 1);
        QCOMPARE(HeldHelpWindow(), help);
        QVERIFY(help->Visible());
    }

    void closeButtonHidesItAndQuestionMarkShowsItAgain() {
        const auto closed = HeldHelpWindow();
        QVERIFY(closed);
        closed->TopLevelWidget()->close();
        QVERIFY(!closed->Visible());
        // Closing the help window leaves the calculator open, and the user
        // brings it to the front to press "?".
        QVERIFY(instance::ControlWnd()->Visible());
        instance::ControlWnd()->Show();
        QVERIFY(QTest::qWaitForWindowActive(instance::ControlWnd()->TopLevelWidget()));

        QTest::mouseClick(QuestionButton(), Qt::LeftButton);

        const auto help = HeldHelpWindow();
        QVERIFY(help);
        QVERIFY(help->Visible());
        QCOMPARE(HelpWindowCount(), 1);
        QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
    }

    void typingIntoTheHelpTextChangesWhatItShows() {
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        QTextEdit* area = HelpText(*help);
        QTRY_VERIFY(area->hasFocus());

        QTest::keyClick(area, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(area, "Read this: ");

        QVERIFY(area->toPlainText().startsWith(QStringLiteral("Read this: Score reliability")));
    }

    // State: the help window in front.
    // Action: presses in the one-pixel strips along the right and bottom
    // edges that the text area leaves uncovered.
    // Expected: each reaches the window itself, and nothing changes.
    void pressInTheUncoveredStripDoesNothing() {
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        QWidget* content = help->Content();
        const QSize size = content->size();
        const QPoint rightStrip(size.width() - 1, size.height() / 2);
        const QPoint bottomStrip(size.width() / 2, size.height() - 1);
        QCOMPARE(content->childAt(rightStrip), nullptr);
        QCOMPARE(content->childAt(bottomStrip), nullptr);
        const QString textBefore = HelpText(*help)->toPlainText();
        PressCounter counter;
        content->installEventFilter(&counter);

        for (const QPoint& at : {rightStrip, bottomStrip}) {
            const QPoint inWindow = content->mapTo(help->TopLevelWidget(), at);
            QTest::mousePress(help->TopLevelWidget()->windowHandle(), Qt::LeftButton, {}, inWindow);
            QTest::mouseRelease(help->TopLevelWidget()->windowHandle(), Qt::LeftButton, {},
                                inWindow);
        }

        QCOMPARE(counter.mousePresses, 2);
        QVERIFY(help->Visible());
        QVERIFY(help->TopLevelWidget()->isActiveWindow());
        QCOMPARE(HelpText(*help)->toPlainText(), textBefore);
        QCOMPARE(HelpWindowCount(), 1);
        QVERIFY(!instance::AboutWnd()->Visible());
    }

    // State: the help window in front, its text area focused.
    // Action: Escape, which the text area passes on to the window.
    // Expected: the window receives it and nothing changes.
    void keyReachingTheWindowDoesNothing() {
        const auto help = HeldHelpWindow();
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowActive(help->TopLevelWidget()));
        QTextEdit* area = HelpText(*help);
        const QString textBefore = area->toPlainText();
        PressCounter counter;
        help->TopLevelWidget()->installEventFilter(&counter);

        QTest::keyClick(area, Qt::Key_Escape);

        QCOMPARE(counter.keyPresses, 1);
        QVERIFY(help->Visible());
        QVERIFY(help->TopLevelWidget()->isActiveWindow());
        QCOMPARE(area->toPlainText(), textBefore);
        QCOMPARE(HelpWindowCount(), 1);
        QVERIFY(!instance::AboutWnd()->Visible());
    }
};

QTEST_MAIN(HelpWindowTest)
#include "tst_helpwindow.moc"
