#pragma once

#include <memory>

class AboutWnd;
class ControlWnd;
class Qwindow;

// Each window class has one shared instance, which the framework holds.
// These return it, building it first when there is none; a new window is
// shown by its layout. They keep nothing themselves.
namespace instance {

std::shared_ptr<::ControlWnd> ControlWnd();
std::shared_ptr<::AboutWnd> AboutWnd();
std::shared_ptr<::Qwindow> Qwindow();

} // namespace instance
