#include "runtime.h"

#include "application.h"
#include "canvas.h"
#include "filetype.h"
#include "label.h"
#include "line.h"
#include "menuitem.h"
#include "picture.h"
#include "picture_p.h"
#include "pushbutton.h"
#include "qtconvert.h"
#include "qtobjects.h"
#include "textarea.h"
#include "textfield.h"
#include "timer.h"
#include "weakref.h"
#include "window.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

struct RuntimeState {
    QPointer<QObject> objectRoot;
    std::vector<std::function<void()>> finalizers;
    bool finalized = false;
    ExceptionHelper exceptionHelper = &CallFunctionWithExceptionHandling;
    std::shared_ptr<Application> application;
    int32_t exitCode = 0;
    bool quitRequested = false;
    bool failed = false;
    int unhandledCount = 0;
    // Last, so that it goes first: tearing Qt down still reads the rest.
    std::unique_ptr<QApplication> ownApplication;
};

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

void ReleaseQtObjects() {
    // Deleting one window may delete others it owns, so hold them guarded.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    delete State().objectRoot.data();
}

// Qt wants its argument count to outlive the application.
int applicationArgc = 1;
char applicationName[] = "velk";
char* applicationArgv[] = {applicationName, nullptr};

void RunCallback(void* callback) {
    reinterpret_cast<void (*)()>(callback)();
}

// What Qt says while the application starts, held back until it is known
// whether there is a display to show windows on, and the handler it then
// goes on to.
struct HeldMessage {
    QtMsgType type;
    const char* category;
    QString text;
};
std::vector<HeldMessage> heldMessages;
QtMessageHandler passMessagesTo = nullptr;

void PassHeldMessagesOn() {
    for (const HeldMessage& held : std::exchange(heldMessages, {}))
        passMessagesTo(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category),
                       held.text);
}

// Qt's X11 platform says so when it finds no X server to talk to.
bool NoDisplay() {
    return std::ranges::any_of(heldMessages, [](const HeldMessage& held) {
        return held.text.startsWith(QLatin1String("could not connect to display"));
    });
}

// Qt gives up on a failed start with advice to reinstall, then aborts. With
// no display to reach, say on one line what is missing instead; any other
// failure, such as a platform that cannot be loaded, is named in Qt's own
// messages, so pass them on. Either way end as a failed start does.
void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    heldMessages.push_back({type, context.category, text});
    if (type != QtFatalMsg)
        return;
    const char* display = std::getenv("DISPLAY");
    if (!NoDisplay())
        PassHeldMessagesOn();
    else if (display && *display)
        std::fprintf(stderr, "velk: no display to open its windows on: %s cannot be reached\n",
                     display);
    else
        std::fprintf(stderr, "velk: no display to open its windows on: DISPLAY is not set\n");
    std::_Exit(1);
}

std::unique_ptr<QApplication> StartQt() {
    passMessagesTo = qInstallMessageHandler(HoldMessage);
    auto application = std::make_unique<QApplication>(applicationArgc, applicationArgv);
    qInstallMessageHandler(passMessagesTo);
    PassHeldMessagesOn();
    return application;
}

// Reports the exception on standard error and, where there is a display, in
// a message box.
void Report(const std::exception& exception) {
    ++State().unhandledCount;
    const auto* runtimeException = dynamic_cast<const RuntimeException*>(&exception);
    const std::string kind = runtimeException ? runtimeException->ClassName() : "exception";
    const std::string report =
        "An exception of class " + kind + " was not handled: " + exception.what();
    std::fprintf(stderr, "%s\n", report.c_str());
    std::fflush(stderr);
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QApplication::applicationName(), ToQString(report));
}

} // namespace

QObject* QtObjectRoot() {
    if (!State().objectRoot)
        State().objectRoot = new QObject();
    return State().objectRoot;
}

