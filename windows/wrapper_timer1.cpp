#include "windows/wrapper_timer1.h"

const ClassRecord AboutWnd::_wrapper_Timer1::kClassRecord{"AboutWnd._wrapper_Timer1", "Timer", {}};

void AboutWnd::_wrapper_Timer1::SetWindow(const std::shared_ptr<::Window>& window) {
    // The new reference is complete before it replaces the old one.
    auto reference = std::make_shared<WeakRef>();
    reference->Constructor(window);
    ownerWindow_ = std::move(reference);
}

std::shared_ptr<::Window> AboutWnd::_wrapper_Timer1::Window() const {
    if (!ownerWindow_)
        return nullptr;
    return RuntimeCheckCast<::Window>(ownerWindow_->Value());
}

int64_t AboutWnd::_wrapper_Timer1::Index() const {
    return index_;
}

void AboutWnd::_wrapper_Timer1::SetIndex(int64_t index) {
    index_ = index;
}
