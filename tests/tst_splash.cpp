#include "testsupport.h"

#include "windows/aboutwnd.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"
#include "windows/wrapper_timer1.h"

#include <QElapsedTimer>
#include <QTest>

#include <limits>

namespace {

// Counts the Actions of the timer it is told by.
class ActionCounter : public actionNotificationReceiver {
public:
    void PerformAction() override { ++actions; }
    int actions = 0;
};

} // namespace

// One run of Velk: the splash is dismissed early by a key, its timer still
// fires at the end of its period, and then the About window comes back and
// goes again in every way there is.
class SplashTest : public QObject {
    Q_OBJECT

private:
    QElapsedTimer sinceStart_;
    std::shared_ptr<AboutWnd> about_;
    std::shared_ptr<ActionCounter> timerActions_ = std::make_shared<ActionCounter>();
    std::shared_ptr<Window> calc_;

    // Brings the About window back, as its menu item does.
    void showAboutAgain() {
        instance::AboutWnd()->Show();
        QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
        QVERIFY(about_->Visible());
    }

    // What every dismissal leaves: the About window hidden and the one
    // calculator window shown and active.
    void checkDismissed() {
        QVERIFY(!about_->Visible());
        QCOMPARE(GetImplicitWindow("ControlWnd.ControlWnd"), calc_);
        QVERIFY(calc_->Visible());
        QVERIFY(QTest::qWaitForWindowActive(calc_->TopLevelWidget()));
        QCOMPARE(ImplicitWindows().size(), std::size_t{2});
        QCOMPARE(instance::AboutWnd(), about_);
    }

private slots:
    void initTestCase() {
        sinceStart_.start();
        StartVelk();
        about_ = instance::AboutWnd();
        NotNil(about_->Timer1()).addActionNotificationReceiver(timerActions_);
        QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
    }

    void keyPressDismissesTheSplashAndBuildsTheCalculator() {
        QVERIFY(about_->Visible());
        QVERIFY(!GetImplicitWindow("ControlWnd.ControlWnd"));
        QCOMPARE(QApplication::activeWindow(), about_->TopLevelWidget());

        QTest::keyClick(QApplication::activeWindow(), Qt::Key_Space);
        calc_ = GetImplicitWindow("ControlWnd.ControlWnd");
        QVERIFY(calc_);
        checkDismissed();
        QCOMPARE(timerActions_->actions, 0);
    }

    // State: the splash dismissed early by a key.
    // Action: the splash's timer reaches the end of its four seconds.
    // Expected: the About window stays hidden; the same calculator is shown.
    void timerFiringAfterAnEarlyDismissalBuildsNoSecondCalculator() {
        QTRY_COMPARE_WITH_TIMEOUT(timerActions_->actions, 1, 8000);
        // Qt may fire a coarse timer up to 5% early.
        QVERIFY2(sinceStart_.elapsed() >= 3800, qPrintable(QString::number(sinceStart_.elapsed())));
        checkDismissed();
    }

    void anyKeyDismissesTheAboutWindowShownAgain_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("letter") << int(Qt::Key_V);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("F1") << int(Qt::Key_F1);
    }

    void anyKeyDismissesTheAboutWindowShownAgain() {
        QFETCH(int, key);
        showAboutAgain();
        // Nothing in the About window takes the focus: keys go to the window itself.
        QCOMPARE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::activeWindow(), Qt::Key(key));
        checkDismissed();
    }

    void mousePressAnywhereDismissesTheAboutWindowShownAgain_data() {
        QTest::addColumn<QPoint>("position");
        QTest::newRow("background") << QPoint(10, 10);
        QTest::newRow("picture") << QPoint(200, 150);
        QTest::newRow("rights line") << QPoint(200, 330);
    }

    void mousePressAnywhereDismissesTheAboutWindowShownAgain() {
        QFETCH(QPoint, position);
        showAboutAgain();
        // The press goes where the user's pointer is: to whatever is drawn there.
        QWidget* content = about_->Content();
        QWidget* target = content->childAt(position);
        if (!target)
            target = content;
        const QPoint at = target->mapFrom(content, position);
        QTest::mousePress(target, Qt::LeftButton, {}, at);
        checkDismissed();
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    }

    void timerActionDismissesTheAboutWindowShownAgain() {
        showAboutAgain();
        NotNil(about_->Timer1()).CallAction();
        checkDismissed();
    }

    void activatingTheCalculatorHidesTheAboutWindowShownAgain() {
        showAboutAgain();
        calc_->TopLevelWidget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(calc_->TopLevelWidget()));
        checkDismissed();
    }

    // State: the About window shown again, the calculator behind it.
    // Action: the About window's close button, then the calculator activated.
    // Expected: the same About window stays the class's one instance, hidden.
    void closingTheAboutWindowKeepsItAsItsClassInstance() {
        const int reportsBefore = UnhandledExceptionCount();
        showAboutAgain();
        about_->TopLevelWidget()->close();
        QVERIFY(!about_->Visible());
        QCOMPARE(GetImplicitWindow("AboutWnd.AboutWnd"), std::static_pointer_cast<Window>(about_));

        calc_->TopLevelWidget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(calc_->TopLevelWidget()));
        checkDismissed();
        QCOMPARE(UnhandledExceptionCount(), reportsBefore);

        // It comes back whole, picture and all.
        showAboutAgain();
        QVERIFY(about_->Canvas1()->Backdrop());
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_Space);
        checkDismissed();
    }

    void timerKnowsItsWindowOnlyWeakly() {
        const auto splashTimer = RuntimeCheckCast<AboutWnd::_wrapper_Timer1>(about_->Timer1());
        QVERIFY(splashTimer);
        QCOMPARE(splashTimer->Window(), std::static_pointer_cast<Window>(about_));

        auto unplaced = std::make_shared<AboutWnd::_wrapper_Timer1>();
        unplaced->Constructor();
        QVERIFY(!unplaced->Window());

        auto window = std::make_shared<Window>();
        const auto timer = window->New<AboutWnd::_wrapper_Timer1>();
        timer->Constructor();
        window->AddControl("Timer1", timer);
        QCOMPARE(timer->Window(), window);
        const std::weak_ptr<Window> watched = window;
        window.reset();
        QVERIFY(watched.expired());
        QVERIFY(!timer->Window());

        timer->SetWindow(about_);
        QCOMPARE(timer->Window(), std::static_pointer_cast<Window>(about_));
        timer->SetWindow(nullptr);
        QVERIFY(!timer->Window());
    }

    void timerIndexHoldsAny64BitValue_data() {
        QTest::addColumn<qint64>("index");
        QTest::newRow("lowest") << std::numeric_limits<qint64>::min();
        QTest::newRow("lowest 32-bit") << qint64{-2147483648LL};
        QTest::newRow("minus one") << qint64{-1};
        QTest::newRow("zero") << qint64{0};
        QTest::newRow("past 32 bits") << qint64{4294967296LL};
        QTest::newRow("highest") << std::numeric_limits<qint64>::max();
    }

    void timerIndexHoldsAny64BitValue() {
        QFETCH(qint64, index);
        AboutWnd::_wrapper_Timer1 timer;
        timer.SetIndex(index);
        QCOMPARE(timer.Index(), index);
    }
};

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
