// Number texts: the coefficient check, the data value parse and the written forms.
// All work in the x87 80-bit extended format and always with "." as the decimal point.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelin {

// True when the whole text has the form of a number. Throws OverflowError when the digits
// read as one whole number, or the value with a net exponent below 5120, exceed the limit.
bool IsValidNumber(std::string_view text);

// Parses one data line; throws ConversionError carrying the whole text on failure.
long double parseDataValue(std::string_view text);

// The 23-character scientific form, e.g. " 1.50000000000000E+0000".
std::string scientificText(long double value);

// Digits of the magnitude, "-" for a negative number; no blank, no plus, no padding.
std::string decimalIntegerText(std::int32_t value);

}  // namespace tarvelin
