#include "engine/PutFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace tarvelin::engine {
namespace {

// The text printf gives for "%.*E" or "%.*f" (format 'E' or 'f'); std::to_chars is exact like
// printf but an order of magnitude faster, which counts for thousands of put items.
std::string printfDouble(char format, int decimals, double value) {
  char buffer[512];
  auto style = format == 'E' ? std::chars_format::scientific : std::chars_format::fixed;
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, style, decimals);
  if (error != std::errc()) {
    std::snprintf(buffer, sizeof buffer, format == 'E' ? "%.*E" : "%.*f", decimals, value);
    return buffer;
  }
  std::string text(buffer, end);
  if (format == 'E') {
    for (char& c : text) {
      if (c == 'e') c = 'E';
    }
  }
  return text;
}

// "-0.00" is shown as "0.00".
std::string dropNegativeZero(std::string text) {
  if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) {
    text.erase(0, 1);
  }
  return text;
}

// E-format with the shortest exponent ("1.5E+9", "2.0E-12").
std::string compactScientific(double value, int decimals) {
  std::string text = printfDouble('E', decimals, value);
  std::size_t e = text.find('E');
  std::string mantissa = text.substr(0, e);
  char sign = text[e + 1];
  std::string digits = text.substr(e + 2);
  while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
  return mantissa + "E" + sign + digits;
}

std::string rightJustify(const std::string& text, int width) {
  if (width <= 0 || static_cast<int>(text.size()) >= width) return text;
  return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

// The widest E-format that fits; fixed notation keeps at least one decimal ("1.0E+9"), as the
// language does, and prints asterisks below that.
std::string fitScientific(double value, int width, bool compact, int maxDecimals) {
  for (int d = maxDecimals; d >= (compact ? 1 : 0); --d) {
    std::string text = compact ? compactScientific(value, d) : printfDouble('E', d, value);
    if (static_cast<int>(text.size()) <= width) return rightJustify(text, width);
  }
  return std::string(static_cast<std::size_t>(width), '*');
}

}  // namespace

std::string formatPutNumber(double value, int width, int decimals, int nr, double nz) {
  if (std::isnan(value)) return rightJustify("UNDF", width);
  if (std::isinf(value)) return rightJustify(value > 0 ? "+INF" : "-INF", width);
  if (nr == 2) {
    std::string text = printfDouble('E', decimals, value);
    if (width == 0 || static_cast<int>(text.size()) <= width) return rightJustify(text, width);
    return fitScientific(value, width, false, decimals);
  }
  if (nz > 0 && std::fabs(value) < nz) value = 0;
  std::string text = dropNegativeZero(printfDouble('f', decimals, value));
  bool vanished = value != 0 && text.find_first_of("123456789") == std::string::npos;
  if (nr == 0 && vanished) {
    text = compactScientific(value, decimals);
    if (width == 0) return text;
    if (static_cast<int>(text.size()) <= width) return rightJustify(text, width);
    return fitScientific(value, width, true, 15);
  }
  if (width == 0 || static_cast<int>(text.size()) <= width) return rightJustify(text, width);
  return fitScientific(value, width, true, 15);
}

std::string formatPutText(std::string_view text, int width) {
  if (width <= 0) return std::string(text);
  std::string out(text.substr(0, static_cast<std::size_t>(width)));
  out.append(static_cast<std::size_t>(width) - out.size(), ' ');
  return out;
}

const char* putLineEnd() {
#ifdef _WIN32
  return "\r\n";
#else
  return "\n";
#endif
}

}  // namespace tarvelin::engine