void RuntimeInit() {
    RuntimeState& state = State();
    if (!QApplication::instance())
        state.ownApplication = StartQt();
    QApplication::setApplicationName(QStringLiteral("Velk"));
    // Every window carries the application's icon, which the desktop also
    // knows under that name from the installed desktop entry.
    const QString iconName = QString::fromLatin1(applicationName);
    QGuiApplication::setDesktopFileName(iconName);
    // Made from the picture's pixels, the icon loads no image decoder and no
    // icon engine at start-up, as an icon made from the file's name would.
    if (const auto icon = Picture::OpenFromApp(std::string(applicationName) + ".png"))
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon->Data().image)));
    // The application ends through Quit alone, not when its last window hides.
    QApplication::setQuitOnLastWindowClosed(false);
    qAddPostRoutine(ReleaseQtObjects);
}

void RuntimePerformInitializers(const std::vector<Initializer>& applicationInitializers) {
    for (const Initializer& initializer : applicationInitializers)
        initializer();
}

void RuntimeAddFinalizer(std::function<void()> finalizer) {
    State().finalizers.push_back(std::move(finalizer));
}

void RuntimePerformFinalizers() {
    RuntimeState& state = State();
    if (state.finalized)
        return;
    state.finalized = true;
    for (const auto& finalizer : state.finalizers)
        finalizer();
    ReleaseImplicitWindows();
    state.application.reset();
}

int32_t RuntimeExit() {
    RuntimeState& state = State();
    state.ownApplication.reset();
    return state.failed && state.exitCode == 0 ? 1 : state.exitCode;
}

std::exception_ptr CallFunctionWithExceptionHandling(void (*function)(void*), void* argument) {
    try {
        function(argument);
    } catch (const RuntimeException&) {
        return std::current_exception();
    }
    return nullptr;
}

void RuntimeSetExceptionHelper(ExceptionHelper helper) {
    State().exceptionHelper = helper;
}

ExceptionHelper RuntimeExceptionHelper() {
    return State().exceptionHelper;
}

void UnhandledException(const std::exception& exception) {
    State().failed = true;
    Report(exception);
}

int UnhandledExceptionCount() {
    return State().unhandledCount;
}

void DispatchEvent(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& exception) {
        // The handler failed; the application goes on with the next event.
        Report(exception);
    }
}

void RuntimeInitExternalClasses() {
    for (const ClassRecord* record :
         {&Object::kClassRecord,        &WeakRef::kClassRecord,     &Delegate::kClassRecord,
          &Picture::kClassRecord,       &FileType::kClassRecord,    &Application::kClassRecord,
          &MenuItem::kClassRecord,      &MenuBar::kClassRecord,     &QuitMenuItem::kClassRecord,
          &AppleMenuItem::kClassRecord, &Window::kClassRecord,      &Control::kClassRecord,
          &Timer::kClassRecord,         &RectControl::kClassRecord, &PushButton::kClassRecord,
          &TextField::kClassRecord,     &TextArea::kClassRecord,    &Label::kClassRecord,
          &Canvas::kClassRecord,        &Line::kClassRecord})
        RuntimeRegisterClass(*record);
}

void InitPluginEntrypoints() {}

void RuntimeRegisterAppObject(const std::shared_ptr<Application>& application) {
    State().application = application;
}

std::shared_ptr<Application> GetAppObject() {
    return State().application;
}

void RunFrameworkInitialization(void (*callback)()) {
    if (const std::exception_ptr raised =
            RuntimeExceptionHelper()(&RunCallback, reinterpret_cast<void*>(callback)))
        std::rethrow_exception(raised);
}

void RuntimeRun() {
    // Quit's code comes back from the loop; so does one the toolkit ends it with.
    if (!State().quitRequested)
        State().exitCode = QApplication::exec();
}

void Quit(int32_t code) {
    RuntimeState& state = State();
    if (state.quitRequested)
        return;
    state.quitRequested = true;
    state.exitCode = code;
    QApplication::exit(code);
}
