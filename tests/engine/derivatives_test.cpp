// Exact derivatives from the tapes against central finite differences, for every function and
// operator of the language, and through the compiler for a model's equation.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/ModelInstance.h"
#include "engine/Program.h"
#include "engine/Tape.h"
#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

// Builds f(x0, x1) on a tape and returns its root.
using TapeMaker = std::function<int(Tape&)>;

struct DerivativeCase {
  const char* name;
  TapeMaker make;
  double x0;
  double x1;
};

double valueAt(const Tape& tape, std::vector<double> x) {
  double v = 0;
  EXPECT_TRUE(tape.evaluate(x.data(), v));
  return v;
}

// Gradient over columns 0 and 1 (by column, whatever order the tape uses).
std::vector<double> gradientAt(const Tape& tape, const std::vector<double>& x) {
  double v = 0;
  std::vector<double> local;
  EXPECT_TRUE(tape.gradient(x.data(), v, local));
  std::vector<double> g(2, 0.0);
  for (std::size_t k = 0; k < tape.columns().size(); ++k) {
    g[static_cast<std::size_t>(tape.columns()[k])] = local[k];
  }
  return g;
}

// The Hessian times scale as a full matrix over the tape's local columns, from its pattern.
std::vector<std::vector<double>> denseHessian(const Tape& tape, const std::vector<double>& x,
                                              double scale = 1.0, bool gaussNewton = false) {
  std::size_t n = tape.columns().size();
  std::vector<std::vector<double>> h(n, std::vector<double>(n, 0.0));
  std::vector<double> values;
  EXPECT_TRUE(tape.hessian(x.data(), scale, values, gaussNewton));
  const auto& pattern = tape.hessianPattern();
  EXPECT_EQ(values.size(), pattern.size());
  for (std::size_t e = 0; e < pattern.size() && e < values.size(); ++e) {
    auto [k, l] = pattern[e];
    EXPECT_GE(k, l) << "lower triangle";
    h[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)] += values[e];
    if (k != l) h[static_cast<std::size_t>(l)][static_cast<std::size_t>(k)] += values[e];
  }
  return h;
}

void expectClose(double exact, double approx, const std::string& what) {
  EXPECT_NEAR(exact, approx, 1e-5 * std::max(1.0, std::fabs(exact))) << what;
}

class DerivativeTest : public testing::TestWithParam<DerivativeCase> {};

TEST_P(DerivativeTest, MatchesFiniteDifferences) {
  const DerivativeCase& c = GetParam();
  Tape tape;
  tape.setRoot(c.make(tape));
  std::vector<double> x = {c.x0, c.x1};
  const double h = 1e-6;
  std::vector<double> g = gradientAt(tape, x);
  for (int i = 0; i < 2; ++i) {
    std::vector<double> up = x, down = x;
    up[static_cast<std::size_t>(i)] += h;
    down[static_cast<std::size_t>(i)] -= h;
    expectClose(g[static_cast<std::size_t>(i)], (valueAt(tape, up) - valueAt(tape, down)) / (2 * h),
                "gradient " + std::to_string(i));
  }
  std::vector<std::vector<double>> hess = denseHessian(tape, x);
  const std::vector<int>& cols = tape.columns();
  for (std::size_t k = 0; k < cols.size(); ++k) {
    for (std::size_t l = 0; l <= k; ++l) {
      std::vector<double> up = x, down = x;
      up[static_cast<std::size_t>(cols[l])] += h;
      down[static_cast<std::size_t>(cols[l])] -= h;
      double fd = (gradientAt(tape, up)[static_cast<std::size_t>(cols[k])] -
                   gradientAt(tape, down)[static_cast<std::size_t>(cols[k])]) /
                  (2 * h);
      expectClose(hess[k][l], fd, "hessian " + std::to_string(k) + "," + std::to_string(l));
    }
  }
}

