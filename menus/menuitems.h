#pragma once

#include "framework/menuitem.h"

#include <memory>

// The items the calculator window enables and disables, found by name in
// the application's installed menu bar; nil when the bar has none of that name.
std::shared_ptr<AppleMenuItem> AboutVelk();
std::shared_ptr<MenuItem> AboutMenuItem();
std::shared_ptr<MenuItem> ControlMenuItem();
