#pragma once
// Compiles an equation's expression, with its sets bound, into a tape: sums are unrolled over
// their sets, and every part that does not involve a variable is folded to a constant.
#include "engine/Evaluator.h"
#include "engine/ModelInstance.h"

namespace tarvelin::engine {

class TapeBuilder {
 public:
  TapeBuilder(Env& env, std::vector<Column>& columns, ColumnIndex& columnIndex, Tape& tape)
      : env_(env), columns_(columns), columnIndex_(columnIndex), tape_(tape) {}

  // The node of the expression (a constant node when it has no variable).
  int build(const Expr& expr);

 private:
  struct Built {
    int node = -1;  // -1: constant
    double value = 0;
  };
  Built visit(const Expr& expr);
  Built sum(const Expr& expr);
  Built product(const Expr& expr);
  Built reduce(const Expr& expr);
  Built call(const Expr& expr);
  Built power(const Expr& expr);
  int node(const Built& b) { return b.node >= 0 ? b.node : tape_.constant(b.value); }
  int column(Symbol* variable, int position);

  Env& env_;
  std::vector<Column>& columns_;
  ColumnIndex& columnIndex_;
  Tape& tape_;
};

}  // namespace tarvelin::engine
