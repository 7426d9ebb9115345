#include "timer.h"

#include "qtobjects.h"
#include "runtime.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <limits>

struct TimerPrivate {
    QPointer<QTimer> timer;
    int64_t runMode = Timer::kRunModeOff;
    int64_t period = 1000;
    std::vector<std::weak_ptr<actionNotificationReceiver>> receivers;
};

Timer::Timer() : d_(std::make_unique<TimerPrivate>()) {
    d_->timer = new QTimer(QtObjectRoot());
    QObject::connect(d_->timer, &QTimer::timeout, d_->timer, [this] {
        if (d_->runMode == kRunModeSingle)
            d_->runMode = kRunModeOff;
        DispatchEvent([this] {
            // Whatever the handler does, this timer lives until it returns.
            const auto keepAlive = shared_from_this();
            CallAction();
        });
    });
}

Timer::~Timer() {
    delete d_->timer.data();
}

const ClassRecord Timer::kClassRecord{"Timer", "Control", {}};

bool Timer::HasEvent(int eventNumber) const {
    return eventNumber == kActionEvent;
}

void Timer::SetProperty(std::string_view name, const PropertyValue& value) {
    if (name == "RunMode")
        SetRunMode(IntegerValue(name, value));
    else if (name == "Period")
        SetPeriod(IntegerValue(name, value));
    else
        Control::SetProperty(name, value);
}

int64_t Timer::RunMode() const {
    return d_->runMode;
}

void Timer::SetRunMode(int64_t mode) {
    if (mode < kRunModeOff || mode > kRunModeMultiple)
        throw OutOfBoundsException("RunMode takes 0 (off), 1 (once) or 2 (repeating)");
    d_->runMode = mode;
    Restart();
}

int64_t Timer::Period() const {
    return d_->period;
}

void Timer::SetPeriod(int64_t milliseconds) {
    if (milliseconds < 0 || milliseconds > std::numeric_limits<int>::max())
        throw OutOfBoundsException("Period is out of range");
    d_->period = milliseconds;
    Restart();
}

void Timer::Reset() {
    Restart();
}

void Timer::Restart() {
    QTimer& timer = NotNil(d_->timer.data());
    timer.stop();
    if (d_->runMode == kRunModeOff)
        return;
    timer.setSingleShot(d_->runMode == kRunModeSingle);
    timer.start(static_cast<int>(d_->period));
}

void Timer::addActionNotificationReceiver(
    const std::shared_ptr<actionNotificationReceiver>& receiver) {
    NotNil(receiver);
    d_->receivers.push_back(receiver);
}

void Timer::removeActionNotificationReceiver(
    const std::shared_ptr<actionNotificationReceiver>& receiver) {
    std::erase_if(d_->receivers, [&](const auto& held) {
        const auto alive = held.lock();
        return !alive || alive == receiver;
    });
}

void Timer::CallAction() {
    RaiseEvent(kActionEvent, {shared_from_this()});
    // A receiver may add or remove receivers while it is told.
    const auto receivers = d_->receivers;
    for (const auto& held : receivers)
        if (const auto receiver = held.lock())
            receiver->PerformAction();
}
