#include "framework/application.h"
#include "framework/filetype.h"
#include "framework/picture.h"
#include "framework/runtime.h"
#include "framework/weakref.h"
#include "framework/window.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;

// Raises what the function given as its argument raises.
void Throwing(void* raise) {
    calls.push_back("Throwing");
    (*static_cast<std::function<void()>*>(raise))();
}

void Succeeding(void*) {
    calls.push_back("Succeeding");
}

void FailingStartup() {
    calls.push_back("FailingStartup");
    throw NilObjectException("The default window is nil");
}

void Startup() {
    calls.push_back("Startup");
}

int helperCalls = 0;

std::exception_ptr CountingHelper(void (*function)(void*), void* argument) {
    ++helperCalls;
    return CallFunctionWithExceptionHandling(function, argument);
}

class HeldWnd : public Window {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
};

const ClassRecord HeldWnd::kClassRecord{"HeldWnd", "Window", {}};

// Runs the event loop with a deadline; false when the deadline ended it.
bool RunUntilQuit() {
    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QApplication::exit(99);
    });
    deadline.start(2000);
    RuntimeRun();
    return !timedOut;
}

QString Describe(const FileTypeRegistration& registration) {
    return QString::fromStdString(registration.name + "/" + registration.macType + "/" +
                                  registration.macCreator + "/" + registration.extensions);
}

QStringList Registered() {
    QStringList described;
    for (const FileTypeRegistration& registration : RegisteredFileTypes())
        described << Describe(registration);
    return described;
}

} // namespace

class RuntimeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        RuntimeInit();
        RuntimeInitExternalClasses();
    }

    void init() { calls.clear(); }

    void initializersRunInOrder() {
        RuntimePerformInitializers({[] { calls.push_back("first"); },
                                    [] { calls.push_back("second"); },
                                    [] { calls.push_back("third"); }});
        QCOMPARE(calls, (std::vector<std::string>{"first", "second", "third"}));
    }

    void exceptionHelperReturnsRuntimeExceptionsAndLetsOthersPass() {
        QVERIFY(!CallFunctionWithExceptionHandling(&Succeeding, nullptr));

        std::function<void()> missing = [] { throw KeyNotFoundException("No such key"); };
        const std::exception_ptr returned = CallFunctionWithExceptionHandling(&Throwing, &missing);
        QVERIFY(returned);
        QVERIFY_THROWS_EXCEPTION(KeyNotFoundException, std::rethrow_exception(returned));

        std::function<void()> other = [] { throw std::logic_error("not a runtime exception"); };
        QVERIFY_THROWS_EXCEPTION(std::logic_error,
                                 CallFunctionWithExceptionHandling(&Throwing, &other));
        QCOMPARE(calls, (std::vector<std::string>{"Succeeding", "Throwing", "Throwing"}));
    }

    void frameworkInitializationCallsBackThroughTheHelperAndRethrows() {
        RuntimeSetExceptionHelper(&CountingHelper);
        RunFrameworkInitialization(&Startup);
        QVERIFY_THROWS_EXCEPTION(NilObjectException, RunFrameworkInitialization(&FailingStartup));
        RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling);
        QCOMPARE(helperCalls, 2);
        QCOMPARE(calls, (std::vector<std::string>{"Startup", "FailingStartup"}));
    }

    void dispatchReportsWhatTheHandlerRaised() {
        const int reported = UnhandledExceptionCount();
        DispatchEvent([] { throw OutOfBoundsException("Index 3 is out of bounds"); });
        DispatchEvent([] { throw std::invalid_argument("not a runtime exception"); });
        DispatchEvent([] { calls.push_back("handled"); });
        QCOMPARE(UnhandledExceptionCount(), reported + 2);
        QCOMPARE(calls, std::vector<std::string>{"handled"});
    }

    // State: a file type named and typed as the application's "text" type.
    // Action: it is converted to text twice, then changed, then converted again.
    // Expected: one registration per conversion after a change, each change withdrawn.
    void fileTypeRegistersOnceOnConversionAndWithdrawsOnChange() {
        QStringList seen;
        SetFileTypeRegistryObserver([&seen](const FileTypeRegistration& registration, bool add) {
            seen << (add ? "+" : "-") + Describe(registration);
        });
        const auto text = std::make_shared<FileType>();
        text->SetName("text");
        text->SetMacType("TEXT");
        text->SetMacCreator("R*ch");
        const auto empty = std::make_shared<FileType>();
        QVERIFY(Registered().isEmpty());

        QCOMPARE(text->Operator_Convert(), std::string("text"));
        QCOMPARE(text->Operator_Convert(), std::string("text"));
        QCOMPARE(empty->Operator_Convert(), std::string());
        QCOMPARE(Registered(), (QStringList{"text/TEXT/R*ch/", "///"}));

        text->SetExtensions("txt");
        QCOMPARE(Registered(), QStringList{"///"});
        text->Operator_Convert();
        QCOMPARE(Registered(), (QStringList{"///", "text/TEXT/R*ch/txt"}));
        QCOMPARE(seen, (QStringList{"+text/TEXT/R*ch/", "+///", "-text/TEXT/R*ch/",
                                    "+text/TEXT/R*ch/txt"}));
        SetFileTypeRegistryObserver(nullptr);
    }

    void everyFileTypeSetterWithdrawsTheRegistration() {
        const auto type = std::make_shared<FileType>();
        const std::vector<std::function<void()>> setters = {
            [&] { type->SetName("n"); },
            [&] { type->SetExtensions("e"); },
            [&] { type->SetMacType("TYPE"); },
            [&] { type->SetMacCreator("CRTR"); },
            [&] { type->SetMimeType("a/b"); },
            [&] { type->SetImported(true); },
            [&] { type->SetConformsTo("public.text"); },
            [&] { type->SetUTI("x.y"); },
        };
        for (std::size_t i = 0; i < setters.size(); ++i) {
            type->Operator_Convert();
            QCOMPARE(RegisteredFileTypes().size(), std::size_t{1});
            setters[i]();
            QVERIFY2(!type->Registered() && RegisteredFileTypes().empty(),
                     qPrintable(QString("setter %1 left the registration").arg(i)));
        }
    }

    void observerThatRaisesStopsTheRegistration() {
        SetFileTypeRegistryObserver([](const FileTypeRegistration&, bool) {
            throw UnsupportedOperationException("The platform refused the type");
        });
        const auto type = std::make_shared<FileType>();
        QVERIFY_THROWS_EXCEPTION(UnsupportedOperationException, type->Operator_Convert());
        SetFileTypeRegistryObserver(nullptr);
        QVERIFY(!type->Registered());
        QVERIFY(RegisteredFileTypes().empty());
    }

    void destroyedFileTypeLeavesTheRegistry() {
        auto type = std::make_shared<FileType>();
        type->Operator_Convert();
        type.reset();
        QVERIFY(RegisteredFileTypes().empty());
    }

    void picturesComeFromTheResourceFolderBesideTheExecutable() {
        QCOMPARE(QString::fromStdString(ResourceFolder()),
                 QCoreApplication::applicationDirPath() + "/resources");
        const auto picture = Picture::_OpenFromApp("Velk32.jpg");
        QVERIFY(picture);
        QVERIFY(picture->Width() > 0);
    }

    void pictureIsReadFromTheFolderSetAndNilWhenMissingOrUnreadable() {
        QTemporaryDir folder;
        QImage image(12, 7, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(folder.filePath("small.jpg"), "JPEG"));
        QFile broken(folder.filePath("broken.jpg"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
        broken.close();

        const std::string defaultFolder = ResourceFolder();
        SetResourceFolder(folder.path().toStdString());
        const auto picture = Picture::_OpenFromApp("small.jpg");
        const auto missing = Picture::_OpenFromApp("Velk32.jpg");
        const auto unreadable = Picture::_OpenFromApp("broken.jpg");
        SetResourceFolder(defaultFolder);

        QVERIFY(picture);
        QCOMPARE(picture->Width(), 12);
        QCOMPARE(picture->Height(), 7);
        QVERIFY(!missing);
        QVERIFY(!unreadable);
    }

    void quitEndsTheEventLoopWithItsCodeAndASecondQuitIsHarmless() {
        QTimer::singleShot(0, qApp, [] {
            Quit(3);
            Quit(5);
        });
        QVERIFY(RunUntilQuit());
        QCOMPARE(RuntimeExit(), 3);
        // The loop does not start again once the application has quit.
        Quit(6);
        QVERIFY(RunUntilQuit());
        QCOMPARE(RuntimeExit(), 3);
    }

    // Last: finalizing lets go of everything the framework holds.
    void finalizersRunOnceInOrderAndReleaseWhatTheFrameworkHolds() {
        const auto application = std::make_shared<Application>();
        RuntimeRegisterAppObject(application);
        QCOMPARE(GetAppObject(), application);
        auto window = std::make_shared<HeldWnd>();
        window->Constructor();
        const auto ref = std::make_shared<WeakRef>();
        ref->Constructor(window);
        window.reset();
        QVERIFY(ref->Value());

        RuntimeAddFinalizer([] { calls.push_back("first"); });
        RuntimeAddFinalizer([] { calls.push_back("second"); });
        RuntimePerformFinalizers();
        RuntimePerformFinalizers();
        QCOMPARE(calls, (std::vector<std::string>{"first", "second"}));
        QVERIFY(!ref->Value());
        QVERIFY(!GetAppObject());
    }
};

QTEST_MAIN(RuntimeTest)
#include "tst_runtime.moc"
