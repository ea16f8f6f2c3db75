// Execution: solves and what they leave behind, bounds and projection, execution errors with
// their lines and values, and aborts that name the loop elements.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

// min (x - 1)^2 over [lo, up], starting at start; puts x.l, x.m, z.l, modelstat, solvestat.
EngineResult boundedSolve(const std::string& lo, const std::string& up, const std::string& start) {
  return runText("Variables x, z;\nx.lo = " + lo + ";\nx.up = " + up + ";\nx.l = " + start +
                 ";\nEquation e;\ne.. z =e= sqr(x - 1);\nModel m / all /;\n"
                 "solve m using nlp minimizing z;\nFile r / 'r.txt' /;\nr.nd = 6;\n"
                 "put r x.l:0 ' ' x.m:0 ' ' z.l:0 ' ' m.modelstat:0:0 ' ' m.solvestat:0:0 ' '"
                 " m.objval:0 /;\n");
}

TEST(Solve, LevelsMarginalsAndAttributesAfterTheSolve) {
  EngineResult result = boundedSolve("2", "3", "2.5");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 6u);
  EXPECT_NEAR(v[0], 2, 1e-6);  // at its lower bound
  EXPECT_NEAR(v[1], 2, 1e-5);  // d z / d x there
  EXPECT_NEAR(v[2], 1, 1e-6);
  EXPECT_EQ(v[3], 2);  // Locally Optimal
  EXPECT_EQ(v[4], 1);  // Normal Completion
  EXPECT_NEAR(v[5], 1, 1e-6);
  EXPECT_NE(result.listing.find("**** SOLVER STATUS     1 Normal Completion\n"), std::string::npos);
  EXPECT_NE(result.listing.find("**** MODEL STATUS      2 Locally Optimal\n"), std::string::npos);
  EXPECT_NE(result.listing.find("**** OBJECTIVE VALUE   1.000000000000000E+00\n"),
            std::string::npos)
      << result.listing;
  // A level on its bound is reported as the bound itself.
  EXPECT_NE(result.listing.find(
                "---- VAR x                               2                 2                 3"),
            std::string::npos)
      << result.listing;
}

TEST(Solve, LevelsOutsideTheBoundsAreProjected) {
  for (const auto& [start, expected] : {std::pair<const char*, int>{"5", 1}, {"2.5", 0}}) {
    EngineResult result = boundedSolve("2", "3", start);
    ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
    ASSERT_EQ(result.solves.size(), 1u);
    EXPECT_EQ(result.solves[0].projectedLevels, expected) << start;
    EXPECT_NE(result.listing.find(" LEVELS PROJECTED ONTO BOUNDS BEFORE THE SOLVE  " +
                                  std::to_string(expected) + "\n"),
              std::string::npos);
  }
}

TEST(Solve, BoundsOf1E19AreNoBounds) {
  EngineResult result = boundedSolve("-1E19", "1E19", "-7");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 6u);
  EXPECT_NEAR(v[0], 1, 1e-6);
  EXPECT_EQ(result.solves[0].projectedLevels, 0);
}

TEST(Solve, LowerAboveUpperIsAnErrorBeforeTheSolve) {
  EngineResult result = boundedSolve("3", "2", "2.5");
  EXPECT_EQ(result.exitCode, kExitExecutionError);
  EXPECT_EQ(result.error,
            "test.gms:8: execution error: variable x has its lower bound 3 above its upper "
            "bound 2\nsolve m using nlp minimizing z;\n^ near here");
  EXPECT_TRUE(result.solves.empty());
  EXPECT_EQ(putText(result, "r.txt"), "");
}

