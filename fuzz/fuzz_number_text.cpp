// The coefficient check, the data value parse and the written form on arbitrary text, with a
// differential check against exact decimal arithmetic for texts of up to 19 significant digits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/ExactDecimal.h"
#include "model/Errors.h"
#include "model/Numbers.h"

namespace {

using tarvelin::fuzz::exceedsLimit;
using tarvelin::fuzz::withinUlps;

void check(bool condition) {
  if (!condition) std::abort();
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// An independent reading of a number text: blanks, sign, digits, point, digits, exponent.
struct Reading {
  bool wellFormed = false;  // the check's syntax
  bool hasDigit = false;
  std::uint64_t significand = 0;  // the significant digits, when there are at most 19
  int significantDigits = 0;
  long long netExponent = 0;  // exponent less the digits after the point (saturating)
};

Reading readNumber(std::string_view text) {
  Reading r;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i == text.size()) return r;
  long long afterPoint = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (!isDigit(c)) break;
    r.hasDigit = true;
    if (point) ++afterPoint;
    if (r.significantDigits > 0 || c != '0') {
      if (++r.significantDigits <= 19) r.significand = r.significand * 10 + std::uint64_t(c - '0');
    }
  }
  r.netExponent = -afterPoint;  // an exponent letter without digits counts as no exponent
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size() || !isDigit(text[i])) return r;
    for (; i < text.size() && isDigit(text[i]); ++i) {
      if (exponent < 100'000'000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  r.wellFormed = i == text.size();
  r.netExponent = exponent - afterPoint;
  return r;
}

void checkWrittenForm(const std::string& written) {
  check(written.size() == 23);
  check(written[0] == ' ' || written[0] == '-');
  check(isDigit(written[1]) && written[2] == '.' && written[17] == 'E');
  check(written[18] == '+' || written[18] == '-');
  for (int k = 3; k < 17; ++k) check(isDigit(written[static_cast<std::size_t>(k)]));
  for (int k = 19; k < 23; ++k) check(isDigit(written[static_cast<std::size_t>(k)]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Reading reading = readNumber(text);

  bool accepted = false;
  bool overflow = false;
  try {
    accepted = tarvelin::IsValidNumber(text);
  } catch (const tarvelin::OverflowError&) {
    overflow = true;
  }
  check(accepted || overflow ? reading.wellFormed : !reading.wellFormed);
  if (reading.wellFormed && reading.significantDigits <= 19 && reading.netExponent < 5120 &&
      reading.netExponent > -100'000) {
    // Overflow exactly when the value exceeds the limit (away from the last few ulps).
    const bool exceeds = exceedsLimit(reading.significand, reading.netExponent);
    const bool nearLimit = reading.netExponent >= 4932 - 20 && reading.netExponent <= 4933 &&
                           (exceeds != exceedsLimit(reading.significand + 1, reading.netExponent));
    if (!nearLimit) check(overflow == exceeds);
  }

  long double value = 0;
  try {
    value = tarvelin::parseDataValue(text);
  } catch (const tarvelin::ConversionError& e) {
    check(e.text() == text);
    return 0;
  }
  const std::string written = tarvelin::scientificText(value);
  checkWrittenForm(written);
  check((written[0] == '-') == std::signbit(value));

  // A parsed value is the text's value to within about an ulp, in the normal range.
  if (reading.hasDigit && reading.significantDigits >= 1 && reading.significantDigits <= 19 &&
      std::isnormal(value)) {
    check(withinUlps(reading.significand, reading.netExponent, std::fabs(value), 4));
  }
  // Up to 15 significant digits come out of the written form as they went in.
  if (reading.significantDigits >= 1 && reading.significantDigits <= 15 && std::isnormal(value) &&
      reading.netExponent > -4900 && reading.netExponent < 4900) {
    std::string digits = std::to_string(reading.significand);
    digits.resize(15, '0');
    check(written.substr(1, 1) + written.substr(3, 14) == digits);
  }
  return 0;
}
