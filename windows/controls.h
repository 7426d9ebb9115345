#pragma once

#include "framework/window.h"

#include <memory>
#include <string>

// Makes a control of class T on the window and registers it under the name;
// the window keeps it alive from then on.
template <class T> void NewControl(Window& window, const std::string& name) {
    const std::shared_ptr<T> control = window.New<T>();
    control->Constructor();
    window.AddControl(name, control);
}

// The control registered on the window under the name, checked to be a T;
// nil when there is none.
template <class T> std::shared_ptr<T> ControlAs(const Window& window, const std::string& name) {
    return RuntimeCheckCast<T>(window.ControlByName(name));
}