int x0(Tape& t) {
  return t.variable(0);
}
int x1(Tape& t) {
  return t.variable(1);
}
// Mixes in x1 so that every case has cross terms.
int withX1(Tape& t, int node) {
  return t.binary(TapeOp::Mul, node, x1(t));
}

const DerivativeCase kDerivativeCases[] = {
    {"Add", [](Tape& t) { return withX1(t, t.binary(TapeOp::Add, x0(t), x1(t))); }, 0.7, 1.3},
    {"Sub", [](Tape& t) { return withX1(t, t.binary(TapeOp::Sub, x0(t), x1(t))); }, 0.7, 1.3},
    {"Mul", [](Tape& t) { return t.binary(TapeOp::Mul, x0(t), x1(t)); }, 0.7, 1.3},
    {"Div", [](Tape& t) { return t.binary(TapeOp::Div, x0(t), x1(t)); }, 0.7, 1.3},
    {"Neg", [](Tape& t) { return withX1(t, t.unary(TapeOp::Neg, x0(t))); }, 0.7, 1.3},
    {"PowBothVariable", [](Tape& t) { return t.binary(TapeOp::Pow, x0(t), x1(t)); }, 1.7, 2.3},
    {"PowConstantExponent", [](Tape& t) { return withX1(t, t.unary(TapeOp::PowC, x0(t), 2.5)); },
     1.7, 0.4},
    {"PowerWholeNegativeBase", [](Tape& t) { return withX1(t, t.unary(TapeOp::PowInt, x0(t), 3)); },
     -1.3, 0.4},
    {"PowerNegativeWhole", [](Tape& t) { return withX1(t, t.unary(TapeOp::PowInt, x0(t), -2)); },
     -1.3, 0.4},
    {"Sqr", [](Tape& t) { return withX1(t, t.unary(TapeOp::Sqr, x0(t))); }, -0.8, 1.1},
    {"Sqrt", [](Tape& t) { return withX1(t, t.unary(TapeOp::Sqrt, x0(t))); }, 2.2, 1.1},
    {"Abs", [](Tape& t) { return withX1(t, t.unary(TapeOp::Abs, x0(t))); }, -0.8, 1.1},
    {"Exp", [](Tape& t) { return withX1(t, t.unary(TapeOp::Exp, x0(t))); }, 0.3, 1.1},
    {"Log", [](Tape& t) { return withX1(t, t.unary(TapeOp::Log, x0(t))); }, 2.3, 1.1},
    {"Log10", [](Tape& t) { return withX1(t, t.unary(TapeOp::Log10, x0(t))); }, 2.3, 1.1},
    {"Sin", [](Tape& t) { return withX1(t, t.unary(TapeOp::Sin, x0(t))); }, 0.9, 1.1},
    {"Cos", [](Tape& t) { return withX1(t, t.unary(TapeOp::Cos, x0(t))); }, 0.9, 1.1},
    {"Min", [](Tape& t) { return withX1(t, t.binary(TapeOp::Min, x0(t), t.constant(2))); }, 0.9,
     1.1},
    {"Max", [](Tape& t) { return withX1(t, t.binary(TapeOp::Max, x0(t), t.constant(2))); }, 0.9,
     1.1},
    {"SharedParts",  // u = x0 x1 stored once: 3u - sqr(u)/2 + exp(u) x1 - 4 sqr(x0 - 1)
     [](Tape& t) {
       int u = t.binary(TapeOp::Mul, x0(t), x1(t));
       int top = t.binary(TapeOp::Mul, t.constant(3), u);
       int half = t.binary(TapeOp::Div, t.unary(TapeOp::Sqr, u), t.constant(2));
       top = t.binary(TapeOp::Sub, top, half);
       top = t.binary(TapeOp::Add, top, t.binary(TapeOp::Mul, t.unary(TapeOp::Exp, u), x1(t)));
       int d = t.binary(TapeOp::Sub, x0(t), t.constant(1));
       int sq = t.binary(TapeOp::Mul, t.constant(4), t.unary(TapeOp::Sqr, d));
       return t.binary(TapeOp::Sub, top, sq);
     },
     0.7, 1.3},
    {"FunctionsOfSums",  // sqr(x0 x1 + exp(x1) - sqr(x0)) + log(sqr(x0) + 1) - sqrt(x1 / x0)
     [](Tape& t) {
       int inner =
           t.binary(TapeOp::Add, t.binary(TapeOp::Mul, x0(t), x1(t)), t.unary(TapeOp::Exp, x1(t)));
       inner = t.binary(TapeOp::Sub, inner, t.unary(TapeOp::Sqr, x0(t)));
       int sq = t.unary(TapeOp::Sqr, inner);
       int lg =
           t.unary(TapeOp::Log, t.binary(TapeOp::Add, t.unary(TapeOp::Sqr, x0(t)), t.constant(1)));
       int rt = t.unary(TapeOp::Sqrt, t.binary(TapeOp::Div, x1(t), x0(t)));
       return t.binary(TapeOp::Sub, t.binary(TapeOp::Add, sq, lg), rt);
     },
     0.7, 1.3},
    {"MaxwellStorage",  // c w^2 k^2 / (c^2 + w^2 k^2) at w = 3
     [](Tape& t) {
       int wk = t.binary(TapeOp::Mul, t.constant(3), x1(t));
       int wk2 = t.unary(TapeOp::Sqr, wk);
       int num = t.binary(TapeOp::Mul, x0(t), wk2);
       int den = t.binary(TapeOp::Add, t.unary(TapeOp::Sqr, x0(t)), wk2);
       return t.binary(TapeOp::Div, num, den);
     },
     2.0, 0.5},
};

