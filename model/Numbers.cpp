#include "model/Numbers.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/Errors.h"

namespace tarvelin {

// Data values and the numeric check are defined on the x87 extended format.
static_assert(LDBL_MANT_DIG == 64, "long double must be the 80-bit extended format");

namespace {

constexpr long double kLimit = LDBL_MAX;
constexpr int kMaxDecimalExponent = 4932;  // 10^4932 is the largest finite power of ten

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// 10^n for 0 <= n <= kMaxDecimalExponent. Exact up to 10^27; beyond, glibc's powl is within an
// ulp, which the 18-digit rounding of the written form absorbs.
long double powerOfTen(int n) {
  long double p = 1.0L;
  if (n <= 27) {
    for (int i = 0; i < n; ++i) p *= 10.0L;
    return p;
  }
  return powl(10.0L, static_cast<long double>(n));
}

// m * 10^exponent in the extended format; +inf when it exceeds the limit, 0 when too small.
long double scaleByPowerOfTen(long double m, long long exponent) {
  if (m == 0.0L || std::isinf(m)) return m;
  if (exponent >= 0) {
    if (exponent > kMaxDecimalExponent) return std::numeric_limits<long double>::infinity();
    return m * powerOfTen(static_cast<int>(exponent));
  }
  long long down = -exponent;
  while (down > kMaxDecimalExponent) {
    m /= powerOfTen(kMaxDecimalExponent);
    down -= kMaxDecimalExponent;
    if (m == 0.0L) return m;
  }
  return m / powerOfTen(static_cast<int>(down));
}

// Saturating exponent accumulation: past a billion the exact value no longer matters.
long long appendExponentDigit(long long exponent, char digit) {
  if (exponent > 1'000'000'000LL) return exponent;
  return exponent * 10 + (digit - '0');
}

}  // namespace

bool IsValidNumber(std::string_view text) {
  if (text.empty()) return false;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  if (i == n) return false;

  long double whole = 0.0L;  // all mantissa digits read as one whole number
  long long fractionDigits = 0;
  while (i < n && isDigit(text[i])) whole = whole * 10.0L + (text[i++] - '0');
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && isDigit(text[i])) {
      whole = whole * 10.0L + (text[i++] - '0');
      ++fractionDigits;
    }
  }
  long long exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == n || !isDigit(text[i])) return false;
    while (i < n && isDigit(text[i])) exponent = appendExponentDigit(exponent, text[i++]);
    if (negative) exponent = -exponent;
  }
  if (i != n) return false;

  if (std::isinf(whole)) throw OverflowError();
  const long long netExponent = exponent - fractionDigits;
  if (netExponent < 5120 && std::isinf(scaleByPowerOfTen(whole, netExponent))) {
    throw OverflowError();
  }
  return true;
}

long double parseDataValue(std::string_view text) {
  // Digits past this many significant ones only shift the exponent: the extended format holds
  // about 19.3 digits, and a long fraction must not overflow the whole-number accumulator.
  constexpr int kSignificantDigits = 20;
  const auto invalid = [&]() -> long double { throw ConversionError(std::string(text)); };

  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  long double mantissa = 0.0L;
  int significant = 0;
  long long scale = 0;  // power of ten that the kept digits are short of
  bool tookDigit = false;
  bool tookPoint = false;
  const auto takeDigit = [&](char c, bool afterPoint) {
    tookDigit = true;
    if (significant < kSignificantDigits) {
      mantissa = mantissa * 10.0L + (c - '0');
      if (mantissa != 0.0L) ++significant;
      if (afterPoint) --scale;
    } else if (!afterPoint) {
      ++scale;
    }
  };
  while (i < n && isDigit(text[i])) takeDigit(text[i++], false);
  if (i < n && text[i] == '.') {
    ++i;
    tookPoint = true;
    while (i < n && isDigit(text[i])) takeDigit(text[i++], true);
  }
  if (!tookDigit && !tookPoint) return invalid();

  long long exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    if (!tookDigit) return invalid();  // "." alone is zero, but ".E5" has no mantissa to scale
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    while (i < n && isDigit(text[i]) && exponent < 500)
      exponent = exponent * 10 + (text[i++] - '0');
    if (negativeExponent) exponent = -exponent;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return invalid();

  const long double magnitude = scaleByPowerOfTen(mantissa, exponent + scale);
  if (std::isinf(magnitude) || magnitude > kLimit) return invalid();
  return negative ? -magnitude : magnitude;
}

std::string scientificText(long double value) {
  std::string out(23, ' ');
  if (std::signbit(value)) out[0] = '-';

  // Step one: 18 significant digits, to nearest with ties to even (glibc rounds exactly).
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(value));
  std::string digits;
  const char* p = buf;
  for (; *p != 'e'; ++p) {
    if (isDigit(*p)) digits.push_back(*p);
  }
  int exponent = std::atoi(p + 1);
  if (value == 0.0L) exponent = 0;

  // Step two: to 15 digits, rounding up when the 16th digit is 5 or more.
  digits.resize(18, '0');
  const bool roundUp = digits[15] >= '5';
  digits.resize(15);
  if (roundUp) {
    int k = 14;
    while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9') {
      digits[static_cast<std::size_t>(k--)] = '0';
    }
    if (k >= 0) {
      ++digits[static_cast<std::size_t>(k)];
    } else {
      digits.assign(15, '0');
      digits[0] = '1';
      ++exponent;
    }
  }

  out[1] = digits[0];
  out[2] = '.';
  for (int k = 1; k < 15; ++k)
    out[static_cast<std::size_t>(k + 2)] = digits[static_cast<std::size_t>(k)];
  out[17] = 'E';
  out[18] = exponent < 0 ? '-' : '+';
  std::snprintf(buf, sizeof buf, "%04d", exponent < 0 ? -exponent : exponent);
  out.replace(19, 4, buf, 4);
  return out;
}

std::string decimalIntegerText(std::int32_t value) {
  return std::to_string(value);
}

}  // namespace tarvelin
