#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// The typed values a layout assigns to a property.
struct Integer {
    int64_t value;
};
struct Double {
    double value;
};
struct Single {
    float value;
};
struct Boolean {
    bool value;
};
// &hRRGGBBAA, where AA 00 is opaque and ff fully transparent.
struct Color {
    uint32_t value;
};
struct String {
    std::string value;
};
// A one-byte framework value, such as a font unit.
struct Byte {
    uint8_t value;
};

using PropertyValue = std::variant<Integer, Double, Single, Boolean, Color, String, Byte>;

// A layout: property assignments applied in order.
using Layout = std::vector<std::pair<std::string, PropertyValue>>;
