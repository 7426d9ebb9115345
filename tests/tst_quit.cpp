#include "testsupport.h"

// Quitting ends the process's event loop for good, so it has a process of its own.
class QuitTest : public QObject {
    Q_OBJECT

private slots:
    // State: Velk started and its calculator window shown.
    // Action: the toolkit ends the event loop with 3; in the loop again, the
    // calculator window is closed.
    // Expected: each time the loop returns, and the exit status is 3, then 0.
    void theEventLoopsCodeIsTheExitStatusAndClosingTheCalculatorGivesZero() {
        const std::shared_ptr<ControlWnd> calc = StartVelkAtTheCalculator();
        QVERIFY(QTest::qWaitForWindowActive(calc->TopLevelWidget()));
        QTimer::singleShot(0, [] { QApplication::exit(3); });
        RuntimeRun();
        QCOMPARE(RuntimeExit(), 3);

        QTimer::singleShot(0, [&calc] { calc->TopLevelWidget()->close(); });
        // Ends the loop should the close not quit: the test fails, not hangs.
        QTimer::singleShot(10000, [] { QApplication::exit(1); });
        RuntimeRun();
        QVERIFY(!calc->Visible());
        RuntimePerformFinalizers();
        QCOMPARE(RuntimeExit(), 0);
    }
};

QTEST_MAIN(QuitTest)
#include "tst_quit.moc"
