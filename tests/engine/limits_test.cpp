// Hostile sizes: deep nesting, very long statements and huge sets end with a clear error or a
// result, never a crash; the fuzzing entry point takes any bytes.
#include <gtest/gtest.h>

#include <random>

#include "engine/Fuzz.h"
#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

std::string repeat(const std::string& piece, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += piece;
  return out;
}

struct NestingCase {
  const char* name;
  std::string source;
};

class DeepNestingTest : public testing::TestWithParam<NestingCase> {};

TEST_P(DeepNestingTest, IsACompilationError) {
  EngineResult result = runText(GetParam().source);
  EXPECT_EQ(result.exitCode, kExitCompilationError);
  EXPECT_NE(result.error.find("nesting is deeper than 100 levels"), std::string::npos)
      << result.error.substr(0, 300);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeepNestingTest,
    testing::Values(
        NestingCase{"Parentheses",
                    "Scalar s;\ns = " + repeat("(", 100000) + "1" + repeat(")", 100000) + ";"},
        NestingCase{"UnaryMinus", "Scalar s;\ns = " + repeat("-", 100000) + "1;"},
        NestingCase{"Not", "Scalar s;\ns = " + repeat("not ", 100000) + "1;"},
        NestingCase{"FunctionCalls",
                    "Scalar s;\ns = " + repeat("sqr(", 5000) + "1" + repeat(")", 5000) + ";"},
        NestingCase{"Sums", "Set j / 1 * 2 /;\nScalar s;\ns = " + repeat("sum(j, ", 5000) + "1" +
                                repeat(")", 5000) + ";"},
        NestingCase{"PowerChain", "Scalar s;\ns = 1" + repeat("**1", 100000) + ";"},
        NestingCase{"ComparisonChain", "Scalar s;\ns = 1" + repeat(" < 1", 100000) + ";"},
        NestingCase{"Loops",
                    "Set j / 1 /;\n" + repeat("loop(j, ", 5000) + repeat(")", 5000) + ";"}),
    [](const testing::TestParamInfo<NestingCase>& info) { return std::string(info.param.name); });

TEST(Limits, VeryLongStatementGivesItsResult) {
  EngineResult result = runText("Scalar s;\ns = 0" + repeat(" + 1", 200000) +
                                repeat(" * 1", 100000) + ";\nFile o / 'o.txt' /;\nput o s:0:0 /;");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error.substr(0, 300);
  EXPECT_EQ(putText(result, "o.txt"), "200000\n");
}

TEST(Limits, HugeLabelRangeIsRefused) {
  EngineResult result = runText("Set j / 1 * 100000000000 /;");
  EXPECT_EQ(result.exitCode, kExitCompilationError);
  EXPECT_EQ(result.error,
            "test.gms:1: set 'j' would hold more than 10000000 elements\n"
            "Set j / 1 * 100000000000 /;\n        ^ near here");
}

TEST(Limits, LargeSetAndLongDataListWork) {
  std::string data;
  for (int i = 1; i <= 20000; ++i) data += std::to_string(i) + "   1.00000000000000E+0000\n";
  EngineResult result = runText("Set j / 1 * 20000 /;\nParameter p(j)\n/\n" + data +
                                "/;\nFile o / 'o.txt' /;\nput o sum(j, p(j)):0:0 /;");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_EQ(putText(result, "o.txt"), "20000\n");
}

TEST(Fuzz, HostileInputsEndWithAnExitCode) {
  const std::string inputs[] = {
      "",
      std::string("\0\xff\xfe$", 4),
      "Set j / 1 * 3 /; Variable z; Equation e; e.. z =e= sum(j, log(z)); Model m /all/;"
      " solve m using nlp minimizing z;",
      "Scalar s; s = 1/0;",
      "File f /'x'/; f.nw = 300; put f 1 /;",
      "$ontext",
      "'unterminated",
      repeat("((((", 1000),
  };
  for (const std::string& input : inputs) {
    int code = fuzzModelInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    EXPECT_TRUE(code == kExitNormal || code == kExitCompilationError || code == kExitExecutionError)
        << code;
  }
}

TEST(Fuzz, RandomMutationsOfAModelNeverCrash) {
  const std::string model =
      "Set j / 1 * 4 /;\nParameter p(j) / 1 1, 2 2, 3 3, 4 4 /;\nVariables z, x;\n"
      "x.lo = 0.1; x.l = 1;\nEquation e;\ne.. z =e= sum(j, sqr(x*p(j) - ord(j)));\n"
      "Model m / all /;\nsolve m using nlp minimizing z;\nFile f / 'r.txt' /;\nput f x.l:0:4 /;\n";
  const char alphabet[] = "()$;,/*+-=.'\"jxzep01 \n";
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    std::string input = model;
    int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      std::size_t at = random() % input.size();
      char c = alphabet[random() % (sizeof alphabet - 1)];
      switch (random() % 3) {
        case 0:
          input[at] = c;
          break;
        case 1:
          input.insert(at, 1, c);
          break;
        default:
          input.erase(at, 1);
          break;
      }
    }
    int code = fuzzModelInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    ASSERT_TRUE(code == kExitNormal || code == kExitCompilationError || code == kExitExecutionError)
        << input;
  }
}

}  // namespace
}  // namespace tarvelin::engine::test
