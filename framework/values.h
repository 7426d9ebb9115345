#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

// The typed values a layout assigns to a property. They are literal types,
// so that layouts are constant tables, built by the compiler.
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
// Text that outlives the layout: a literal or a constant of the program.
struct String {
    std::string_view value;
};
// A one-byte framework value, such as a font unit.
struct Byte {
    uint8_t value;
};

using PropertyValue = std::variant<Integer, Double, Single, Boolean, Color, String, Byte>;

// One property assignment of a layout.
struct LayoutEntry {
    std::string_view name;
    PropertyValue value;
};

// A layout: property assignments applied in order. Tables are written as
// constexpr arrays of entries, which a Layout views without copying.
using Layout = std::span<const LayoutEntry>;
