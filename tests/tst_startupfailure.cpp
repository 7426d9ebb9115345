#include "app/filetypes.h"
#include "app/startup.h"

#include "framework/filetype.h"
#include "framework/qtobjects.h"
#include "framework/runtime.h"
#include "framework/window.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

// State: the platform refuses the first file type that start-up registers.
// Action: the whole start-up and shut-down, as the entry point runs them.
// Expected: start-up stops there, is reported once, and shuts down normally.
class StartupFailureTest : public QObject {
    Q_OBJECT

private:
    int reportsBefore_ = 0;
    int reportsAfterMain_ = 0;
    int finalizerRuns_ = 0;
    int finalizerRunsAfterMain_ = 0;
    bool eventLoopRan_ = false;
    std::shared_ptr<Application> appAfterMain_;
    QWidgetList windowsAfterMain_;
    QObjectList frameworkObjectsAfterMain_;
    int32_t exitStatus_ = -1;

private slots:
    void initTestCase() {
        SetFileTypeRegistryObserver([](const FileTypeRegistration&, bool registering) {
            if (registering)
                throw RuntimeException("The platform refuses the file type");
        });
        RuntimeAddFinalizer([this] { ++finalizerRuns_; });
        reportsBefore_ = UnhandledExceptionCount();
        {
            // Exits the event loop at its first turn, should start-up reach it.
            QObject loopProbe;
            QTimer::singleShot(0, &loopProbe, [this] {
                eventLoopRan_ = true;
                QApplication::exit(0);
            });

            RuntimeInit();
            try {
                RuntimePerformInitializers(kApplicationInitializers);
                Main();
            } catch (const std::exception& exception) {
                UnhandledException(exception);
            }
            reportsAfterMain_ = UnhandledExceptionCount();
            finalizerRunsAfterMain_ = finalizerRuns_;
            appAfterMain_ = GetAppObject();
            windowsAfterMain_ = QApplication::topLevelWidgets();
            frameworkObjectsAfterMain_ = QtObjectRoot()->children();
        }
        RuntimePerformFinalizers();
        exitStatus_ = RuntimeExit();
    }

    void mainReportsTheFailureOnceAndReturnsWithoutTheEventLoop() {
        QCOMPARE(reportsAfterMain_ - reportsBefore_, 1);
        QVERIFY(!eventLoopRan_);
    }

    void noApplicationObjectMenuBarOrWindowIsMade() {
        QVERIFY(!appAfterMain_);
        // Every menu item and timer the framework makes hangs under its object root.
        QVERIFY(frameworkObjectsAfterMain_.isEmpty());
        QVERIFY(windowsAfterMain_.isEmpty());
        QVERIFY(ImplicitWindows().empty());
    }

    void registrationStopsAtTheRefusedType() {
        QVERIFY(RegisteredFileTypes().empty());
        QVERIFY(FileTypes::Text());
        QVERIFY(!FileTypes::Text()->Registered());
        QCOMPARE(FileTypes::pAllFileTypes.size(), std::size_t{1});
        QVERIFY(!FileTypes::UntitledType());
    }

    void finalizersRunOnceAndTheExitStatusIsZero() {
        QCOMPARE(finalizerRunsAfterMain_, 0);
        QCOMPARE(finalizerRuns_, 1);
        RuntimePerformFinalizers();
        QCOMPARE(finalizerRuns_, 1);
        QCOMPARE(exitStatus_, 0);
        QCOMPARE(UnhandledExceptionCount() - reportsBefore_, 1);
        // The test's own Qt application outlives the runtime's end.
        QVERIFY(QApplication::instance());
    }
};

QTEST_MAIN(StartupFailureTest)
#include "tst_startupfailure.moc"
