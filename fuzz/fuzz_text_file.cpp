// The line reader on arbitrary bytes: reading never fails on content, lines hold no CR, LF or
// Ctrl-Z, and what was read equals the bytes before the first Ctrl-Z with line ends removed.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/TextFile.h"

namespace {
void check(bool condition) {
  if (!condition) std::abort();
}
const std::string& scratchFile() {
  static const std::string name =
      std::string(std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp") +
      "/tarvelin-fuzz-lines-" + std::to_string(::getpid());
  return name;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  tarvelin::TextFile file(scratchFile());
  file.openRead();
  std::string joined;
  std::size_t lines = 0;
  while (!file.eof()) {
    const std::string line = file.readLine();
    check(line.find_first_of("\r\n\x1a") == std::string::npos);
    joined += line;
    joined += '\n';
    check(++lines <= size);
  }
  check(file.readLine().empty());
  file.close();

  // Lines are the raw bytes before any Ctrl-Z split at LF (no empty line after a final LF),
  // each without its carriage returns.
  std::string prefix = bytes.substr(0, bytes.find('\x1a'));
  if (!prefix.empty() && prefix.back() != '\n') prefix += '\n';
  std::string expected;
  for (const char c : prefix) {
    if (c != '\r') expected += c;
  }
  check(joined == expected);
  return 0;
}
