#pragma once

#include "framework/textarea.h"
#include "framework/window.h"

#include <cstdint>
#include <memory>
#include <string>

// The help window "Formula": one text area holding the help text.
class Qwindow : public Window {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void Layout() override;
    void CreateControls() override;
    virtual void CreateControls0();
    virtual std::shared_ptr<TextArea> StaticText1() const;
    void Event_Close() override;
    bool Event_MouseDown(int64_t x, int64_t y) override;
    bool Event_KeyDown(const std::string& key) override;

    bool IsEventImplemented(const std::string& eventName) const;
};
