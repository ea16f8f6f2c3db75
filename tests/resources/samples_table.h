// The sample sweeps shipped in resources/samples and what generated them (samples.tsv).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarvelin::testing {

struct SampleCoefficient {
  std::string name;  // "c1"
  double generating = 0;
  std::string start, lower, upper;  // as a user types them
  double relativeError = 0;         // standard error the noise leaves, relative to the value
};

struct Sample {
  std::string variant;  // "maxwell3", "maxwell4", "maxwell3spring", "kelvin3"
  std::string file;
  int points = 0;
  double objective = 0;                         // at the generating coefficients
  std::vector<SampleCoefficient> coefficients;  // in the order of output2.dat
};

// Throws std::runtime_error when the table is missing or a row is malformed.
std::vector<Sample> readSamples(const std::filesystem::path& table);
const Sample& sampleOf(const std::vector<Sample>& samples, const std::string& variant);

}  // namespace tarvelin::testing
