// Each construct of the language subset, run for real; the put file shows what it computed.
#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

struct ConstructCase {
  const char* name;
  const char* body;      // runs after the prelude below
  const char* expected;  // what it writes to o.txt
};

// A five-point set, a scalar v, and the put file o.txt selected.
const char* kPrelude = "Set j 'points'\n/ 1 * 5 /;\nScalar v;\nFile o / 'o.txt' /;\nput o;\n";

class ConstructTest : public testing::TestWithParam<ConstructCase> {};

TEST_P(ConstructTest, Computes) {
  const ConstructCase& c = GetParam();
  EngineResult result = runText(std::string(kPrelude) + c.body);
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_EQ(putText(result, "o.txt"), c.expected);
}

const ConstructCase kConstructs[] = {
    {"CardOfRange", "v = card(j);\nput v:0:0 /;", "5\n"},
    {"ElementListWithTextsAndLineEnds",
     "Set i 'mixed' / a 'first one', b\n'c d'\n e /;\nv = card(i);\nput v:0:0 /;", "4\n"},
    {"LabelRangeWithPrefixAndZeros", "Set k / p08 * p11 /;\nloop(k, put k.tl:0 ' ';);\nput /;",
     "p08 p09 p10 p11 \n"},
    {"AliasOrdAndSum", "Alias (j, jj);\nv = sum(jj, ord(jj));\nput v:0:0 /;", "15\n"},
    {"ParameterDataAcrossLines",
     "Parameter p(j) 'data'\n/\n1   1.50000000000000E+0000\n2  -2.50000000000000E+0000\n"
     "3   1e1, 5 .5\n/;\nv = sum(j, p(j));\nput v:0:2 /;",
     "9.50\n"},
    {"ScalarDataAndDefaults", "Scalars a / -1.5E2 /, b;\nput a:0:1 ' ' b:0:1 /;", "-150.0 0.0\n"},
    {"IndexedAssignmentWithTargetCondition",
     "Parameter p(j);\np(j)$(ord(j) > 3) = 1;\nv = sum(j, p(j));\nput v:0:0 /;", "2\n"},
    {"DollarOnValue",
     "Parameter p(j);\np(j) = 10 + 2$(ord(j) = 2);\nv = sum(j, p(j));\nput v:0:0 /;", "52\n"},
    {"FixedLabelIndex", "Parameter p(j) / 3 7 /;\nv = p('3') + p(\"4\");\nput v:0:0 /;", "7\n"},
    {"ProdWithCondition", "v = prod(j$(ord(j) <= 4), ord(j));\nput v:0:0 /;", "24\n"},
    {"SminSmax", "put smin(j, sqr(ord(j) - 3)):0:0 ' ' smax(j, -ord(j)):0:0 /;", "0 -1\n"},
    {"ArithmeticPrecedence",
     "put (2*3-4/2):0:0 ' ' (2-3-4):0:0 ' ' (-2**2):0:0 ' ' (12/2/3):0:0 /;", "4 -5 -4 2\n"},
    {"Functions",
     "put sqr(3):0:0 ' ' sqrt(16):0:0 ' ' abs(-2):0:0 ' ' exp(0):0:0 ' ' log(exp(2)):0:0 ' '"
     " log10(1000):0:0 ' ' power(-2, 3):0:0 ' ' (2**10):0:0 ' ' min(3, 1, 2):0:0 ' '"
     " max(3, 1, 2):0:0 ' ' sin(pi/2):0:0 ' ' cos(pi):0:0 /;",
     "9 4 2 1 2 3 -8 1024 1 3 1 -1\n"},
    {"ComparisonsAndLogic",
     "v = (1 < 2) + (2 <= 2) + (3 > 4) + (1 ge 1) + (1 eq 1) + (1 ne 1) + (1 <> 2)"
     " + (not 0) + (1 and 0) + (1 or 0) + (1 xor 1) + (2 = 2) + (1 lt 0) + (5 gt 4);\n"
     "put v:0:0 /;",
     "9\n"},
    {"Infinity", "put inf:0 ' ' (-inf):0 ' ' (inf + 1):6 /;", "+INF -INF   +INF\n"},
    {"VariableAttributes",
     "Variable x;\nPositive Variable y;\nx.lo = 1; x.up = 3; x.l = 2;\n"
     "put (x.lo + x.up + x.l):0:0 ' ' y.lo:0:0 ' ' y.up:0 /;\nx.fx = 5;\n"
     "put x.lo:0:0 ' ' x.l:0:0 ' ' x.up:0:0 /;",
     "6 0 +INF\n5 5 5\n"},
    {"IndexedVariableLevels", "Variable x(j);\nx.l(j) = ord(j);\nput sum(j, x.l(j)):0:0 /;",
     "15\n"},
    {"LoopsNestedAndConditional",
     "Alias (j, k);\nloop(j$(ord(j) > 3), loop(k, v = v + 1;););\nput v:0:0 /;", "10\n"},
    {"LoopBodyLastStatementWithoutSemicolon", "loop(j, v = v + ord(j));\nput v:0:0 /;", "15\n"},
    {"CommentsAndTextBlocks",
     "$title a title\n* v = 100;\n$ontext\nv = 200;\n$offtext\n$onText\n$offText\nv = 1;\nput "
     "v:0:0 /;",
     "1\n"},
    {"CaseInsensitive", "SCALAR Big / 2 /;\nbig = BIG * 2;\nPUT O BiG:0:0 /;", "4\n"},
    {"CrLfLineEnds", "Scalar w\r\n/ 3 /;\r\nv = w\r\n  * 2;\r\nput v:0:0 /;\r\n", "6\n"},
    {"SettingsOnTheirOwnLines",
     "Variable c1;\nc1.lo =\n-1E4\n;\nc1.up =\n.5\n;\nc1.l =\n1.5e2\n;\n"
     "put c1.lo:0:0 ' ' c1.up:0:1 ' ' c1.l:0:0 /;",
     "-10000 0.5 150\n"},
    {"HarmlessOptions",
     "option limrow = 0, limcol = 0;\noption solprint = off;\noption decimals = 8;\noption nlp = "
     "minos;\n"
     "put 'ok' /;",
     "ok\n"},
    {"FileAttributesReadBack", "o.nd = 4;\nput o.nd:0:0 ' ' o.nw:0:0 /;", "4 12\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ConstructTest, testing::ValuesIn(kConstructs),
                         [](const testing::TestParamInfo<ConstructCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(Constructs, UnquotedFileNameIsUsedAsWritten) {
  EngineResult result = runText("File p / results.txt /;\nput p 'x' /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_EQ(putText(result, "results.txt"), "x\n");
}

TEST(Constructs, DisplayWritesToTheListing) {
  EngineResult result = runText(
      "Set j / a, b /;\nParameter p(j) / a 1.5 /;\nScalar s / 2 /;\nVariable x;\nx.l = 3;\n"
      "display 'values', s, p, j, x.l;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_NE(result.listing.find("---- 6 values\n"), std::string::npos) << result.listing;
  EXPECT_NE(result.listing.find("---- 6 PARAMETER s = 2\n"), std::string::npos);
  EXPECT_NE(result.listing.find("---- 6 PARAMETER p\n    a 1.5\n"), std::string::npos);
  EXPECT_NE(result.listing.find("---- 6 SET j = a b\n"), std::string::npos);
  EXPECT_NE(result.listing.find("---- VAR x"), std::string::npos);
}

TEST(Constructs, ByteOrderMarkIsSkipped) {
  EngineResult result =
      runText("\xEF\xBB\xBFScalar a / 2 /;\nFile o / 'o.txt' /;\nput o a:0:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_EQ(putText(result, "o.txt"), "2\n");
}

TEST(Constructs, ListingNumbersTheSource) {
  EngineResult result = runText("Scalar a;\r\na = 1;\r\n");
  ASSERT_EQ(result.exitCode, kExitNormal);
  EXPECT_NE(result.listing.find("     1  Scalar a;\n     2  a = 1;\n"), std::string::npos)
      << result.listing;
}

}  // namespace
}  // namespace tarvelin::engine::test
