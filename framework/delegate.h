#pragma once

#include "object.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

// One argument that an event hands its handler: the sending object, a
// number (a position) or a text (a key).
using EventArgument = std::variant<std::shared_ptr<Object>, int64_t, std::string>;
using EventArguments = std::vector<EventArgument>;

// A handler bound to a target object. It holds the target weakly, so a
// binding never keeps a window alive; invoking it once the target is gone
// raises NilObjectException.
class Delegate : public Object {
public:
    using Invoker = std::function<bool(const EventArguments&)>;

    Delegate(Invoker invoker, std::string signature)
        : invoker_(std::move(invoker)), signature_(std::move(signature)) {}

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    // The handler's declared signature, as the binding named it.
    const std::string& Signature() const { return signature_; }

    // Calls the handler; a handler without a Boolean result gives false.
    bool Invoke(const EventArguments& arguments) const { return invoker_(arguments); }

private:
    Invoker invoker_;
    std::string signature_;
};

namespace delegate_detail {

template <class T> struct ArgumentReader;

template <class T> struct ArgumentReader<std::shared_ptr<T>> {
    static std::shared_ptr<T> Read(const EventArgument& argument) {
        return RuntimeCheckCast<T>(std::get<std::shared_ptr<Object>>(argument));
    }
};

template <> struct ArgumentReader<int64_t> {
    static int64_t Read(const EventArgument& argument) { return std::get<int64_t>(argument); }
};

template <> struct ArgumentReader<std::string> {
    static std::string Read(const EventArgument& argument) {
        return std::get<std::string>(argument);
    }
};

template <class Target, class Result, class... Parameters, std::size_t... Index>
bool Call(Target& target, Result (Target::*method)(Parameters...), const EventArguments& arguments,
          std::index_sequence<Index...>) {
    if constexpr (std::is_same_v<Result, bool>) {
        return (target.*
                method)(ArgumentReader<std::decay_t<Parameters>>::Read(arguments[Index])...);
    } else {
        (target.*method)(ArgumentReader<std::decay_t<Parameters>>::Read(arguments[Index])...);
        return false;
    }
}

} // namespace delegate_detail

// A delegate that calls the method on the target with the event's arguments.
template <class Target, class Result, class... Parameters>
std::shared_ptr<Delegate> RuntimeCreateDelegate(Result (Target::*method)(Parameters...),
                                                const std::shared_ptr<Target>& target,
                                                std::string signature) {
    NotNil(target);
    std::weak_ptr<Target> weakTarget = target;
    auto invoker = [weakTarget, method](const EventArguments& arguments) {
        if (arguments.size() != sizeof...(Parameters))
            throw UnsupportedOperationException("The event's arguments do not fit its handler");
        const std::shared_ptr<Target> target = weakTarget.lock();
        return delegate_detail::Call(NotNil(target), method, arguments,
                                     std::index_sequence_for<Parameters...>{});
    };
    return std::make_shared<Delegate>(std::move(invoker), std::move(signature));
}