INSTANTIATE_TEST_SUITE_P(Operations, DerivativeTest, testing::ValuesIn(kDerivativeCases),
                         [](const testing::TestParamInfo<DerivativeCase>& info) {
                           return std::string(info.param.name);
                         });

struct DomainCase {
  const char* name;
  TapeMaker make;
  double x0;
};

class DomainErrorTest : public testing::TestWithParam<DomainCase> {};

// Outside a function's domain the tape reports failure instead of a number.
TEST_P(DomainErrorTest, EvaluationFails) {
  Tape tape;
  tape.setRoot(GetParam().make(tape));
  std::vector<double> x = {GetParam().x0, 1.0};
  double v = 0;
  EXPECT_FALSE(tape.evaluate(x.data(), v));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DomainErrorTest,
    testing::Values(
        DomainCase{"LogOfZero", [](Tape& t) { return t.unary(TapeOp::Log, x0(t)); }, 0.0},
        DomainCase{"Log10OfNegative", [](Tape& t) { return t.unary(TapeOp::Log10, x0(t)); }, -1},
        DomainCase{"SqrtOfNegative", [](Tape& t) { return t.unary(TapeOp::Sqrt, x0(t)); }, -1},
        DomainCase{"DivisionByZero", [](Tape& t) { return t.binary(TapeOp::Div, x1(t), x0(t)); },
                   0.0},
        DomainCase{"PowerOfNegativeBase", [](Tape& t) { return t.unary(TapeOp::PowC, x0(t), 2.0); },
                   -2.0},
        DomainCase{"ExpOverflow", [](Tape& t) { return t.unary(TapeOp::Exp, x0(t)); }, 1000.0}),
    [](const testing::TestParamInfo<DomainCase>& info) { return std::string(info.param.name); });

TEST(Derivatives, SqrtAtZeroHasNoGradient) {
  Tape tape;
  tape.setRoot(tape.unary(TapeOp::Sqrt, tape.variable(0)));
  double x[] = {0.0};
  double v = 0;
  std::vector<double> g;
  EXPECT_TRUE(tape.evaluate(x, v));
  EXPECT_FALSE(tape.gradient(x, v, g));
}

