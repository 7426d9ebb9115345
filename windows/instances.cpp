#include "windows/instances.h"

#include "windows/aboutwnd.h"
#include "windows/controlwnd.h"
#include "windows/qwindow.h"

namespace {

template <class W> std::shared_ptr<W> ImplicitInstance() {
    std::shared_ptr<Window> window = GetImplicitWindow(W::kClassRecord.name);
    if (!window) {
        // The framework holds the window from its construction on.
        const auto built = std::make_shared<W>();
        built->Constructor();
        window = built;
    }
    return RuntimeCheckCast<W>(window);
}

} // namespace

namespace instance {

std::shared_ptr<::ControlWnd> ControlWnd() {
    return ImplicitInstance<::ControlWnd>();
}

std::shared_ptr<::AboutWnd> AboutWnd() {
    return ImplicitInstance<::AboutWnd>();
}

std::shared_ptr<::Qwindow> Qwindow() {
    return ImplicitInstance<::Qwindow>();
}

} // namespace instance
