#include "app/filetypes.h"
#include "app/startup.h"

#include "framework/filetype.h"
#include "framework/qtobjects.h"
#include "framework/runtime.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class StartupFailureTest : public QObject {
    Q_OBJECT

private slots:
    // State: the platform refuses the first file type that start-up registers.
    // Action: the whole start-up and shut-down, as the entry point runs them.
    // Expected: start-up stops there, is reported once, shuts down normally
    // and exits with a failure status.
    void refusedFileTypeStopsStartupAndShutdownStillRuns() {
        SetFileTypeRegistryObserver([](const FileTypeRegistration&, bool registering) {
            if (registering)
                throw RuntimeException("The platform refuses the file type");
        });
        int finalizerRuns = 0;
        RuntimeAddFinalizer([&finalizerRuns] { ++finalizerRuns; });
        const int reportsBefore = UnhandledExceptionCount();
        bool eventLoopRan = false;
        QObject loopProbe;
        // Exits the event loop at its first turn, should start-up reach it.
        QTimer::singleShot(0, &loopProbe, [&eventLoopRan] {
            eventLoopRan = true;
            QApplication::exit(0);
        });

        RuntimeInit();
        RuntimePerformInitializers(kApplicationInitializers);
        Main();

        QCOMPARE(UnhandledExceptionCount() - reportsBefore, 1);
        QVERIFY(!eventLoopRan);
        QVERIFY(!GetAppObject());
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        // Every menu item and timer the framework makes hangs under its object root.
        QVERIFY(QtObjectRoot()->children().isEmpty());
        QCOMPARE(FileTypes::pAllFileTypes.size(), std::size_t{1});
        QVERIFY(RegisteredFileTypes().empty());

        QCOMPARE(finalizerRuns, 0);
        RuntimePerformFinalizers();
        QCOMPARE(finalizerRuns, 1);
        QCOMPARE(RuntimeExit(), 1);
    }
};

QTEST_MAIN(StartupFailureTest)
#include "tst_startupfailure.moc"
