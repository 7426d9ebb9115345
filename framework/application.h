#pragma once

#include "object.h"

#include <cstdint>
#include <memory>
#include <string>

class MenuBar;

// The application object: it holds the menu bar and the version data.
class Application : public Object {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    // Whether the application draws for high-resolution displays.
    static void SetSupportsHiDPI(bool supports);
    static bool SupportsHiDPI();

    void _x_SetVersionData(int64_t majorVersion, int64_t minorVersion, int64_t bugVersion,
                           int64_t nonReleaseVersion, int64_t stageCode,
                           const std::string& longVersion, const std::string& shortVersion,
                           const std::string& packageInfo);

    int64_t MajorVersion() const { return majorVersion_; }
    int64_t MinorVersion() const { return minorVersion_; }
    int64_t BugVersion() const { return bugVersion_; }
    int64_t NonReleaseVersion() const { return nonReleaseVersion_; }
    int64_t StageCode() const { return stageCode_; }
    const std::string& LongVersion() const { return longVersion_; }
    const std::string& ShortVersion() const { return shortVersion_; }
    const std::string& PackageInfo() const { return packageInfo_; }

    // Installs the menu bar on every window that shows one.
    void SetMenuBar(const std::shared_ptr<MenuBar>& menuBar);
    std::shared_ptr<MenuBar> GetMenuBar() const { return menuBar_; }

private:
    int64_t majorVersion_ = 0;
    int64_t minorVersion_ = 0;
    int64_t bugVersion_ = 0;
    int64_t nonReleaseVersion_ = 0;
    int64_t stageCode_ = 0;
    std::string longVersion_;
    std::string shortVersion_;
    std::string packageInfo_;
    std::shared_ptr<MenuBar> menuBar_;
};
