#pragma once
// A compiled model file: its source, symbols with their declared data, and the statements to run.
#include <memory>
#include <string_view>
#include <vector>

#include "engine/Ast.h"
#include "engine/Source.h"
#include "engine/Symbols.h"

namespace tarvelin::engine {

struct Program {
  explicit Program(SourceFile file) : source(std::move(file)) {}
  SourceFile source;
  SymbolTable symbols;
  std::vector<std::unique_ptr<Stmt>> statements;
  std::vector<Diagnostic> errors;  // compilation errors, in source order
};

// Lexes, parses and checks. Errors do not throw; they are collected in Program::errors.
std::unique_ptr<Program> compileProgram(SourceFile source);

}  // namespace tarvelin::engine
