// Compilation errors: each names the file and line, shows the source line and points at the
// place, and the run ends with exit code 2.
#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

struct ErrorCase {
  const char* name;
  const char* source;
  int line;
  int column;
  const char* message;
};

std::string lineOf(const std::string& source, int line) {
  std::size_t start = 0;
  for (int n = 1; n < line; ++n) start = source.find('\n', start) + 1;
  std::size_t end = source.find('\n', start);
  std::string text =
      source.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

class CompileErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(CompileErrorTest, NamesLineAndPlace) {
  const ErrorCase& c = GetParam();
  EngineResult result = runText(c.source);
  EXPECT_EQ(result.exitCode, kExitCompilationError);
  std::string expected = "test.gms:" + std::to_string(c.line) + ": " + c.message + "\n" +
                         lineOf(c.source, c.line) + "\n" + std::string(c.column, ' ') +
                         "^ near here";
  EXPECT_EQ(result.error, expected);
  EXPECT_TRUE(result.solves.empty());
}

const ErrorCase kErrorCases[] = {
    {"UnknownSymbol", "Scalar a;\na = b + 1;", 2, 4, "unknown symbol 'b'"},
    {"RedeclaredName", "Scalar a\na = 1;", 2, 0, "'a' is already declared as a parameter (line 1)"},
    {"UnclosedParenthesis", "Scalar a;\na = (1 + 2;", 2, 10, "expected ')', found ';'"},
    {"MissingSemicolonAtEnd", "Scalar a", 1, 8, "expected ';', found end of file"},
    {"UnsupportedStatement", "Set j / 1 * 3 /;\nTable t(j);", 2, 0,
     "'Table' is not supported by this engine"},
    {"UncontrolledSet", "Set j / 1 * 3 /;\nParameter p(j);\nScalar s;\ns = p(j);", 4, 6,
     "set 'j' is not controlled here (use sum, loop or an indexed assignment)"},
    {"SetControlledTwice",
     "Set j / 1 * 3 /;\nParameter p(j);\nScalar s;\ns = sum(j, sum(j, p(j)));", 4, 15,
     "set 'j' is already controlled here"},
    {"WrongDomain", "Set j / 1 * 3 /, i / a, b /;\nParameter p(j);\nScalar s;\ns = sum(i, p(i));",
     4, 13, "set 'i' is not the domain of 'p' (declared over 'j')"},
    {"DataOutsideDomain", "Set j / 1 * 3 /;\nParameter p(j)\n/\n1   1.5\n4   2.5\n/;", 5, 0,
     "'4' is not an element of set 'j' (domain of 'p')"},
    {"DuplicateData", "Set j / 1 * 3 /;\nParameter p(j) / 1 1.5, 1 2.5 /;", 2, 24,
     "duplicate entry '1' for 'p'"},
    {"LabelRangeBackwards", "Set j / 5 * 1 /;", 1, 8, "label range '5 * 1' runs backwards"},
    {"LabelRangeMixedPrefix", "Set j / a1 * b3 /;", 1, 8,
     "label range 'a1 * b3' needs two labels that differ only in their trailing number"},
    {"VariableWithoutAttribute", "Variable x;\nScalar s;\ns = x + 1;", 3, 4,
     "variable 'x' needs an attribute here (.l, .lo, .up or .fx)"},
    {"ReadingFx", "Variable x;\nScalar s;\ns = x.fx;", 3, 6, "'.fx' can only be assigned"},
    {"UnknownVariableAttribute", "Variable x;\nx.scale = 2;", 2, 2,
     "variable attribute '.scale' is not supported"},
    {"AssigningModelStatus",
     "Variable z;\nEquation e;\ne.. z =e= 1;\nModel m / all /;\nm.modelstat = 1;", 5, 2,
     "model attribute '.modelstat' is set by the solve and cannot be assigned"},
    {"UnclosedQuote", "Scalar s 'abc;", 1, 9, "text in quotes is not closed on its line"},
    {"UnsupportedDollarControl", "Scalar s;\n$include other.gms", 2, 0,
     "dollar control option '$include' is not supported"},
    {"OntextWithoutOfftext", "Scalar s;\n$ontext\ncomment", 2, 0, "$ontext without $offtext"},
    {"UnknownFunction", "Scalar s;\ns = round(1.5);", 2, 4, "unknown symbol or function 'round'"},
    {"WrongArgumentCount", "Scalar s;\ns = power(2);", 2, 4,
     "wrong number of arguments for 'power'"},
    {"UnsupportedModelType",
     "Variable z;\nEquation e;\ne.. z =e= 1;\nModel m / all /;\nsolve m using lp minimizing z;", 5,
     14, "model type 'lp' is not supported (this engine solves nlp)"},
    {"MissingUsing", "Variable z;\nEquation e;\ne.. z =e= 1;\nModel m / all /;\nsolve m fast;", 5,
     8, "expected 'using', found 'fast'"},
    {"UnknownSolver", "option nlp = baron;", 1, 13, "solver 'baron' is not known to this engine"},
    {"UnsupportedOption", "option seed = 5;", 1, 7,
     "option 'seed' is not supported by this engine"},
    {"UnsupportedRelation", "Variable x, z;\nEquation e;\ne.. z =n= x;", 3, 6,
     "equation type '=n=' is not supported (use =e=, =l= or =g=)"},
    {"ComparisonOfVariables", "Variable x, z;\nEquation e;\ne.. z =e= (x > 1);", 3, 13,
     "comparisons and logical operators of variables are not allowed in an NLP"},
    {"ConditionOnVariable", "Variable x, z;\nEquation e;\ne.. z =e= x$(x);", 3, 13,
     "a condition cannot depend on a variable (use its level .l)"},
    {"EquationDefinedTwice", "Variable z;\nEquation e;\ne.. z =e= 1;\ne.. z =e= 2;", 4, 0,
     "equation 'e' is already defined (line 3)"},
    {"EquationWithoutItsDomain", "Set j / 1 * 2 /;\nVariable z;\nEquation e(j);\ne.. z =e= 1;", 4,
     0, "equation 'e' is declared over set 'j' and must be defined over it"},
    {"ReservedWordAsName", "Scalar sum;", 1, 7,
     "'sum' is a reserved word and cannot name a symbol"},
    {"NumberRunsIntoName", "Scalar s / 12abc /;", 1, 13, "a number runs into a name: '12a'"},
    {"NumberOutOfRange", "Scalar s / 1E+1000 /;", 1, 11, "number '1E+1000' is out of range"},
    {"DeclarationInsideLoop", "Set j / 1 * 2 /;\nloop(j,\n  Scalar t;\n);", 3, 2,
     "declarations are not allowed inside a loop"},
    {"LoopNotClosed", "Set j / 1 * 2 /;\nScalar s;\nloop(j, s = s + 1;", 3, 18,
     "expected ')' closing the loop, found end of file"},
    {"SubsetDeclaration", "Set j / 1 * 2 /;\nSet k(j) / 1 /;", 2, 5,
     "subsets are not supported by this engine"},
    {"TwoIndices", "Set j / 1 * 2 /;\nParameter p(j, j);", 2, 13,
     "'p' has more than one index; one set is supported"},
    {"PutWidthNotWhole", "File f / 'x.txt' /;\nput f 1:2.5 /;", 2, 8,
     "a width or number of decimals must be a whole number from 0 to 255"},
    {"CrLfLineNumbers", "Scalar a;\r\n* comment\r\na = zz;\r\n", 3, 4, "unknown symbol 'zz'"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CompileErrorTest, testing::ValuesIn(kErrorCases),
                         [](const testing::TestParamInfo<ErrorCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(CompileErrors, AllErrorsAreListedAtTheirLines) {
  EngineResult result = runText("Scalar a;\na = b;\n* fine\na = c;\n");
  EXPECT_EQ(result.exitCode, kExitCompilationError);
  EXPECT_NE(result.listing.find("     2  a = b;\n****      ^ unknown symbol 'b'\n"),
            std::string::npos)
      << result.listing;
  EXPECT_NE(result.listing.find("     4  a = c;\n****      ^ unknown symbol 'c'\n"),
            std::string::npos)
      << result.listing;
  EXPECT_NE(result.listing.find("**** 2 ERROR(S)"), std::string::npos);
}

TEST(CompileErrors, AFailedEquationDefinitionLeavesTheEquationUndefined) {
  EngineResult result = runText("Variables x, z;\nEquation e;\ne.. z =e= x x;\ne.. z =e= x;\n");
  EXPECT_EQ(result.exitCode, kExitCompilationError);
  EXPECT_EQ(result.error,
            "test.gms:3: expected ';', found 'x'\ne.. z =e= x x;\n            ^ near here");
  EXPECT_NE(result.listing.find("**** 1 ERROR(S)"), std::string::npos) << result.listing;
}

TEST(CompileErrors, NothingRunsAfterACompilationError) {
  EngineResult result =
      runText("File f / 'out.txt' /;\nput f 'written' /;\nScalar a;\na = undefined;\n");
  EXPECT_EQ(result.exitCode, kExitCompilationError);
  EXPECT_TRUE(result.putFiles.empty());
}

}  // namespace
}  // namespace tarvelin::engine::test
