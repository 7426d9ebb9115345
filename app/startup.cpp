#include "app/startup.h"

#include "app/filetypes.h"
#include "app/velk.h"
#include "menus/menu.h"
#include "windows/aboutwnd.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"
#include "windows/qwindow.h"
#include "windows/wrapper_timer1.h"

#include "framework/application.h"
#include "resources/texts.h"

// Module variables that start out nil or empty (the file types, the menu
// bar's instance) need no initializer of their own.
const std::vector<Initializer> kApplicationInitializers = {
    [] { RuntimeRegisterClass(ControlWnd::kClassRecord); },
    [] { RuntimeRegisterClass(Menu::kClassRecord); },
    [] { RuntimeRegisterClass(AboutWnd::_wrapper_Timer1::kClassRecord); },
    [] { RuntimeRegisterClass(AboutWnd::kClassRecord); },
    [] { RuntimeRegisterClass(Qwindow::kClassRecord); },
    [] { RuntimeRegisterClass(Velk::kClassRecord); },
};

void Main() {
    try {
        RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling);
        EarlyStartup();
        RunFrameworkInitialization(&LateStartup);
        RuntimeRun();
    } catch (const std::exception& exception) {
        UnhandledException(exception);
    }
}

void EarlyStartup() {
    Application::SetSupportsHiDPI(true);
    RuntimeInitExternalClasses();
    InitPluginEntrypoints();
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
}

void InitFileTypes() {
    FileTypes::Initialize();
}

void NewAppInstance() {
    const auto app = std::make_shared<Velk>();
    app->Constructor();
    // The version data comes before the menu bar; registration comes last.
    app->_x_SetVersionData(2, 0, 0, 0, 3, kRightsLine, "2.0", "Velk");
    app->SetMenuBar(instance::Menu());
    RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {}

void LateStartup() {
    MakeDefaultView();
}

void MakeDefaultView() {
    instance::AboutWnd();
}
