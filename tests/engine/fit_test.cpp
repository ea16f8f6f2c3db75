// Fitting problems with known answers, solved end to end: model text, Ipopt, put file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

// NIST StRD "Misra1a": y = b1 (1 - exp(-b2 x)), certified b1, b2 and residual sum of squares.
TEST(Fit, NistMisra1aFromBothStarts) {
  const char* data =
      "1 77.6 10.07\n2 114.9 14.73\n3 141.1 17.94\n4 190.8 23.93\n5 239.9 29.61\n"
      "6 289.0 35.18\n7 332.8 40.02\n8 378.4 44.82\n9 434.8 50.76\n10 477.3 55.05\n"
      "11 536.8 61.01\n12 593.1 66.40\n13 689.1 75.47\n14 760.0 81.78\n";
  std::string xs, ys;
  std::istringstream in(data);
  std::string label, x, y;
  while (in >> label >> x >> y) {
    xs += label + " " + x + "\n";
    ys += label + " " + y + "\n";
  }
  for (const auto& [b1, b2] : {std::pair<const char*, const char*>{"500", "1E-4"},
                               std::pair<const char*, const char*>{"250", "5E-4"}}) {
    EngineResult result =
        runText("Set i / 1 * 14 /;\nParameter x(i)\n/\n" + xs + "/;\nParameter y(i)\n/\n" + ys +
                "/;\nVariables b1, b2, rss;\nb1.l = " + b1 + ";\nb2.l = " + b2 +
                ";\nEquation def;\ndef.. rss =e= sum(i, sqr(y(i) - b1*(1 - exp(-b2*x(i)))));\n"
                "Model misra / all /;\nsolve misra using nlp minimizing rss;\n"
                "File r / 'r.txt' /;\nr.nr = 2; r.nd = 12;\nput r b1.l:0 ' ' b2.l:0 ' ' rss.l:0 ' '"
                " misra.modelstat:0 /;\n");
    ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
    std::vector<double> v = numbers(putText(result, "r.txt"));
    ASSERT_EQ(v.size(), 4u) << putText(result, "r.txt");
    EXPECT_NEAR(v[0], 2.3894212918E+02, 2.3894212918E+02 * 1e-7) << "start " << b1;
    EXPECT_NEAR(v[1], 5.5015643181E-04, 5.5015643181E-04 * 1e-7);
    EXPECT_NEAR(v[2], 1.2455138894E-01, 1.2455138894E-01 * 1e-8);
    EXPECT_EQ(v[3], 2);
  }
}

// One Maxwell element on exact data: the fit recovers the coefficients.
TEST(Fit, MaxwellElementOnExactData) {
  EngineResult result = runText(
      "Set j / 1 * 8 /;\nParameter f(j) / 1 0.5, 2 1, 3 2, 4 5, 5 10, 6 20, 7 35, 8 50 /;\n"
      "Scalars c0 / 1E5 /, k0 / 2E3 /;\nParameters w(j), S(j), D(j);\nw(j) = 2*pi*f(j);\n"
      "S(j) = c0*sqr(w(j)*k0)/(sqr(c0) + sqr(w(j)*k0));\n"
      "D(j) = sqr(c0)*k0/(sqr(c0) + sqr(w(j)*k0));\n"
      "Variables c, k, z;\nc.l = 5E4; c.lo = 0; c.up = 1E19;\nk.l = 1E3; k.lo = 0; k.up = 1E6;\n"
      "Equation fit;\nfit.. z =e= sum(j, sqr((c*sqr(w(j)*k)/(sqr(c) + sqr(w(j)*k)) - S(j))/S(j))"
      " + sqr((sqr(c)*k/(sqr(c) + sqr(w(j)*k)) - D(j))/D(j)));\n"
      "Model m / all /;\noption nlp = conopt;\nsolve m using nlp minimizing z;\n"
      "File r / 'r.txt' /;\nr.nr = 2; r.nd = 12;\nput r c.l:0 ' ' k.l:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 2u);
  EXPECT_NEAR(v[0], 1e5, 1e5 * 1e-6);
  EXPECT_NEAR(v[1], 2e3, 2e3 * 1e-6);
  ASSERT_EQ(result.solves.size(), 1u);
  EXPECT_EQ(result.solves[0].requestedSolver, "CONOPT");
  EXPECT_LT(result.solves[0].objective, 1e-12);
}

// Thousands of variables in one sum: the Hessian holds only its diagonal, so the solve is the
// small problem it is. The minimum of sqr(x - t) + sqr(x)/2 is x = t / 1.5.
TEST(Fit, SeparableSumOverThousandsOfVariables) {
  EngineResult result = runText(
      "Set i / 1 * 5000 /;\nParameter t(i);\nt(i) = ord(i)/1000;\nVariables x(i), z;\n"
      "Equation def;\ndef.. z =e= sum(i, sqr(x(i) - t(i)) + 0.5*sqr(x(i)));\n"
      "Model m / all /;\nsolve m using nlp minimizing z;\n"
      "File r / 'r.txt' /;\nr.nr = 2; r.nd = 12;\n"
      "put r x.l('1'):0 ' ' x.l('5000'):0 ' ' m.modelstat:0 /;\n");
  ASSERT_EQ(result.exitCode, kExitNormal) << result.error;
  std::vector<double> v = numbers(putText(result, "r.txt"));
  ASSERT_EQ(v.size(), 3u);
  EXPECT_NEAR(v[0], 0.001 / 1.5, 1e-9);
  EXPECT_NEAR(v[1], 5.0 / 1.5, 1e-9);
  EXPECT_EQ(v[2], 2);
}

}  // namespace
}  // namespace tarvelin::engine::test
