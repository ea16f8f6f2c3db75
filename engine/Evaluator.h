#pragma once
// Evaluates expressions during execution, with the elements that enclosing loops, sums and
// indexed assignments have bound. Domain errors throw ExecError carrying the values involved.
#include <string>
#include <utility>
#include <vector>

#include "engine/Ast.h"
#include "engine/Program.h"

namespace tarvelin::engine {

struct ExecError {
  SourcePos pos;
  std::string message;
  bool isAbort = false;  // an abort statement, whose message is its text
};

// The sets being run and their current element positions.
struct Env {
  explicit Env(const SymbolTable& table)
      : symbols(table), position(static_cast<std::size_t>(table.count()), -1) {}
  const SymbolTable& symbols;
  std::vector<int> position;         // by symbol id; -1 when the set is not running
  std::vector<const Symbol*> loops;  // enclosing loops, outermost first

  int positionOf(const IndexArg& arg) const {
    return arg.isLabel ? arg.position : position[static_cast<std::size_t>(arg.set->id)];
  }
  // "j = 7, k = 2": the current element of every enclosing loop.
  std::string loopElements() const;
};

// The scalar position a reference addresses (0 for a scalar symbol).
int referencePosition(const Expr& ref, const Env& env);

double evaluate(const Expr& expr, Env& env);

// Applies one operator of the language to numbers, with its domain checks.
double applyBinary(BinaryOp op, double a, double b, SourcePos pos);
double applyFunction(Function f, const std::vector<double>& args, SourcePos pos);
double divide(double a, double b, SourcePos pos);

// Shortest text that gives the number back ("7", "0.25", "1e+19").
std::string formatNumber(double value);

// Reads a symbol's attribute at a position.
double readAttribute(const Symbol& symbol, Attr attr, const std::string& fileAttr,
                     std::size_t position);

}  // namespace tarvelin::engine
