// The four model templates, with their directives replaced as a build replaces them, run end to
// end by the `gams` program on the sample data: the fit recovers the generating coefficients.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "tests/engine/EngineTestSupport.h"

namespace tarvelin::engine::test {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> split(const std::string& line, char separator) {
  std::vector<std::string> out;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, separator)) out.push_back(field);
  return out;
}

struct Coefficient {
  std::string name;
  double generating = 0;
  std::string start, lower, upper;
  double standardError = 0;
};

struct Sample {
  std::string file;
  double objective = 0;
  std::vector<Coefficient> coefficients;  // in output2.dat order
};

Sample readSample(const std::string& resources, const std::string& variant) {
  Sample sample;
  std::istringstream in(readFile(resources + "/samples/samples.tsv"));
  std::string line;
  std::getline(in, line);
  std::vector<std::string> header = split(line, '\t');
  auto column = [&](const char* name) {
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (header[i] == name) return i;
    }
    ADD_FAILURE() << "samples.tsv has no column " << name;
    return std::size_t{0};
  };
  while (std::getline(in, line)) {
    std::vector<std::string> f = split(line, '\t');
    if (f.size() < header.size() || f[column("variant")] != variant) continue;
    sample.file = f[column("file")];
    sample.objective = std::stod(f[column("objective")]);
    sample.coefficients.push_back({f[column("coefficient")], std::stod(f[column("generating")]),
                                   f[column("start")], f[column("lower")], f[column("upper")],
                                   std::stod(f[column("relative_standard_error")])});
  }
  return sample;
}

std::vector<std::vector<double>> readBlocks(const std::string& path) {
  std::vector<std::vector<double>> blocks(1);
  std::istringstream in(readFile(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      blocks.emplace_back();
    } else {
      blocks.back().push_back(std::stod(line));
    }
  }
  return blocks;
}

// Setting letters: initial values A..H, lower limits I..P, upper limits Q..X, in the order
// c1 c2 c3 c4 k1 k2 k3 k4.
std::map<char, std::string> settingsFor(const Sample& sample) {
  const std::string order[] = {"c1", "c2", "c3", "c4", "k1", "k2", "k3", "k4"};
  std::map<char, std::string> settings;
  for (const Coefficient& c : sample.coefficients) {
    for (int i = 0; i < 8; ++i) {
      if (order[i] != c.name) continue;
      settings[static_cast<char>('A' + i)] = c.start;
      settings[static_cast<char>('I' + i)] = c.lower;
      settings[static_cast<char>('Q' + i)] = c.upper;
    }
  }
  return settings;
}

double objectiveFromListing(const std::string& listing) {
  const std::string key = "**** OBJECTIVE VALUE   ";
  std::size_t at = listing.find(key);
  EXPECT_NE(at, std::string::npos) << listing;
  return at == std::string::npos ? NAN : std::stod(listing.substr(at + key.size()));
}

struct TemplateCase {
  const char* variant;
  const char* templateFile;
};

class TemplateTest : public testing::TestWithParam<TemplateCase> {
 protected:
  void SetUp() override {
    resources_ = requiredEnv("TARVELIN_RESOURCES_DIR");
    sample_ = readSample(resources_, GetParam().variant);
    ASSERT_FALSE(sample_.coefficients.empty()) << GetParam().variant;
    blocks_ = readBlocks(resources_ + "/samples/" + sample_.file);
  }
  int run(const std::vector<std::vector<double>>& blocks, const char* solverLine) {
    std::string model = expandTemplate(readFile(resources_ + "/" + GetParam().templateFile), blocks,
                                       settingsFor(sample_), solverLine);
    dir_.write("MaxwellOut.gms", model);
    return runProgram(dir_.path(),
                      "'" + requiredEnv("TARVELIN_STANDINS_DIR") + "/gams' MaxwellOut.gms");
  }
  std::string resources_;
  Sample sample_;
  std::vector<std::vector<double>> blocks_;
  TempDir dir_;
};

