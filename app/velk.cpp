#include "app/velk.h"

#include "framework/runtime.h"

const ClassRecord Velk::kClassRecord{"Velk", "Application", {}};

bool Velk::IsEventImplemented(const std::string& eventName) const {
    return RuntimeIsEventHandled(*this, "Velk", eventName, true);
}

std::shared_ptr<Velk> App() {
    return RuntimeCheckCast<Velk>(GetAppObject());
}
