#pragma once

#include "framework/application.h"

#include <memory>
#include <string>

// The application class. It handles none of the application's events.
class Velk : public Application {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    virtual void Constructor() {}

    bool IsEventImplemented(const std::string& eventName) const;
};

// The registered application object.
std::shared_ptr<Velk> App();
