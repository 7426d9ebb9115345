#pragma once

#include "object.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class Application;

// The process's life in the framework, in the order the entry point calls it:
// RuntimeInit, RuntimePerformInitializers, the application's start-up,
// RuntimePerformFinalizers, RuntimeExit.

// Initialises the runtime and the desktop toolkit beneath it; the first call
// of the process. A toolkit application made before (by a test) is used as it
// is. When the toolkit cannot start, it says why (on one line when there is
// no display to open windows on) and ends the process with status 1.
void RuntimeInit();

using Initializer = std::function<void()>;

// Runs the framework's own initializers, then the application's, in order.
void RuntimePerformInitializers(const std::vector<Initializer>& applicationInitializers);

// Registers code to run at RuntimePerformFinalizers, after those before it.
void RuntimeAddFinalizer(std::function<void()> finalizer);
// Runs the registered finalizers in order, once, and releases the windows and
// the application object that the framework holds.
void RuntimePerformFinalizers();
// Ends the runtime and returns the exit status: the code Quit asked for or
// the event loop ended with, 0 when none, but 1 rather than 0 once an
// exception escaped the application.
int32_t RuntimeExit();

// Calls function(argument). Returns the RuntimeException it raised, or
// nullptr when it raised nothing; any other exception passes on.
std::exception_ptr CallFunctionWithExceptionHandling(void (*function)(void*), void* argument);
using ExceptionHelper = decltype(&CallFunctionWithExceptionHandling);
void RuntimeSetExceptionHelper(ExceptionHelper helper);
// The helper the framework calls its callbacks through.
ExceptionHelper RuntimeExceptionHelper();

// Reports an exception that escaped the application, which then exits with
// a failure status: on standard error and, where there is a display, in a
// message box.
void UnhandledException(const std::exception& exception);
// How many reports have been made in this process.
int UnhandledExceptionCount();

// Runs the handler, reporting whatever it raises, and lets the application go
// on; what event dispatch wraps every call into the application in.
void DispatchEvent(const std::function<void()>& handler);

// Builds the descriptions of the framework's own classes.
void RuntimeInitExternalClasses();
// Sets up plug-in entry points; this framework has no plug-ins.
void InitPluginEntrypoints();

void RuntimeRegisterAppObject(const std::shared_ptr<Application>& application);
std::shared_ptr<Application> GetAppObject();

// Completes the framework's initialisation and calls the callback through the
// exception helper. Raises what the callback raised.
void RunFrameworkInitialization(void (*callback)());

// Runs the event loop until the application quits.
void RuntimeRun();
// Asks the event loop to end with the code; a second request is harmless.
void Quit(int32_t code = 0);
