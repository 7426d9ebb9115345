#pragma once

#include "framework/canvas.h"
#include "framework/label.h"
#include "framework/line.h"
#include "framework/pushbutton.h"
#include "framework/textfield.h"
#include "framework/window.h"

#include <cstdint>
#include <memory>
#include <string>

// The calculator window: the reliabilities of Test A and Test B in, the
// maximum validity coefficient out. Its controls live on the window; each
// accessor looks its control up by name at every call.
class ControlWnd : public Window {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void Layout() override;
    void CreateControls() override;
    virtual void CreateControls0();

    virtual std::shared_ptr<PushButton> CalcBtn() const;
    virtual std::shared_ptr<PushButton> ClearBtn() const;
    virtual std::shared_ptr<Label> copyright() const;
    virtual std::shared_ptr<PushButton> QBtn() const;
    virtual std::shared_ptr<TextField> DiffFld() const;
    std::shared_ptr<TextField> TextField1() const;
    std::shared_ptr<TextField> TextField2() const;
    std::shared_ptr<TextField> MaxFld() const;
    std::shared_ptr<Line> Line1() const;
    std::shared_ptr<Canvas> Canvas1() const;
    virtual std::shared_ptr<TextField> AFld() const;
    virtual std::shared_ptr<TextField> BFld() const;

    virtual void CalcBtn_Action(const std::shared_ptr<PushButton>& sender);
    virtual void ClearBtn_Action(const std::shared_ptr<PushButton>& sender);
    virtual bool QBtn_MouseDown(const std::shared_ptr<PushButton>& sender, int64_t x, int64_t y);
    virtual bool AFld_KeyDown(const std::shared_ptr<TextField>& sender, const std::string& key);
    virtual bool BFld_KeyDown(const std::shared_ptr<TextField>& sender, const std::string& key);
    void AddMenuHandlers(const std::shared_ptr<Window>& window) override;
    void Event_Close() override;
    void Event_Activate() override;
    void Event_EnableMenuItems() override;
    virtual bool AboutMenuItem_Action();
    virtual bool AboutVelk_Action();

    bool IsEventImplemented(const std::string& eventName) const;
};
