#include "tests/resources/samples_table.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tarvelin::testing {
namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, '\t')) fields.push_back(field);
  return fields;
}

}  // namespace

std::vector<Sample> readSamples(const std::filesystem::path& table) {
  std::ifstream in(table);
  if (!in) throw std::runtime_error("cannot read " + table.string());
  std::string line;
  std::getline(in, line);  // header
  std::vector<Sample> samples;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const auto f = splitTabs(line);
    if (f.size() != 14) throw std::runtime_error("malformed row in samples.tsv: " + line);
    if (samples.empty() || samples.back().variant != f[0]) {
      samples.push_back({f[0], f[1], std::stoi(f[2]), std::stod(f[7]), {}});
    }
    samples.back().coefficients.push_back(
        {f[8], std::stod(f[9]), f[10], f[11], f[12], std::stod(f[13])});
  }
  return samples;
}

const Sample& sampleOf(const std::vector<Sample>& samples, const std::string& variant) {
  for (const auto& s : samples) {
    if (s.variant == variant) return s;
  }
  throw std::runtime_error("no sample for " + variant);
}

}  // namespace tarvelin::testing
