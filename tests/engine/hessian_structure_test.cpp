// The Hessian's structure: repeated subexpressions stored once, a sum split into parts so the
// pattern holds only the pairs of columns that meet in a part, and the Gauss-Newton term.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/Tape.h"

namespace tarvelin::engine::test {
namespace {

// The Hessian times scale as a full matrix over the tape's local columns.
std::vector<std::vector<double>> fullHessian(const Tape& tape, const std::vector<double>& x,
                                             double scale, bool gaussNewton) {
  std::size_t n = tape.columns().size();
  std::vector<std::vector<double>> h(n, std::vector<double>(n, 0.0));
  std::vector<double> values;
  EXPECT_TRUE(tape.hessian(x.data(), scale, values, gaussNewton));
  const auto& pattern = tape.hessianPattern();
  EXPECT_EQ(values.size(), pattern.size());
  for (std::size_t e = 0; e < pattern.size() && e < values.size(); ++e) {
    auto [k, l] = pattern[e];
    h[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)] += values[e];
    if (k != l) h[static_cast<std::size_t>(l)][static_cast<std::size_t>(k)] += values[e];
  }
  return h;
}

std::vector<double> gradientAt(const Tape& tape, const std::vector<double>& x) {
  double v = 0;
  std::vector<double> g;
  EXPECT_TRUE(tape.gradient(x.data(), v, g));
  return g;
}

TEST(HessianStructure, RepeatedSubexpressionIsOneNode) {
  Tape t;
  int a = t.binary(TapeOp::Mul, t.variable(0), t.variable(1));
  std::size_t size = t.size();
  EXPECT_EQ(t.binary(TapeOp::Mul, t.variable(1), t.variable(0)), a);
  EXPECT_EQ(t.binary(TapeOp::Mul, t.variable(0), t.variable(1)), a);
  EXPECT_EQ(t.size(), size);
  // Not commutative, or a different constant: new nodes.
  EXPECT_NE(t.binary(TapeOp::Sub, t.variable(0), t.variable(1)),
            t.binary(TapeOp::Sub, t.variable(1), t.variable(0)));
  EXPECT_NE(t.unary(TapeOp::PowC, a, 2.0), t.unary(TapeOp::PowC, a, 3.0));
}

// sum(i, sqr(x(i) - i)) + x(0) x(1): the diagonal and one pair, not all n (n + 1) / 2 pairs.
TEST(HessianStructure, SumOverManyColumnsIsSparse) {
  const int n = 400;
  Tape t;
  int acc = t.binary(TapeOp::Mul, t.variable(0), t.variable(1));
  for (int i = 0; i < n; ++i) {
    int d = t.binary(TapeOp::Sub, t.variable(i), t.constant(i));
    acc = t.binary(TapeOp::Add, acc, t.unary(TapeOp::Sqr, d));
  }
  t.setRoot(acc);
  EXPECT_EQ(t.hessianPattern().size(), static_cast<std::size_t>(n + 1));
  std::vector<double> x(n, 0.5);
  auto h = fullHessian(t, x, 1.5, false);
  for (int k = 0; k < n; ++k) {
    for (int l = 0; l < n; ++l) {
      double expected = k == l ? 3.0 : ((k == 0 && l == 1) || (k == 1 && l == 0) ? 1.5 : 0.0);
      ASSERT_DOUBLE_EQ(h[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)], expected)
          << k << "," << l;
    }
  }
}

// Parts that all read one long shared sum: the tape becomes one part, still exact.
TEST(HessianStructure, PartsSharingMostOfTheTapeStayExact) {
  const int n = 24;
  Tape t;
  int s = t.variable(0);
  for (int j = 1; j < n; ++j) s = t.binary(TapeOp::Add, s, t.variable(j));
  int acc = -1;
  for (int i = 0; i < n; ++i) {
    int part = t.unary(TapeOp::Sqr, t.binary(TapeOp::Mul, t.variable(i), s));
    acc = acc < 0 ? part : t.binary(TapeOp::Add, acc, part);
  }
  t.setRoot(acc);
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = 0.1 + 0.03 * i;
  auto h = fullHessian(t, x, 1.0, false);
  const double step = 1e-6;
  for (int l = 0; l < n; ++l) {
    std::vector<double> up = x, down = x;
    up[static_cast<std::size_t>(l)] += step;
    down[static_cast<std::size_t>(l)] -= step;
    std::vector<double> gu = gradientAt(t, up), gd = gradientAt(t, down);
    for (int k = 0; k < n; ++k) {
      double fd = (gu[static_cast<std::size_t>(k)] - gd[static_cast<std::size_t>(k)]) / (2 * step);
      EXPECT_NEAR(h[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)], fd,
                  1e-5 * std::max(1.0, std::fabs(fd)))
          << k << "," << l;
    }
  }
}

// f = 3 sqr(r) + exp(x0) with r = x0 x1 - 2: the Gauss-Newton Hessian is 6 grad(r) grad(r)'
// plus the exact Hessian of exp(x0); the exact one adds 6 r Hess(r).
TEST(HessianStructure, GaussNewtonDropsOnlyTheResidualCurvatureOfSquares) {
  Tape t;
  int x0 = t.variable(0), x1 = t.variable(1);
  int r = t.binary(TapeOp::Sub, t.binary(TapeOp::Mul, x0, x1), t.constant(2));
  int sq = t.binary(TapeOp::Mul, t.constant(3), t.unary(TapeOp::Sqr, r));
  t.setRoot(t.binary(TapeOp::Add, sq, t.unary(TapeOp::Exp, x0)));
  std::vector<double> x = {0.7, 1.3};
  double rv = 0.7 * 1.3 - 2;
  double g0 = 1.3, g1 = 0.7;  // grad(r)
  double e = std::exp(0.7);
  EXPECT_TRUE(t.hasSquareParts(1.0));
  EXPECT_FALSE(t.hasSquareParts(-1.0));

  auto gn = fullHessian(t, x, 1.0, true);
  EXPECT_NEAR(gn[0][0], 6 * g0 * g0 + e, 1e-12);
  EXPECT_NEAR(gn[1][1], 6 * g1 * g1, 1e-12);
  EXPECT_NEAR(gn[1][0], 6 * g0 * g1, 1e-12);

  auto exact = fullHessian(t, x, 1.0, false);
  EXPECT_NEAR(exact[0][0], 6 * g0 * g0 + e, 1e-12);
  EXPECT_NEAR(exact[1][1], 6 * g1 * g1, 1e-12);
  EXPECT_NEAR(exact[1][0], 6 * g0 * g1 + 6 * rv, 1e-12);

  // A square with a negative weight (maximised, or subtracted) keeps its exact Hessian.
  auto negative = fullHessian(t, x, -2.0, true);
  EXPECT_NEAR(negative[1][0], -2 * exact[1][0], 1e-12);
  EXPECT_NEAR(negative[0][0], -2 * exact[0][0], 1e-12);
}

}  // namespace
}  // namespace tarvelin::engine::test
