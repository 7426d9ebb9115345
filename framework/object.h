#pragma once

#include "exceptions.h"
#include "values.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the runtime knows of a class: its registered name, the name of its
// base, and the events it implements (its event table).
struct ClassRecord {
    std::string name;
    std::string base;
    std::vector<std::string> events;
};

// The root of every framework and application object. Objects are held by
// std::shared_ptr; their class is described by a ClassRecord.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    static const ClassRecord kClassRecord;
    virtual const ClassRecord& Class() const { return kClassRecord; }

    // Applies one layout assignment. Every class handles the names it knows
    // and hands the rest to its base; the root rejects them.
    virtual void SetProperty(std::string_view name, const PropertyValue& value);
};

// Registers a class with the runtime; registering a name again is harmless.
void RuntimeRegisterClass(const ClassRecord& record);
// The registered record of that name, or nullptr.
const ClassRecord* RuntimeFindClass(const std::string& name);
// True when the registered class implements the event. With ownClassOnly
// false, the bases of the class are asked as well.
bool RuntimeIsEventHandled(const Object& object, const std::string& className,
                           const std::string& eventName, bool ownClassOnly);

// Applies a layout to an object, assignment by assignment, in order.
void SetProperties(Object& object, Layout layout);

// The object as a T: nil stays nil; an object of another class raises
// IllegalCastException.
template <class T, class From>
std::shared_ptr<T> RuntimeCheckCast(const std::shared_ptr<From>& object) {
    if (!object)
        return nullptr;
    auto cast = std::dynamic_pointer_cast<T>(object);
    if (!cast)
        throw IllegalCastException("An object of class " + object->Class().name +
                                   " is not of the class asked for");
    return cast;
}

// Readers of a layout value that insist on its type.
int64_t IntegerValue(std::string_view name, const PropertyValue& value);
double DoubleValue(std::string_view name, const PropertyValue& value);
double SingleValue(std::string_view name, const PropertyValue& value);
bool BooleanValue(std::string_view name, const PropertyValue& value);
uint32_t ColorValue(std::string_view name, const PropertyValue& value);
std::string_view StringValue(std::string_view name, const PropertyValue& value);
uint8_t ByteValue(std::string_view name, const PropertyValue& value);
