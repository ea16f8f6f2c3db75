// The `gams` program on small model files in a temporary folder: exit codes, the listing, the
// command line.
#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

const char* kSmallModel =
    "Variables x, z;\r\nx.l = 3;\r\nEquation e;\r\ne.. z =e= sqr(x - 2) + 1;\r\n"
    "Model m / all /;\r\noption nlp=minos;\r\nsolve m using nlp minimizing z;\r\n"
    "File r / 'output2.dat' /;\r\nput r;\r\nput x.l:0:6 /;\r\nputclose r;\r\n";

class GamsProgram : public testing::Test {
 protected:
  int gams(const std::string& args) {
    return runProgram(dir_.path(), "'" + requiredEnv("TARVELIN_STANDINS_DIR") + "/gams' " + args);
  }
  std::string output() const { return dir_.read("out.txt"); }
  TempDir dir_;
};

TEST_F(GamsProgram, NormalRunExitsZeroAndWritesListingAndPutFile) {
  dir_.write("model.gms", kSmallModel);
  ASSERT_EQ(gams("model.gms"), 0) << output();
  EXPECT_EQ(dir_.read("output2.dat"), "2.000000\n");
  std::string listing = dir_.read("model.lst");
  EXPECT_NE(listing.find("**** SOLVER STATUS     1 Normal Completion"), std::string::npos);
  EXPECT_NE(listing.find("**** MODEL STATUS      2 Locally Optimal"), std::string::npos);
  EXPECT_NE(listing.find("**** OBJECTIVE VALUE   1.000000000000000E+00"), std::string::npos);
  EXPECT_NE(listing.find("     7  solve m using nlp minimizing z;"), std::string::npos);
  std::string log = output();
  EXPECT_NE(log.find("--- Starting compilation"), std::string::npos);
  EXPECT_NE(log.find("--- Starting execution"), std::string::npos);
  EXPECT_NE(log.find("this engine has no MINOS, so Ipopt solves the model instead"),
            std::string::npos);
  EXPECT_NE(log.find("iter    objective"), std::string::npos) << "Ipopt's iteration log";
  EXPECT_NE(log.find("**** MODEL STATUS      2 Locally Optimal"), std::string::npos);
  EXPECT_NE(log.find("*** Status: Normal completion"), std::string::npos);
}

TEST_F(GamsProgram, ExtensionMayBeLeftOff) {
  dir_.write("model.gms", kSmallModel);
  EXPECT_EQ(gams("model"), 0) << output();
  EXPECT_EQ(dir_.read("output2.dat"), "2.000000\n");
}

TEST_F(GamsProgram, CompilationErrorExitsTwo) {
  dir_.write("bad.gms", "Scalar a;\na = b;\n");
  EXPECT_EQ(gams("bad.gms"), 2);
  EXPECT_NE(output().find("bad.gms:2: unknown symbol 'b'\na = b;\n    ^ near here\n"),
            std::string::npos)
      << output();
  EXPECT_NE(dir_.read("bad.lst").find("****      ^ unknown symbol 'b'"), std::string::npos);
}

TEST_F(GamsProgram, ExecutionErrorExitsThree) {
  dir_.write("abort.gms", "Set j / 1 * 3 /;\nloop(j, abort$(ord(j) = 2) 'zero value';);\n");
  EXPECT_EQ(gams("abort.gms"), 3);
  EXPECT_NE(output().find("abort.gms:2: abort: zero value (while j = 2)"), std::string::npos)
      << output();
  EXPECT_NE(dir_.read("abort.lst").find("**** abort: zero value (while j = 2) (line 2)"),
            std::string::npos);
}

TEST_F(GamsProgram, MissingModelFile) {
  EXPECT_EQ(gams("nothere.gms"), 2);
  EXPECT_NE(output().find("Could not open the model file 'nothere.gms'"), std::string::npos);
}

TEST_F(GamsProgram, ListingOption) {
  dir_.write("model.gms", kSmallModel);
  EXPECT_EQ(gams("model.gms o=other.lst lo=0"), 0) << output();
  EXPECT_NE(dir_.read("other.lst").find("S O L V E      S U M M A R Y"), std::string::npos);
  EXPECT_EQ(output(), "");
}

TEST_F(GamsProgram, UnsupportedOptionIsRefused) {
  dir_.write("model.gms", kSmallModel);
  EXPECT_EQ(gams("model.gms pw=80"), 6);
  EXPECT_NE(output().find("option 'pw' is not supported"), std::string::npos) << output();
  EXPECT_EQ(dir_.read("output2.dat"), "");
}

TEST_F(GamsProgram, HelpAndVersionSayWhatTheEngineIs) {
  EXPECT_EQ(gams("--help"), 0);
  EXPECT_NE(output().find("Tarvelin's built-in modelling engine"), std::string::npos) << output();
  EXPECT_NE(output().find("Ipopt"), std::string::npos);
  EXPECT_NE(output().find("It is not GAMS"), std::string::npos);
  EXPECT_EQ(gams("--version"), 0);
  EXPECT_NE(output().find("Tarvelin built-in modelling engine"), std::string::npos);
  EXPECT_NE(output().find("Ipopt"), std::string::npos);
}

TEST(ListingName, DropsFolderAndExtension) {
  EXPECT_EQ(listingNameFor("MaxwellOut.gms"), "MaxwellOut.lst");
  EXPECT_EQ(listingNameFor("/tmp/x/model.v2.gms"), "model.v2.lst");
  EXPECT_EQ(listingNameFor("plain"), "plain.lst");
}

}  // namespace
}  // namespace tarvelin::engine::test
