#include "object.h"

#include <algorithm>
#include <map>

namespace {

std::map<std::string, ClassRecord>& ClassRegistry() {
    static std::map<std::string, ClassRecord> registry;
    return registry;
}

template <class T>
const T& ValueOfType(std::string_view name, const PropertyValue& value, const char* typeName) {
    if (const T* typed = std::get_if<T>(&value))
        return *typed;
    throw TypeMismatchException("The property " + std::string(name) + " takes a value of type " +
                                typeName);
}

} // namespace

const ClassRecord Object::kClassRecord{"Object", "", {}};

void Object::SetProperty(std::string_view name, const PropertyValue&) {
    throw KeyNotFoundException("The class " + Class().name + " has no property " +
                               std::string(name));
}

void RuntimeRegisterClass(const ClassRecord& record) {
    ClassRegistry().try_emplace(record.name, record);
}

const ClassRecord* RuntimeFindClass(const std::string& name) {
    const auto found = ClassRegistry().find(name);
    return found == ClassRegistry().end() ? nullptr : &found->second;
}

bool RuntimeIsEventHandled(const Object& object, const std::string& className,
                           const std::string& eventName, bool ownClassOnly) {
    // A class asks about itself before its initializer may have run.
    if (object.Class().name == className)
        RuntimeRegisterClass(object.Class());
    for (const ClassRecord* record = RuntimeFindClass(className); record;
         record = RuntimeFindClass(record->base)) {
        if (std::ranges::find(record->events, eventName) != record->events.end())
            return true;
        if (ownClassOnly)
            break;
    }
    return false;
}

void SetProperties(Object& object, Layout layout) {
    for (const auto& [name, value] : layout)
        object.SetProperty(name, value);
}

int64_t IntegerValue(std::string_view name, const PropertyValue& value) {
    return ValueOfType<Integer>(name, value, "Integer").value;
}

double DoubleValue(std::string_view name, const PropertyValue& value) {
    return ValueOfType<Double>(name, value, "Double").value;
}

double SingleValue(std::string_view name, const PropertyValue& value) {
    return ValueOfType<Single>(name, value, "Single").value;
}

bool BooleanValue(std::string_view name, const PropertyValue& value) {
    return ValueOfType<Boolean>(name, value, "Boolean").value;
}

uint32_t ColorValue(std::string_view name, const PropertyValue& value) {
    return ValueOfType<Color>(name, value, "Color").value;
}

std::string_view StringValue(std::string_view name, const PropertyValue& value) {
    return ValueOfType<String>(name, value, "String").value;
}

uint8_t ByteValue(std::string_view name, const PropertyValue& value) {
    return ValueOfType<Byte>(name, value, "Byte").value;
}
