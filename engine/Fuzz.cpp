#include "engine/Fuzz.h"

#include <sstream>
#include <string_view>

#include "engine/Driver.h"

namespace tarvelin::engine {

int fuzzModelInput(const std::uint8_t* data, std::size_t size) {
  EngineOptions options;
  options.writeFiles = false;
  options.printSolverLog = false;
  options.maxIterations = 50;
  std::ostringstream log;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  return runModelText("fuzz.gms", text, options, log).exitCode;
}

}  // namespace tarvelin::engine
