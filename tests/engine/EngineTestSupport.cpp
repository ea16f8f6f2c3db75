#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace tarvelin::engine::test {

EngineResult runText(const std::string& text) {
  EngineOptions options;
  options.writeFiles = false;
  options.printSolverLog = false;
  std::ostringstream log;
  return runModelText("test.gms", text, options, log);
}

std::string putText(const EngineResult& result, const std::string& path) {
  for (const auto& [name, text] : result.putFiles) {
    if (name == path) return text;
  }
  return "";
}

TempDir::TempDir() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("tarvelin-engine-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& name, const std::string& text) const {
  std::filesystem::path file = path_ / name;
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

std::string TempDir::read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int runProgram(const std::filesystem::path& folder, const std::string& commandLine) {
  std::string command = "cd '" + folder.string() + "' && " + commandLine + " > out.txt 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string requiredEnv(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) {
    ADD_FAILURE() << name << " is not set: run the tests through ctest";
    return "";
  }
  return value;
}

std::string dataValueText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14E", value);
  std::string text = buffer;
  std::size_t e = text.find('E');
  std::string mantissa = text.substr(0, e);
  char sign = text[e + 1];
  std::string digits = text.substr(e + 2);
  while (digits.size() < 4) digits.insert(0, "0");
  if (mantissa[0] != '-') mantissa.insert(0, " ");
  return mantissa + "E" + sign + digits;
}

std::string expandTemplate(const std::string& templateText,
                           const std::vector<std::vector<double>>& blocks,
                           const std::map<char, std::string>& settings,
                           const std::string& solverLine) {
  std::istringstream in(templateText);
  std::string out;
  std::string line;
  std::size_t block = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '#') {
      out += "/ 1 * " + std::to_string(blocks.empty() ? 0 : blocks[0].size()) + " /;\r\n";
    } else if (line[0] == '_') {
      char letter = line.size() > 1 ? line[1] : ' ';
      if (letter == 'Z') {
        out += solverLine + "\r\n";
      } else if (letter >= 'A' && letter <= 'X') {
        auto it = settings.find(letter);
        out += (it == settings.end() ? std::string("0") : it->second) + "\r\n";
      }
    } else if (line[0] == '@') {
      if (block < blocks.size()) {
        for (std::size_t i = 0; i < blocks[block].size(); ++i) {
          out += std::to_string(i + 1) + "   " + dataValueText(blocks[block][i]) + "\r\n";
        }
      }
      ++block;
    } else {
      out += line + "\r\n";
    }
  }
  return out;
}

}  // namespace tarvelin::engine::test
