// Put file formatting: numbers in fixed and scientific notation, widths, decimals, labels, text,
// line ends, page width, and files opened, closed and reopened.
#include <gtest/gtest.h>

#include <limits>

#include "engine/PutFile.h"
#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

struct NumberCase {
  double value;
  int width;
  int decimals;
  int nr;
  double nz;
  const char* expected;
};

class PutNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(PutNumberTest, Formats) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(formatPutNumber(c.value, c.width, c.decimals, c.nr, c.nz), c.expected)
      << c.value << " width " << c.width << " decimals " << c.decimals << " nr " << c.nr;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, PutNumberTest,
    testing::Values(
        // Fixed notation (.nr 1), the default width 12 and 2 decimals.
        NumberCase{1.2356, 12, 2, 1, 1e-5, "        1.24"},
        NumberCase{-1.2356, 12, 2, 1, 1e-5, "       -1.24"},
        NumberCase{1e-8, 12, 2, 1, 1e-5, "        0.00"},
        NumberCase{-0.001, 8, 2, 1, 0, "    0.00"},
        NumberCase{2.5e-6, 12, 8, 1, 1e-5, "  0.00000000"},
        NumberCase{2.5e-6, 12, 8, 1, 0, "  0.00000250"},
        NumberCase{1e9, 12, 0, 1, 1e-5, "  1000000000"},
        // Too wide for the field: E-format with as many digits as fit, then asterisks.
        NumberCase{1e9, 12, 2, 1, 1e-5, "1.0000000E+9"},
        NumberCase{-1.5e12, 10, 2, 1, 1e-5, "-1.500E+12"}, NumberCase{1e9, 4, 2, 1, 1e-5, "****"},
        // Width 0: as narrow as possible.
        NumberCase{1.2356, 0, 2, 1, 1e-5, "1.24"}, NumberCase{1e9, 0, 2, 1, 1e-5, "1000000000.00"},
        NumberCase{7, 0, 0, 1, 1e-5, "7"},
        // Scientific notation (.nr 2).
        NumberCase{12345678.9012345, 0, 12, 2, 1e-5, "1.234567890123E+07"},
        NumberCase{1.2, 12, 2, 2, 1e-5, "    1.20E+00"},
        NumberCase{1.2e-7, 12, 2, 2, 1e-5, "    1.20E-07"},
        NumberCase{-5e300, 0, 3, 2, 1e-5, "-5.000E+300"}, NumberCase{0, 0, 3, 2, 1e-5, "0.000E+00"},
        NumberCase{123.456, 6, 2, 2, 1e-5, " 1E+02"},
        // .nr 0: a number that would show as zero is shown in E-format.
        NumberCase{1.2e-7, 12, 2, 0, 0, "     1.20E-7"},
        NumberCase{1.25, 12, 2, 0, 0, "        1.25"},
        // Infinite values.
        NumberCase{kInfinity, 12, 2, 1, 1e-5, "        +INF"},
        NumberCase{-kInfinity, 0, 2, 2, 1e-5, "-INF"}));

TEST(PutText, IsLeftJustifiedAndCut) {
  EXPECT_EQ(formatPutText("abc", 5), "abc  ");
  EXPECT_EQ(formatPutText("abcdef", 3), "abc");
  EXPECT_EQ(formatPutText("abc", 0), "abc");
}

std::string putRun(const std::string& body) {
  EngineResult result = runText(
      "Set j / 1 * 3 /;\nParameter p(j) / 1 1.5, 2 -2.26, 3 1000000 /;\n"
      "File f / 'f.txt' /;\nput f;\n" +
      body);
  EXPECT_EQ(result.exitCode, kExitNormal) << result.error;
  return putText(result, "f.txt");
}

TEST(PutStatement, DefaultsLabelsAndTexts) {
  EXPECT_EQ(putRun("loop(j, put j.tl, p(j) /;);"), "1" + std::string(19, ' ') + "1.50\n2" +
                                                       std::string(18, ' ') + "-2.26\n3" +
                                                       std::string(13, ' ') + "1000000.00\n");
  EXPECT_EQ(putRun("loop(j, put j.tl:0 ':' p(j):0:1 /;);"), "1:1.5\n2:-2.3\n3:1000000.0\n");
  EXPECT_EQ(putRun("put 'a', 'b':3, 'c' / 'next line' /;"), "ab  c\nnext line\n");
  EXPECT_EQ(putRun("put / / 'x' /;"), "\n\nx\n");
}

TEST(PutStatement, FileAttributesSetTheDefaults) {
  EXPECT_EQ(putRun("f.nw = 8; f.nd = 3;\nput p('1') /;"), "   1.500\n");
  EXPECT_EQ(putRun("f.nr = 2; f.nd = 4;\nput p('3') p('2'):0 /;"), "  1.0000E+06-2.2600E+00\n");
  EXPECT_EQ(putRun("f.lw = 4;\nloop(j$(ord(j) = 2), put j.tl '|' /;);"), "2   |\n");
  EXPECT_EQ(putRun("f.tw = 4;\nput 'ab' 'cdefg' /;"), "ab  cdef\n");
  EXPECT_EQ(putRun("f.nz = 0; f.nd = 8;\nput 0.0000025:0 /;"), "0.00000250\n");
  EXPECT_EQ(putRun("f.nr = 1; f.nd = 1;\nput p('2'):8:3 /;"), "  -2.260\n");
}

TEST(PutStatement, PageWidthStartsANewLine) {
  EXPECT_EQ(putRun("f.pw = 10;\nput 'abcdef' 'ghijkl' /;"), "abcdef\nghijkl\n");
}

TEST(PutStatement, PutcloseThenPutReplacesUnlessAppending) {
  EXPECT_EQ(putRun("put 'first' /;\nputclose f;\nput f 'second' /;"), "second\n");
  EXPECT_EQ(putRun("f.ap = 1;\nput 'first' /;\nputclose;\nput f 'second' /;"), "first\nsecond\n");
  EXPECT_EQ(putRun("put 'no line end';"), "no line end");
}

TEST(PutStatement, AttributeOutOfRangeIsAnExecutionError) {
  EngineResult result = runText("File f / 'f.txt' /;\nf.nd = 16;\n");
  EXPECT_EQ(result.exitCode, kExitExecutionError);
  EXPECT_EQ(result.error,
            "test.gms:2: execution error: .nd = 16: must be a whole number from 0 to 15\n"
            "f.nd = 16;\n^ near here");
}

TEST(PutStatement, NoFileSelected) {
  EngineResult result = runText("put 'x' /;\n");
  EXPECT_EQ(result.exitCode, kExitExecutionError);
  EXPECT_EQ(result.error,
            "test.gms:1: execution error: no put file is selected (write 'put <file>;' first)\n"
            "put 'x' /;\n^ near here");
}

TEST(PutStatement, FilesOnDiskAreWrittenInTheCurrentFolder) {
  TempDir dir;
  dir.write("m.gms", "File res / 'output2.dat' /;\nput res;\nput 1.5:0:3 /;\nputclose res;\n");
  std::string gams = requiredEnv("TARVELIN_STANDINS_DIR") + "/gams";
  EXPECT_EQ(runProgram(dir.path(), "'" + gams + "' m.gms"), 0) << dir.read("out.txt");
  EXPECT_EQ(dir.read("output2.dat"), "1.500\n");
}

}  // namespace
}  // namespace tarvelin::engine::test
