#include "testsupport.h"

// Quitting ends the process's event loop for good, so it has a process of its own.
class QuitTest : public QObject {
    Q_OBJECT

private slots:
    // State: Velk started, its splash on screen.
    // Action: the splash closed at once, in the running event loop; then the
    // calculator, once the splash's timer has brought it.
    // Expected: only closing the calculator ends the loop, and the exit status is 0.
    void onlyClosingTheCalculatorEndsTheEventLoopWithCodeZero() {
        StartVelk();
        const std::shared_ptr<AboutWnd> about = instance::AboutWnd();
        QVERIFY(QTest::qWaitForWindowActive(about->TopLevelWidget()));

        std::shared_ptr<Window> calc;
        bool gaveUp = false;
        {
            QObject scope;
            QTimer::singleShot(0, &scope, [&about] { about->TopLevelWidget()->close(); });
            QTimer poll;
            poll.callOnTimeout(&scope, [&calc] {
                if (!calc && (calc = GetImplicitWindow("ControlWnd.ControlWnd")))
                    calc->TopLevelWidget()->close();
            });
            poll.start(50);
            // Ends the loop anyway should the close not quit, so the test fails
            // instead of hanging.
            QTimer::singleShot(10000, &scope, [&gaveUp] {
                gaveUp = true;
                QApplication::exit(1);
            });
            RuntimeRun();
        }
        QVERIFY(!gaveUp);
        QVERIFY2(calc, "the event loop ended before the calculator came");
        QVERIFY(!calc->Visible());
        RuntimePerformFinalizers();
        QCOMPARE(RuntimeExit(), 0);
    }
};

QTEST_MAIN(QuitTest)
#include "tst_quit.moc"