TEST_P(TemplateTest, FitRecoversTheGeneratingCoefficients) {
  ASSERT_EQ(run(blocks_, "option nlp=conopt;"), 0) << dir_.read("out.txt");
  std::vector<std::string> lines = split(dir_.read("output2.dat"), '\n');
  ASSERT_EQ(lines.size(), sample_.coefficients.size()) << dir_.read("output2.dat");
  std::vector<double> fitted;
  for (const std::string& line : lines) {
    std::size_t digits = 0;
    for (char c : line) digits += std::isdigit(static_cast<unsigned char>(c)) ? 1 : 0;
    EXPECT_GE(digits, 10u) << "at least 10 significant digits: " << line;
    fitted.push_back(std::stod(line));
  }
  // Elements may come out in another order: match each generating element (c_i with k_i, or a
  // lone spring) with some fitted one, within five standard errors.
  std::size_t n = sample_.coefficients.size();
  std::vector<bool> used(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    const Coefficient& c = sample_.coefficients[i];
    if (c.name[0] != 'c') continue;
    std::size_t partner = n;
    for (std::size_t k = 0; k < n; ++k) {
      if (sample_.coefficients[k].name == "k" + c.name.substr(1)) partner = k;
    }
    bool matched = false;
    for (std::size_t j = 0; j < n && !matched; ++j) {
      if (used[j] || sample_.coefficients[j].name[0] != 'c') continue;
      std::size_t jPartner = n;
      for (std::size_t k = 0; k < n; ++k) {
        if (sample_.coefficients[k].name == "k" + sample_.coefficients[j].name.substr(1)) {
          jPartner = k;
        }
      }
      if ((partner == n) != (jPartner == n)) continue;
      auto close = [&](std::size_t gen, std::size_t fit) {
        const Coefficient& g = sample_.coefficients[gen];
        return std::fabs(fitted[fit] / g.generating - 1) <= 5 * g.standardError;
      };
      if (close(i, j) && (partner == n || close(partner, jPartner))) {
        used[j] = true;
        matched = true;
      }
    }
    EXPECT_TRUE(matched) << c.name << " = " << c.generating << " not recovered:\n"
                         << dir_.read("output2.dat");
  }
  EXPECT_LE(objectiveFromListing(dir_.read("MaxwellOut.lst")), sample_.objective * (1 + 1e-9));
  std::vector<std::string> curves = split(dir_.read("fitted.dat"), '\n');
  ASSERT_EQ(curves.size(), blocks_[0].size());
  std::istringstream first(curves[0]);
  std::vector<double> values;
  double v;
  while (first >> v) values.push_back(v);
  ASSERT_EQ(values.size(), 5u) << curves[0];
  EXPECT_NEAR(values[0], blocks_[0][0], 1e-9 * blocks_[0][0]);
  EXPECT_NEAR(values[1], blocks_[1][0], 1e-9 * blocks_[1][0]);
  EXPECT_NEAR(values[3], blocks_[2][0], 1e-9 * blocks_[2][0]);
}

TEST_P(TemplateTest, ZeroMeasuredValueStopsNamingBlockAndPoint) {
  std::vector<std::vector<double>> blocks = blocks_;
  blocks[1][6] = 0;
  EXPECT_EQ(run(blocks, "option nlp=knitro;"), 3);
  std::string log = dir_.read("out.txt");
  EXPECT_NE(log.find("abort: "), std::string::npos) << log;
  EXPECT_NE(log.find("second block"), std::string::npos) << log;
  EXPECT_NE(log.find("(while j = 7)"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Variants, TemplateTest,
                         testing::Values(TemplateCase{"maxwell3", "Maxwell3.gms"},
                                         TemplateCase{"maxwell4", "Maxwell4.gms"},
                                         TemplateCase{"maxwell3spring", "Maxwell3Spring.gms"},
                                         TemplateCase{"kelvin3", "Maxwell3Kelvin.gms"}),
                         [](const testing::TestParamInfo<TemplateCase>& info) {
                           return std::string(info.param.variant);
                         });

}  // namespace
}  // namespace tarvelin::engine::test
