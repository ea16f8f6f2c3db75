// The results reader on an arbitrary results file: every variant reads its lines without an
// error, logs one line per coefficient, and each label ends with the coefficient's unit.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "run/ResultsReader.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

struct CountingLog : tarvelin::ActivityLog {
  void append(const std::string& line) override {
    check(line.find_first_of("\r\n") == std::string::npos);
    ++lines;
  }
  int lines = 0;
};

struct CheckingLabels : tarvelin::ResultLabels {
  void setResultLabel(tarvelin::Coefficient c, const std::string& text) override {
    const std::string unit(tarvelin::coefficientInfo(c).unit);
    check(text.size() >= unit.size() &&
          text.compare(text.size() - unit.size(), unit.size(), unit) == 0);
    ++labels;
  }
  int labels = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string name =
      std::string(std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp") +
      "/tarvelin-fuzz-results-" + std::to_string(::getpid());
  {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  for (const auto& variant : tarvelin::kVariants) {
    CountingLog log;
    CheckingLabels labels;
    tarvelin::readResults(variant.id, log, labels, name);
    const auto expected = static_cast<int>(tarvelin::resultCoefficients(variant.id).size());
    check(log.lines == expected + 1 && labels.labels == expected);
  }
  return 0;
}
