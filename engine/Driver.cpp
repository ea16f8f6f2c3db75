#include "engine/Driver.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/Executor.h"
#include "engine/Listing.h"
#include "engine/Program.h"
#include "engine/PutFile.h"

namespace tarvelin::engine {
namespace {

const char* kEngineTitle =
    "Tarvelin built-in modelling engine: a subset of the GAMS language, solved with Ipopt";

bool isRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::string elapsed(std::chrono::steady_clock::time_point start) {
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f s", s);
  return buffer;
}

}  // namespace

std::string listingNameFor(const std::string& modelPath) {
  std::size_t slash = modelPath.find_last_of("/\\");
  std::string base = slash == std::string::npos ? modelPath : modelPath.substr(slash + 1);
  std::size_t dot = base.find_last_of('.');
  if (dot != std::string::npos && dot > 0) base.erase(dot);
  return base + ".lst";
}

EngineResult runModelText(const std::string& fileName, std::string_view text,
                          const EngineOptions& options, std::ostream& log) {
  auto start = std::chrono::steady_clock::now();
  EngineResult result;
  Listing listing;
  listing.header(kEngineTitle);
  log << "--- " << kEngineTitle << "\n";
  log << "--- Starting compilation\n";
  std::unique_ptr<Program> program = compileProgram(SourceFile(fileName, text));
  listing.source(program->source, program->errors);
  if (!program->errors.empty()) {
    for (const Diagnostic& d : program->errors) {
      std::string message = formatDiagnostic(program->source, d.pos, d.message);
      if (result.error.empty()) result.error = message;
      log << message << "\n";
    }
    log << "*** Status: Compilation error(s)\n";
    listing.line("**** USER ERROR(S) ENCOUNTERED: compilation error(s)");
    result.exitCode = kExitCompilationError;
  } else {
    log << "--- " << fileName << "(" << program->source.lineCount() << ") compiled\n";
    log << "--- Starting execution\n";
    listing.line("E x e c u t i o n");
    listing.line("");
    RunOptions run;
    run.writeFiles = options.writeFiles;
    run.printSolverLog = options.printSolverLog;
    run.maxIterations = options.maxIterations;
    Executor executor(*program, listing, log, run);
    try {
      executor.run();
      executor.finish();
      log << "*** Status: Normal completion\n";
      listing.line("**** Normal completion");
    } catch (const ExecError& e) {
      executor.finish();
      std::string message = e.isAbort ? "abort: " + e.message : "execution error: " + e.message;
      std::string loops = executor.loopElements();
      if (!loops.empty()) message += " (while " + loops + ")";
      result.error = formatDiagnostic(program->source, e.pos, message);
      log << result.error << "\n*** Status: Execution error(s)\n";
      listing.line("**** " + message + " (line " + std::to_string(e.pos.line) + ")");
      listing.line("**** USER ERROR(S) ENCOUNTERED: execution error");
      result.exitCode = kExitExecutionError;
    }
    result.solves = executor.solves();
    for (const auto& symbol : program->symbols.all()) {
      if (symbol->kind == SymbolKind::File && symbol->file && symbol->file->opened) {
        result.putFiles.emplace_back(symbol->file->path, symbol->file->memory);
      }
    }
  }
  log << "--- Job " << fileName << " stop, elapsed " << elapsed(start) << "\n";
  result.listing = listing.text();
  if (options.writeFiles) {
    std::string path = options.listingPath.empty() ? listingNameFor(fileName) : options.listingPath;
    if (!listing.write(path)) log << "*** Could not write the listing file '" << path << "'\n";
  }
  log.flush();
  return result;
}

EngineResult runModelFile(const std::string& path, const EngineOptions& options,
                          std::ostream& log) {
  std::string actual = path;
  if (!isRegularFile(actual) && isRegularFile(actual + ".gms")) actual += ".gms";
  std::ifstream in(actual, std::ios::binary);
  if (!isRegularFile(actual) || !in) {
    EngineResult result;
    result.exitCode = kExitCompilationError;
    result.error = "*** Could not open the model file '" + path + "'";
    log << result.error << "\n";
    return result;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return runModelText(actual, text.str(), options, log);
}

}  // namespace tarvelin::engine
