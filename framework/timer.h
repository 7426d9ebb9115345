#pragma once

#include "control.h"

#include <cstdint>
#include <memory>
#include <vector>

struct TimerPrivate;

// Told each time an action source acts.
class actionNotificationReceiver {
public:
    virtual ~actionNotificationReceiver() = default;
    virtual void PerformAction() = 0;
};

// Something that tells receivers when it acts.
class actionSource {
public:
    virtual ~actionSource() = default;
    virtual void
    addActionNotificationReceiver(const std::shared_ptr<actionNotificationReceiver>& receiver) = 0;
    virtual void removeActionNotificationReceiver(
        const std::shared_ptr<actionNotificationReceiver>& receiver) = 0;
};

// A timer on the event loop. RunMode 0 is off, 1 fires once, 2 repeats;
// Period is in milliseconds. Setting either starts the period afresh.
class Timer : public Control, public actionSource {
public:
    static constexpr int kActionEvent = 0;
    static constexpr int64_t kRunModeOff = 0;
    static constexpr int64_t kRunModeSingle = 1;
    static constexpr int64_t kRunModeMultiple = 2;

    Timer();
    ~Timer() override;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    int64_t RunMode() const;
    void SetRunMode(int64_t mode);
    int64_t Period() const;
    void SetPeriod(int64_t milliseconds);
    // Starts the current period again.
    void Reset();

    void addActionNotificationReceiver(
        const std::shared_ptr<actionNotificationReceiver>& receiver) override;
    void removeActionNotificationReceiver(
        const std::shared_ptr<actionNotificationReceiver>& receiver) override;

    // Raises Action, then tells the receivers.
    void CallAction();

protected:
    bool HasEvent(int eventNumber) const override;

private:
    void Restart();

    std::unique_ptr<TimerPrivate> d_;
};
