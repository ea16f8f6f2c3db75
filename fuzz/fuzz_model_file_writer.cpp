// The model file writer on an arbitrary template and data file (the input split at its first
// NUL byte): it ends in a completed build or a conversion error, never anything else, and
// every line it writes ends with CR LF.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/Errors.h"
#include "model/ModelFileWriter.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void writeFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CountingLog : tarvelin::ActivityLog {
  void append(const std::string&) override { ++lines; }
  int lines = 0;
};

struct FixedDialogs : tarvelin::Dialogs {
  std::optional<std::string> chooseDataFile() override { return std::string("data.txt"); }
  void showMessage(const std::string&) override { std::abort(); }
  void showError(const std::string&) override { std::abort(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool inScratchFolder = [] {
    const std::filesystem::path scratch =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    const auto folder = scratch / ("tarvelin-fuzz-writer-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    return true;
  }();
  check(inScratchFolder);

  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  writeFile("template.gms", input.substr(0, split));
  writeFile("data.txt", split == std::string::npos ? std::string() : input.substr(split + 1));

  tarvelin::SettingsValues settings;
  FixedDialogs dialogs;
  CountingLog log;
  bool consistent = false;
  bool completed = false;
  tarvelin::TextFile modelTemplate("template.gms");
  try {
    tarvelin::ModelFileWriter(modelTemplate, settings, dialogs, log,
                              {[&] { consistent = true; }, [&] { completed = true; }});
  } catch (const tarvelin::ConversionError&) {
    check(log.lines == 0 && !completed);
    return 0;
  }
  // Consistent: two lines then the solver; not: two warnings then the solver.
  check(completed && log.lines == 3);
  (void)consistent;
  const std::string model = readFile(tarvelin::kModelFileName);
  check(model.empty() || model.size() >= 2);
  check(model.empty() || model.compare(model.size() - 2, 2, "\r\n") == 0);
  return 0;
}
