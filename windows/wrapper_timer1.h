#pragma once

#include "windows/aboutwnd.h"

#include "framework/panechild.h"
#include "framework/timer.h"
#include "framework/weakref.h"

#include <cstdint>
#include <memory>

// The About window's timer: a Timer that knows the window it is placed on,
// through a weak reference, so it never keeps that window alive.
class AboutWnd::_wrapper_Timer1 : public Timer, public PaneChild {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void SetWindow(const std::shared_ptr<::Window>& window) override;
    // The window the timer is placed on, nil before SetWindow or once it is gone.
    std::shared_ptr<::Window> Window() const override;
    int64_t Index() const override;
    void SetIndex(int64_t index) override;
    virtual void Constructor() {}

private:
    int64_t index_ = -2147483648;
    // Nil until the framework places the timer; released with the timer.
    std::shared_ptr<WeakRef> ownerWindow_;
};
