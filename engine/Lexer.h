#pragma once
// Splits a model file into tokens. Comment lines ("*" in column 1), $ontext/$offtext blocks and
// $title lines produce no tokens; any other dollar control line is a compilation error.
#include <vector>

#include "engine/Source.h"
#include "engine/Token.h"

namespace tarvelin::engine {

struct LexResult {
  std::vector<Token> tokens;  // always ends with an End token
  std::vector<Diagnostic> errors;
};

LexResult lex(const SourceFile& source);

}  // namespace tarvelin::engine
