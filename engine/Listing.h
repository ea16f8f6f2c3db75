#pragma once
// The listing file ("<base>.lst"): the numbered source with errors under their lines, display
// output, solve summaries with the final values of the variables, and the end status.
#include <string>
#include <vector>

#include "engine/Program.h"
#include "engine/SolveSummary.h"

namespace tarvelin::engine {

class Listing {
 public:
  void header(const std::string& title);
  void source(const SourceFile& source, const std::vector<Diagnostic>& errors);
  void line(const std::string& text);
  void solveSummary(const SolveSummary& summary);
  void variables(const SymbolTable& symbols, const std::vector<const Symbol*>& variables);
  const std::string& text() const { return text_; }
  bool write(const std::string& path) const;

 private:
  std::string text_;
};

// The solve summary lines shared by console and listing.
std::vector<std::string> solveSummaryLines(const SolveSummary& summary);

// "1.234567890123457E-02": enough digits to reproduce the value.
std::string formatObjective(double value);

}  // namespace tarvelin::engine
