// The built-in engine's lexer, parser, checker and execution on arbitrary model text: it ends
// with one of the engine's exit codes, never a crash, a hang or a sanitizer report.
#include <cstdint>
#include <cstdlib>

#include "engine/Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int code = tarvelin::engine::fuzzModelInput(data, size);
  if (code != 0 && code != 2 && code != 3) std::abort();
  return 0;
}
