#pragma once

#include "framework/canvas.h"
#include "framework/label.h"
#include "framework/timer.h"
#include "framework/window.h"

#include <cstdint>
#include <memory>
#include <string>

// The About window, which is also the splash screen: the picture above the
// rights line. Its timer, a key or a click hides it and shows the calculator.
class AboutWnd : public Window {
public:
    class _wrapper_Timer1;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void Layout() override;
    void CreateControls() override;
    virtual void CreateControls0();
    virtual std::shared_ptr<Label> StaticText5() const;
    virtual std::shared_ptr<Canvas> Canvas1() const;
    virtual std::shared_ptr<Timer> Timer1() const;
    virtual void Timer1_Action(const std::shared_ptr<Timer>& sender);
    void AddMenuHandlers(const std::shared_ptr<Window>& window) override;
    bool Event_KeyDown(const std::string& key) override;
    bool Event_MouseDown(int64_t x, int64_t y) override;
    virtual bool AboutMenuItem_Action();

    bool IsEventImplemented(const std::string& eventName) const;
};
