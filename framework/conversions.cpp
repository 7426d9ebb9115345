#include "conversions.h"

#include "exceptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

bool IsDigit(char sign) {
    return sign >= '0' && sign <= '9';
}

// The pattern's parts: sign, digit places before and after the point.
struct NumberPattern {
    bool showPlus = false;
    int integerZeros = 0;  // "0" places before the point: always shown
    int decimalZeros = 0;  // "0" places after the point: always shown
    int decimalPlaces = 0; // every digit place after the point
};

NumberPattern ParsePattern(const std::string& pattern) {
    NumberPattern parsed;
    std::size_t i = 0;
    if (i < pattern.size() && pattern[i] == '+') {
        parsed.showPlus = true;
        ++i;
    }
    for (; i < pattern.size() && pattern[i] != '.'; ++i) {
        if (pattern[i] == '0')
            ++parsed.integerZeros;
        else if (pattern[i] != '#')
            throw UnsupportedFormatException("The pattern sign " + std::string(1, pattern[i]) +
                                             " is not known");
    }
    if (i < pattern.size())
        ++i; // the point
    for (; i < pattern.size(); ++i) {
        if (pattern[i] == '0') {
            // A "0" after a "#" would make the "#" shown as well.
            parsed.decimalZeros = parsed.decimalPlaces + 1;
        } else if (pattern[i] != '#') {
            throw UnsupportedFormatException("The pattern sign " + std::string(1, pattern[i]) +
                                             " is not known");
        }
        ++parsed.decimalPlaces;
    }
    return parsed;
}

// A double holds 15 significant decimal digits reliably; those beyond are
// noise of its binary form. Rounding starts from those 15, so that a value
// that is a half in decimal, such as sqrt(.3025 * .0001) = .0055, rounds up
// although its double lies a hair below .0055.
constexpr int kSignificantDigits = 15;

// The decimal digits of a non-negative value, as integer and decimal part.
void SignificantDigits(double value, std::string& integerPart, std::string& decimalPart) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value,
                                       std::chars_format::scientific, kSignificantDigits - 1);
    const std::string scientific(text, written.ptr);
    const std::size_t e = scientific.find('e');
    const std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    int exponent = 0;
    std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+'),
                    scientific.data() + scientific.size(), exponent);
    if (exponent < 0) {
        integerPart = "0";
        decimalPart = std::string(-exponent - 1, '0') + digits;
    } else if (exponent + 1 >= static_cast<int>(digits.size())) {
        integerPart = digits + std::string(exponent + 1 - digits.size(), '0');
        decimalPart.clear();
    } else {
        integerPart = digits.substr(0, exponent + 1);
        decimalPart = digits.substr(exponent + 1);
    }
}

// The digits of a non-negative value rounded half away from zero to the
// number of decimals.
void RoundedDigits(double value, int decimals, std::string& integerPart, std::string& decimalPart) {
    SignificantDigits(value, integerPart, decimalPart);
    decimalPart.resize(std::max<std::size_t>(decimalPart.size(), decimals + 1), '0');
    const bool roundUp = decimalPart[decimals] >= '5';
    decimalPart.resize(decimals);
    if (!roundUp)
        return;
    // Carry the rounding up through the decimals and into the integer part.
    std::string digits = integerPart + decimalPart;
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0 && digits[i] == '9'; --i)
        digits[i] = '0';
    if (i >= 0)
        ++digits[i];
    else
        digits.insert(0, "1");
    integerPart = digits.substr(0, digits.size() - decimals);
    decimalPart = digits.substr(digits.size() - decimals);
}

} // namespace

double Val(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    const std::size_t start = i;
    // The power of ten just above the leading significant digit: 2 for 12.5,
    // -3 for .0004. Beside the exponent, it says which way a value out of a
    // double's range went.
    int64_t power = 0;
    bool leadingZeros = true;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        leadingZeros = leadingZeros && text[i] == '0';
        if (!leadingZeros)
            ++power;
    }
    bool anyDigit = i > start;
    if (i < text.size() && text[i] == '.') {
        const std::size_t afterPoint = ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            leadingZeros = leadingZeros && text[i] == '0';
            if (leadingZeros)
                --power;
        }
        anyDigit = anyDigit || i > afterPoint;
    }
    if (!anyDigit)
        return 0;
    std::size_t end = i;
    int64_t exponent = 0;
    // An exponent counts only with at least one digit.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        const bool negativeExponent = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            // Far beyond a double's range, more digits change nothing.
            constexpr int64_t kExponentLimit = 1'000'000;
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent = std::min(exponent * 10 + (text[j] - '0'), kExponentLimit);
            if (negativeExponent)
                exponent = -exponent;
            end = j;
        }
    }
    double magnitude = 0;
    const auto [stop, error] = std::from_chars(text.data() + start, text.data() + end, magnitude);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: the nearest finite value.
        magnitude = power + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return negative ? -magnitude : magnitude;
}

double Sqrt(double value) {
    return std::sqrt(value);
}

std::string Format(double value, const std::string& pattern) {
    const NumberPattern parsed = ParsePattern(pattern);
    const char* sign = std::signbit(value) ? "-" : (parsed.showPlus ? "+" : "");
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return std::string(sign) + "Infinity";

    // Rounded on its decimal digits, half away from zero, as on paper.
    std::string integerPart;
    std::string decimalPart;
    RoundedDigits(std::fabs(value), parsed.decimalPlaces, integerPart, decimalPart);

    while (static_cast<int>(decimalPart.size()) > parsed.decimalZeros && decimalPart.back() == '0')
        decimalPart.pop_back();
    if (integerPart == "0" && parsed.integerZeros == 0)
        integerPart.clear();
    while (static_cast<int>(integerPart.size()) < parsed.integerZeros)
        integerPart.insert(0, "0");

    // A value that rounds to nothing carries no minus sign.
    if (*sign == '-' && integerPart.find_first_not_of('0') == std::string::npos &&
        decimalPart.find_first_not_of('0') == std::string::npos)
        sign = parsed.showPlus ? "+" : "";
    return sign + integerPart + (decimalPart.empty() ? "" : "." + decimalPart);
}
