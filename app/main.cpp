#include "app/startup.h"

#include "framework/runtime.h"

int main() {
    RuntimeInit();
    try {
        RuntimePerformInitializers(kApplicationInitializers);
        Main();
    } catch (const std::exception& exception) {
        // An initializer failed: start-up does not begin.
        UnhandledException(exception);
    }
    RuntimePerformFinalizers();
    return RuntimeExit();
}
