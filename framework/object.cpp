#include "object.h"

#include <algorithm>
#include <map>

namespace {

std::map<std::string, ClassRecord>& ClassRegistry() {
    static std::map<std::string, ClassRecord> registry;
    return registry;
}

template <class T>
const T& ValueOfType(const std::string& name, const PropertyValue& value, const char* typeName) {
    if (const T* typed = std::get_if<T>(&value))
        return *typed;
    throw TypeMismatchException("The property " + name + " takes a value of type " + typeName);
}

} // namespace

const ClassRecord Object::kClassRecord{"Object", "", {}};

void Object::SetProperty(const std::string& name, const PropertyValue&) {
    throw KeyNotFoundException("The class " + Class().name + " has no property " + name);
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

void SetProperties(Object& object, const Layout& layout) {
    for (const auto& [name, value] : layout)
        object.SetProperty(name, value);
}

int64_t IntegerValue(const std::string& name, const PropertyValue& value) {
    return ValueOfType<Integer>(name, value, "Integer").value;
}

double DoubleValue(const std::string& name, const PropertyValue& value) {
    return ValueOfType<Double>(name, value, "Double").value;
}

double SingleValue(const std::string& name, const PropertyValue& value) {
    return ValueOfType<Single>(name, value, "Single").value;
}

bool BooleanValue(const std::string& name, const PropertyValue& value) {
    return ValueOfType<Boolean>(name, value, "Boolean").value;
}

uint32_t ColorValue(const std::string& name, const PropertyValue& value) {
    return ValueOfType<Color>(name, value, "Color").value;
}

const std::string& StringValue(const std::string& name, const PropertyValue& value) {
    return ValueOfType<String>(name, value, "String").value;
}

uint8_t ByteValue(const std::string& name, const PropertyValue& value) {
    return ValueOfType<Byte>(name, value, "Byte").value;
}
