#pragma once

#include "framework/runtime.h"

#include <vector>

// The application's class initializers, in the order the runtime runs them.
extern const std::vector<Initializer> kApplicationInitializers;

// The start-up driver: everything from the exception helper to the end of
// the event loop. Whatever escapes it is reported.
void Main();
// Everything before the framework's own initialisation.
void EarlyStartup();
void InitFileTypes();
// Creates the application object, gives it its version data and menu bar,
// and registers it.
void NewAppInstance();
// Every menu handler belongs to a window: nothing is bound here.
void ApplicationAddMenuHandlers();
// Called back by the framework's initialisation.
void LateStartup();
// Opens the About window, which its layout shows as the splash screen.
void MakeDefaultView();