TEST(Solve, MaximizeAndConstraintMarginals) {
  // max -(x + y) with x y >= 4: x = y = 2; raising the 4 lowers the objective at 1/sqrt(4).
  EngineResult result = runText(
      "Positive Variables x, y;\nVariable z;\nx.l = 1; y.l = 3;\nEquations obj, area;\n"
      "obj.. z =e= -(x + y);\narea.. x*y =g= 4;\nModel m / all /;\n"
      "solve m using nlp maximizing z;\nFile r / 'r.txt' /;\nr.nd = 6;\n"
      "put r x.l:0 ' ' y.l:0 ' ' z.l:0 ' ' area.m:0 ' ' area.l:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 5u);
  EXPECT_NEAR(v[0], 2, 1e-5);
  EXPECT_NEAR(v[1], 2, 1e-5);
  EXPECT_NEAR(v[2], -4, 1e-5);
  EXPECT_NEAR(v[3], -0.5, 1e-5);
  EXPECT_NEAR(v[4], 0, 1e-5);  // lhs - rhs at the solution
}

TEST(Solve, ObjectiveWithBoundsIsMinimisedThroughItsDefinition) {
  // z starts on its lower bound; the bound becomes a row on the definition's right-hand side.
  EngineResult result = runText(
      "Variables x, z;\nz.lo = -100;\nz.l = -100;\nx.l = 3;\nEquation e;\n"
      "e.. sqr(x - 2) + 1 =e= z;\nModel m / all /;\nsolve m using nlp minimizing z;\n"
      "File r / 'r.txt' /;\nr.nd = 6;\nput r x.l:0 ' ' z.l:0 ' ' e.m:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_TRUE(result.solves[0].objectiveEliminated);
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 3u);
  EXPECT_NEAR(v[0], 2, 1e-5);
  EXPECT_NEAR(v[1], 1, 1e-6);
  EXPECT_EQ(v[2], -1);  // z on the right: raising the equation's constant lowers z
}

TEST(Solve, BoundOnTheObjectiveIsHonoured) {
  EngineResult result = runText(
      "Variables x, z;\nz.lo = 5;\nx.l = 3;\nEquation e;\ne.. z =e= sqr(x - 2) + 1;\n"
      "Model m / all /;\nsolve m using nlp minimizing z;\nFile r / 'r.txt' /;\nr.nd = 6;\n"
      "put r abs(x.l - 2):0 ' ' z.l:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 2u);
  EXPECT_NEAR(v[0], 2, 1e-5);
  EXPECT_NEAR(v[1], 5, 1e-6);
}

TEST(Solve, ObjectiveThatIsNotDefinedDirectlyStaysAVariable) {
  EngineResult result = runText(
      "Variables x, z;\nx.l = 3;\nEquation e;\ne.. 2*z =e= sqr(x - 2) + 2;\n"
      "Model m / all /;\nsolve m using nlp minimizing z;\nFile r / 'r.txt' /;\nr.nd = 6;\n"
      "put r x.l:0 ' ' z.l:0 ' ' e.m:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_FALSE(result.solves[0].objectiveEliminated);
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 3u);
  EXPECT_NEAR(v[0], 2, 1e-5);
  EXPECT_NEAR(v[1], 1, 1e-6);
  EXPECT_NEAR(v[2], 0.5, 1e-6);
}

TEST(Solve, EvaluationErrorsAtTrialPointsShortenTheStep) {
  // From x = 10 the Newton step for x - log(x) reaches x = -80, where log fails.
  EngineResult result = runText(
      "Variables x, z;\nx.l = 10;\nEquation e;\ne.. z =e= x - log(x);\nModel m / all /;\n"
      "solve m using nlp minimizing z;\nFile r / 'r.txt' /;\nr.nd = 8;\nput r x.l:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_EQ(result.solves[0].modelStatus, 2);
  EXPECT_EQ(putText(result, "r.txt"), "1.00000000\n");
}

TEST(Solve, SolverChoiceIsSaidPlainly) {
  EngineResult result = runText(
      "Variables x, z;\nEquation e;\ne.. z =e= sqr(x);\nModel m / all /;\noption nlp=snop;\n"
      "solve m using nlp minimizing z;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  EXPECT_NE(result.listing.find("--- Solver: SNOP requested; this engine has no SNOP, so Ipopt "
                                "solves the model instead."),
            std::string::npos)
      << result.listing;
  EXPECT_NE(result.listing.find("     SOLVER  IPOPT"), std::string::npos);
}

struct StatusCase {
  const char* name;
  const char* source;
  int solverStatus;
  const char* solverWords;
  int modelStatus;
  const char* modelWords;
};

class SolveStatusTest : public testing::TestWithParam<StatusCase> {};

// An unsuccessful solve is reported in the statuses; the run itself goes on and exits 0.
TEST_P(SolveStatusTest, ReportsTheOutcome) {
  const StatusCase& c = GetParam();
  EngineResult result = runText(c.source);
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  ASSERT_EQ(result.solves.size(), 1u);
  EXPECT_EQ(result.solves[0].solverStatus, c.solverStatus);
  EXPECT_EQ(result.solves[0].modelStatus, c.modelStatus);
  EXPECT_NE(result.listing.find(std::string("**** SOLVER STATUS     ") +
                                std::to_string(c.solverStatus) + " " + c.solverWords + "\n"),
            std::string::npos)
      << result.listing;
  EXPECT_NE(result.listing.find(std::string("**** MODEL STATUS      ") +
                                std::to_string(c.modelStatus) + " " + c.modelWords + "\n"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SolveStatusTest,
    testing::Values(StatusCase{"IterationLimit",
                               "Variables x, y, z;\nx.l = -1.2; y.l = 1;\nEquation e;\n"
                               "e.. z =e= sqr(1 - x) + 100*sqr(y - sqr(x));\nModel m / all /;\n"
                               "option iterlim = 2;\nsolve m using nlp minimizing z;\n",
                               2, "Iteration Interrupt", 7, "Feasible Solution"},
                    StatusCase{
                        "Infeasible",
                        "Variables x, z;\nx.l = 1;\nEquations e, obj;\ne.. sqr(x) =e= -1;\n"
                        "obj.. z =e= x;\nModel m / all /;\nsolve m using nlp minimizing z;\n",
                        1, "Normal Completion", 5, "Locally Infeasible"}),
    [](const testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

struct ErrorCase {
  const char* name;
  const char* source;
  const char* expected;
};

class ExecutionErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(ExecutionErrorTest, StopsWithLineAndValues) {
  EngineResult result = runText(GetParam().source);
  EXPECT_EQ(result.exitCode, kExitExecutionError);
  EXPECT_EQ(result.error, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExecutionErrorTest,
    testing::Values(
        ErrorCase{"AbortInsideALoopNamesTheElement",
                  "Set j / 1 * 9 /;\nParameter S(j);\nS(j) = ord(j) - 7;\n"
                  "loop(j, abort$(S(j) = 0) 'A stiffness value is zero';);\n",
                  "test.gms:4: abort: A stiffness value is zero (while j = 7)\n"
                  "loop(j, abort$(S(j) = 0) 'A stiffness value is zero';);\n        ^ near here"},
        ErrorCase{"AbortInNestedLoopsNamesEveryElement",
                  "Set i / a, b /, j / 1 * 3 /;\nloop(i,\n  loop(j,\n    abort$(ord(i) = 2 and "
                  "ord(j) = 3) 'stop';\n  );\n);\n",
                  "test.gms:4: abort: stop (while i = b, j = 3)\n"
                  "    abort$(ord(i) = 2 and ord(j) = 3) 'stop';\n    ^ near here"},
        ErrorCase{"AbortOutsideALoop", "Scalar s / 1 /;\nabort$(s > 0) 'positive';\n",
                  "test.gms:2: abort: positive\nabort$(s > 0) 'positive';\n^ near here"},
        ErrorCase{"DivisionByZero",
                  "Set j / 1 * 3 /;\nParameter p(j), q(j);\np(j) = ord(j) - 2;\nq(j) = 1 / p(j);\n",
                  "test.gms:4: execution error: division by zero (1 / 0)\nq(j) = 1 / p(j);\n"
                  "           ^ near here"},
        ErrorCase{"LogOfNegative", "Scalar s / -2 /;\ns = log(s);\n",
                  "test.gms:2: execution error: log(-2): argument is not positive\ns = log(s);\n"
                  "    ^ near here"},
        ErrorCase{"PowerOfNegativeBase", "Scalar s / -2 /;\ns = s ** 0.5;\n",
                  "test.gms:2: execution error: x**y with negative x (-2 ** 0.5); use power(x, n)"
                  " for whole n\ns = s ** 0.5;\n      ^ near here"},
        ErrorCase{"PowerWithFractionalExponent", "Scalar s;\ns = power(2, 0.5);\n",
                  "test.gms:2: execution error: power(2, 0.5): the exponent must be a whole number"
                  "\ns = power(2, 0.5);\n    ^ near here"},
        ErrorCase{"InfinityMinusInfinity", "Scalar s;\ns = inf - inf;\n",
                  "test.gms:2: execution error: undefined result of +INF - INF\ns = inf - inf;\n"
                  "    ^ near here"},
        ErrorCase{"EquationWithoutDefinition",
                  "Variable z;\nEquations e, f;\ne.. z =e= 1;\nModel m / all /;\n"
                  "solve m using nlp minimizing z;\n",
                  "test.gms:5: execution error: equation 'f' of model 'm' has no definition\n"
                  "solve m using nlp minimizing z;\n^ near here"},
        ErrorCase{"ObjectiveNotInTheModel",
                  "Variables x, z;\nEquation e;\ne.. x =e= 1;\nModel m / e /;\n"
                  "solve m using nlp minimizing z;\n",
                  "test.gms:5: execution error: the objective variable 'z' does not appear in the "
                  "equations of model 'm'\nsolve m using nlp minimizing z;\n^ near here"},
        ErrorCase{"InfeasibleConstantEquation",
                  "Set j / 1 * 2 /;\nVariable z;\nEquations e(j), obj;\nobj.. z =e= 1;\n"
                  "e(j).. ord(j) =l= 1;\nModel m / all /;\nsolve m using nlp minimizing z;\n",
                  "test.gms:5: execution error: equation e('2') has no variable and does not hold "
                  "(lhs - rhs = 1)\ne(j).. ord(j) =l= 1;\n^ near here"},
        ErrorCase{
            "DomainErrorDuringGeneration",
            "Set j / 1 * 2 /;\nParameter p(j) / 1 1 /;\nVariables x, z;\nEquation e;\n"
            "e.. z =e= sum(j, x / p(j));\nModel m / all /;\nsolve m using nlp minimizing z;\n",
            "test.gms:5: execution error: division by zero (1 / 0)\n"
            "e.. z =e= sum(j, x / p(j));\n                     ^ near here"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(Execution, IndexedEquationsAndVariables) {
  // Least squares through indexed residual equations: r(j) = x - d(j); min sum r^2.
  EngineResult result = runText(
      "Set j / 1 * 4 /;\nParameter d(j) / 1 1, 2 2, 3 3, 4 6 /;\nVariables x, r(j), z;\n"
      "Equations res(j), obj;\nres(j)$(d(j) < 5).. r(j) =e= x - d(j);\n"
      "obj.. z =e= sum(j$(d(j) < 5), sqr(r(j)));\nModel m / all /;\n"
      "solve m using nlp minimizing z;\nFile f / 'f.txt' /;\nf.nd = 5;\n"
      "put f x.l:0 ' ' r.l('1'):0 ' ' z.l:0 ' ' m.numequ:0:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  std::vector<double> v = numbers(putText(result, "f.txt"));
  ASSERT_EQ(v.size(), 4u);
  EXPECT_NEAR(v[0], 2, 1e-6);
  EXPECT_NEAR(v[1], 1, 1e-6);
  EXPECT_NEAR(v[2], 2, 1e-6);
  EXPECT_EQ(v[3], 4);  // three residual rows and the objective row
}

}  // namespace
}  // namespace tarvelin::engine::test