// The compiler's tapes for an equation with every function and a sum over a set.
TEST(Derivatives, CompiledEquationMatchesFiniteDifferences) {
  const std::string source =
      "Set j / 1 * 3 /;\nParameter p(j) / 1 0.5, 2 1.5, 3 2.5 /;\nVariables x, y, z;\n"
      "x.l = 1.3; y.l = 0.7;\nEquation e;\n"
      "e.. z =e= sum(j, sqr(x - p(j)) * y + p(j) / (x + y) + x ** y + power(y, 3)"
      " + sqrt(x) * abs(y - 2) + exp(y / 2) + log(x) * log10(y + 1) + sin(x) * cos(y)"
      " + min(x, p(j)) + max(y, 1)) + prod(j, 1 + y / p(j)) + smin(j, x * p(j))"
      " + smax(j, y - p(j));\n"
      "Model m / all /;\nsolve m using nlp minimizing z;\n";
  auto program = compileProgram(SourceFile("d.gms", source));
  ASSERT_TRUE(program->errors.empty()) << program->errors[0].message;
  const Stmt* solve = program->statements.back().get();
  ASSERT_EQ(solve->kind, StmtKind::Solve);
  Env env(program->symbols);
  // Run the assignments before the solve.
  Symbol* xs = program->symbols.find("x");
  Symbol* ys = program->symbols.find("y");
  xs->vars[0].level = 1.3;
  ys->vars[0].level = 0.7;
  ModelInstance m = generateModel(*solve, env);
  ASSERT_TRUE(m.objectiveEliminated);
  const Tape& tape = m.objectiveTape;
  ASSERT_EQ(tape.columns().size(), 2u);
  std::vector<double> point(m.columns.size(), 0.0);
  auto set = [&](double xv, double yv) {
    for (std::size_t c = 0; c < m.columns.size(); ++c) {
      if (m.columns[c].variable == xs) point[c] = xv;
      if (m.columns[c].variable == ys) point[c] = yv;
    }
  };
  auto f = [&](double xv, double yv) {
    set(xv, yv);
    double v = 0;
    EXPECT_TRUE(tape.evaluate(point.data(), v));
    return v;
  };
  set(1.3, 0.7);
  double v = 0;
  std::vector<double> g;
  ASSERT_TRUE(tape.gradient(point.data(), v, g));
  std::vector<double> at(point.begin(), point.end());
  std::vector<std::vector<double>> hess = denseHessian(tape, at);
  const double h = 1e-5;
  bool xFirst = m.columns[static_cast<std::size_t>(tape.columns()[0])].variable == xs;
  double gx = xFirst ? g[0] : g[1];
  double gy = xFirst ? g[1] : g[0];
  expectClose(gx, (f(1.3 + h, 0.7) - f(1.3 - h, 0.7)) / (2 * h), "df/dx");
  expectClose(gy, (f(1.3, 0.7 + h) - f(1.3, 0.7 - h)) / (2 * h), "df/dy");
  double fxx = (f(1.3 + h, 0.7) - 2 * f(1.3, 0.7) + f(1.3 - h, 0.7)) / (h * h);
  double fyy = (f(1.3, 0.7 + h) - 2 * f(1.3, 0.7) + f(1.3, 0.7 - h)) / (h * h);
  double fxy =
      (f(1.3 + h, 0.7 + h) - f(1.3 + h, 0.7 - h) - f(1.3 - h, 0.7 + h) + f(1.3 - h, 0.7 - h)) /
      (4 * h * h);
  EXPECT_NEAR(xFirst ? hess[0][0] : hess[1][1], fxx, 1e-3 * std::max(1.0, std::fabs(fxx)));
  EXPECT_NEAR(xFirst ? hess[1][1] : hess[0][0], fyy, 1e-3 * std::max(1.0, std::fabs(fyy)));
  EXPECT_NEAR(hess[1][0], fxy, 1e-3 * std::max(1.0, std::fabs(fxy)));
}

}  // namespace
}  // namespace tarvelin::engine::test
