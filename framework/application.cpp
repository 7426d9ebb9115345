#include "application.h"

#include "menuitem.h"
#include "window.h"

namespace {

bool& SupportsHiDPISetting() {
    static bool supports = false;
    return supports;
}

} // namespace

const ClassRecord Application::kClassRecord{"Application", "Object", {}};

// Qt 6 always draws for the display's pixel ratio; the setting records what
// the application asked for.
void Application::SetSupportsHiDPI(bool supports) {
    SupportsHiDPISetting() = supports;
}

bool Application::SupportsHiDPI() {
    return SupportsHiDPISetting();
}

void Application::_x_SetVersionData(int64_t majorVersion, int64_t minorVersion, int64_t bugVersion,
                                    int64_t nonReleaseVersion, int64_t stageCode,
                                    const std::string& longVersion, const std::string& shortVersion,
                                    const std::string& packageInfo) {
    majorVersion_ = majorVersion;
    minorVersion_ = minorVersion;
    bugVersion_ = bugVersion;
    nonReleaseVersion_ = nonReleaseVersion;
    stageCode_ = stageCode;
    longVersion_ = longVersion;
    shortVersion_ = shortVersion;
    packageInfo_ = packageInfo;
}

void Application::SetMenuBar(const std::shared_ptr<MenuBar>& menuBar) {
    menuBar_ = menuBar;
    for (const auto& window : ImplicitWindows())
        window->InstallMenuBar();
}
