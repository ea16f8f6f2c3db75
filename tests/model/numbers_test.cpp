#include "model/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/Errors.h"

namespace tarvelin {
namespace {

enum class Check { Accepted, Refused, Overflow };

struct NumberCase {
  const char* text;
  Check check;
  const char* written;  // the parse's 23-character form, or nullptr when the parse refuses it
};

std::ostream& operator<<(std::ostream& os, const NumberCase& c) {
  return os << '"' << c.text << '"';
}

// The check and the parse side by side: they differ on purpose at the edges.
const NumberCase kNumberCases[] = {
    {"1E7", Check::Accepted, " 1.00000000000000E+0007"},
    {"-1E4", Check::Accepted, "-1.00000000000000E+0004"},
    {"1.5E2", Check::Accepted, " 1.50000000000000E+0002"},
    {"1E19", Check::Accepted, " 1.00000000000000E+0019"},
    {"-1E9", Check::Accepted, "-1.00000000000000E+0009"},
    {"0", Check::Accepted, " 0.00000000000000E+0000"},
    {"+5", Check::Accepted, " 5.00000000000000E+0000"},
    {"  5", Check::Accepted, " 5.00000000000000E+0000"},
    {"1e-3", Check::Accepted, " 1.00000000000000E-0003"},
    {"1E+05", Check::Accepted, " 1.00000000000000E+0005"},
    {"5  ", Check::Refused, " 5.00000000000000E+0000"},
    {"1 ", Check::Refused, " 1.00000000000000E+0000"},
    {"5.", Check::Accepted, " 5.00000000000000E+0000"},
    {".5", Check::Accepted, " 5.00000000000000E-0001"},
    {".", Check::Accepted, " 0.00000000000000E+0000"},
    {"-.", Check::Accepted, "-0.00000000000000E+0000"},
    {"E5", Check::Accepted, nullptr},
    {".E5", Check::Accepted, nullptr},
    {"1E", Check::Refused, " 1.00000000000000E+0000"},
    {"1E+", Check::Refused, " 1.00000000000000E+0000"},
    {"", Check::Refused, nullptr},
    {"   ", Check::Refused, nullptr},
    {"+", Check::Refused, nullptr},
    {"-", Check::Refused, nullptr},
    {"- 5", Check::Refused, nullptr},
    {"1 000", Check::Refused, nullptr},
    {"1,5", Check::Refused, nullptr},
    {"1.2.3", Check::Refused, nullptr},
    {"1e5.0", Check::Refused, nullptr},
    {"$1F", Check::Refused, nullptr},
    {"0x10", Check::Refused, nullptr},
    {"Inf", Check::Refused, nullptr},
    {"NaN", Check::Refused, nullptr},
    {"1d5", Check::Refused, nullptr},
    {"\t1", Check::Refused, nullptr},
    {"1E1000", Check::Accepted, " 1.00000000000000E+1000"},
    {"1E4932", Check::Accepted, " 1.00000000000000E+4932"},
    {"1E4933", Check::Overflow, nullptr},
    {"1E5000", Check::Overflow, nullptr},
    {"1E5119", Check::Overflow, nullptr},
    {"1E5120", Check::Accepted, nullptr},
    {"1E9999", Check::Accepted, nullptr},
    {"0E9999", Check::Accepted, nullptr},
    // A net exponent below 5120 is what decides: the point moves it.
    {"0.1E5120", Check::Overflow, nullptr},
    {"0E5000", Check::Accepted, nullptr},
    {"1E-4999", Check::Accepted, " 0.00000000000000E+0000"},
    {"1E-5000", Check::Accepted, nullptr},  // the exponent stops at 500: "0" is left over
    {"1E99999999999999999999", Check::Accepted, nullptr},
};

class NumberTextTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextTest, CheckAndParseFollowTheirOwnRules) {
  const NumberCase& c = GetParam();
  switch (c.check) {
    case Check::Accepted:
      EXPECT_TRUE(IsValidNumber(c.text));
      break;
    case Check::Refused:
      EXPECT_FALSE(IsValidNumber(c.text));
      break;
    case Check::Overflow:
      EXPECT_THROW(IsValidNumber(c.text), OverflowError);
      break;
  }
  if (c.written == nullptr) {
    try {
      parseDataValue(c.text);
      ADD_FAILURE() << "parse accepted it";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.text(), c.text);
      EXPECT_EQ(std::string(e.what()),
                std::string("'") + c.text + "' is not a valid floating point value");
    }
  } else {
    EXPECT_EQ(scientificText(parseDataValue(c.text)), c.written);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, NumberTextTest, ::testing::ValuesIn(kNumberCases));

TEST(IsValidNumber, AWholeNumberOfDigitsBeyondTheLimitOverflowsWhateverTheExponent) {
  const std::string digits(5000, '9');
  EXPECT_THROW(IsValidNumber(digits), OverflowError);
  EXPECT_THROW(IsValidNumber("0." + digits + "E9999"), OverflowError);
  EXPECT_TRUE(IsValidNumber(std::string(6000, '0') + "1"));
}

struct WrittenCase {
  const char* text;
  const char* written;
};

class ScientificFormTest : public ::testing::TestWithParam<WrittenCase> {};

TEST_P(ScientificFormTest, RoundsTo18DigitsThenTo15) {
  const std::string written = scientificText(parseDataValue(GetParam().text));
  EXPECT_EQ(written, GetParam().written);
  EXPECT_EQ(written.size(), 23u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScientificFormTest,
    ::testing::Values(WrittenCase{"1.5", " 1.50000000000000E+0000"},
                      WrittenCase{"-1.5", "-1.50000000000000E+0000"},
                      WrittenCase{"0", " 0.00000000000000E+0000"},
                      WrittenCase{"-0", "-0.00000000000000E+0000"},
                      WrittenCase{"12.5", " 1.25000000000000E+0001"},
                      WrittenCase{"-273.15", "-2.73150000000000E+0002"},
                      WrittenCase{"0.001", " 1.00000000000000E-0003"},
                      WrittenCase{"2.5E-3", " 2.50000000000000E-0003"},
                      WrittenCase{"  2.5E-3  ", " 2.50000000000000E-0003"},
                      WrittenCase{"6.02214076E23", " 6.02214076000000E+0023"},
                      WrittenCase{"0.6666666666666666666", " 6.66666666666667E-0001"},
                      WrittenCase{"12.34567890123456", " 1.23456789012346E+0001"},
                      WrittenCase{"9.999999999999999", " 1.00000000000000E+0001"},
                      WrittenCase{"1.0000000000000050", " 1.00000000000001E+0000"},
                      WrittenCase{"1E1000", " 1.00000000000000E+1000"},
                      WrittenCase{"123456789012345", " 1.23456789012345E+0014"},
                      WrittenCase{"0.000123456789012345", " 1.23456789012345E-0004"},
                      // A long fraction keeps its value rather than overflowing.
                      WrittenCase{"0.99999999999999999999999999999999999999",
                                  " 1.00000000000000E+0000"},
                      WrittenCase{"1E-4930", " 1.00000000000000E-4930"}));

TEST(ScientificForm, SmallestSubnormalKeepsFourExponentDigits) {
  const std::string written = scientificText(std::nextafter(0.0L, 1.0L));
  EXPECT_EQ(written.size(), 23u);
  EXPECT_EQ(written.substr(17), "E-4951");
}

TEST(DecimalIntegerText, DigitsOnlyWithMinusForNegatives) {
  EXPECT_EQ(decimalIntegerText(0), "0");
  EXPECT_EQ(decimalIntegerText(57), "57");
  EXPECT_EQ(decimalIntegerText(-12), "-12");
  EXPECT_EQ(decimalIntegerText(2147483647), "2147483647");
  EXPECT_EQ(decimalIntegerText(-2147483647 - 1), "-2147483648");
}

}  // namespace
}  // namespace tarvelin
