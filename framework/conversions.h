#pragma once

#include <string>

// The number at the start of the text: an optional sign, digits, a point,
// digits and an exponent, after any leading blanks. 0 when there is none;
// never NaN or infinity.
double Val(const std::string& text);

double Sqrt(double value);

// The value in the pattern's form. "#" and "0" are digit places, "0" always
// shown; "." the decimal point; a leading "+" shows the sign of positive
// values. The value's 15 significant digits are rounded half away from
// zero; with no digit place before the point, the integer part is left out
// only when it is 0 (".587", "1.000").
std::string Format(double value, const std::string& pattern);
