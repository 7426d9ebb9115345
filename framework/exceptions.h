#pragma once

#include <stdexcept>
#include <string>

// Runtime failures of the framework and of the code built on it. Handlers let
// them pass; the framework reports them where it dispatched the event.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
    // The class name shown in the unhandled-exception report.
    virtual const char* ClassName() const { return "RuntimeException"; }
};

#define VELK_RUNTIME_EXCEPTION(Name)                                                               \
    class Name : public RuntimeException {                                                         \
    public:                                                                                        \
        using RuntimeException::RuntimeException;                                                  \
        const char* ClassName() const override { return #Name; }                                   \
    }

// A call on nil.
VELK_RUNTIME_EXCEPTION(NilObjectException);
// A cast to a class that the object is not of.
VELK_RUNTIME_EXCEPTION(IllegalCastException);
// A property, control, event or class name that is not known.
VELK_RUNTIME_EXCEPTION(KeyNotFoundException);
// A layout value of another type than its property takes.
VELK_RUNTIME_EXCEPTION(TypeMismatchException);
// A value that the property accepts in type but not in range.
VELK_RUNTIME_EXCEPTION(OutOfBoundsException);
// A text whose format the framework does not understand (a mask, a shortcut).
VELK_RUNTIME_EXCEPTION(UnsupportedFormatException);
// Anything asked of the framework that it cannot do in the current state.
VELK_RUNTIME_EXCEPTION(UnsupportedOperationException);

#undef VELK_RUNTIME_EXCEPTION

// Throws NilObjectException when the object is nil, else returns it.
template <class Pointer> auto& NotNil(const Pointer& object) {
    if (!object)
        throw NilObjectException("This object is nil");
    return *object;
}
