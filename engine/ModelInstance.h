#pragma once
// The nonlinear program a solve statement generates: one column per variable instance that the
// model's equations use, one row per equation instance, each row a compiled tape.
#include <algorithm>
#include <utility>
#include <vector>

#include "engine/Evaluator.h"
#include "engine/Tape.h"

namespace tarvelin::engine {

struct Column {
  Symbol* variable = nullptr;
  int position = 0;
};

// The column of each variable instance a model uses, by symbol and position.
class ColumnIndex {
 public:
  int find(const Symbol& variable, int position) const {
    auto id = static_cast<std::size_t>(variable.id);
    if (id >= bySymbol_.size() || bySymbol_[id].empty()) return -1;
    return bySymbol_[id][static_cast<std::size_t>(position)];
  }
  // The existing column, or a new one appended to columns.
  int insert(Symbol* variable, int position, std::vector<Column>& columns) {
    auto id = static_cast<std::size_t>(variable->id);
    if (id >= bySymbol_.size()) bySymbol_.resize(id + 1);
    std::vector<int>& slots = bySymbol_[id];
    if (slots.empty()) slots.assign(std::max<std::size_t>(variable->vars.size(), 1), -1);
    int& slot = slots[static_cast<std::size_t>(position)];
    if (slot < 0) {
      slot = static_cast<int>(columns.size());
      columns.push_back({variable, position});
    }
    return slot;
  }

 private:
  std::vector<std::vector<int>> bySymbol_;
};

struct Row {
  Symbol* equation = nullptr;
  int position = 0;
  Relation relation = Relation::Eq;
  Tape tape;         // lhs - rhs
  double lower = 0;  // lower <= tape <= upper, from the relation
  double upper = 0;
};

struct ModelInstance {
  std::vector<Column> columns;
  std::vector<Row> rows;
  int objectiveColumn = -1;
  bool maximize = false;
  // When the objective variable only appears as "z =e= f(x)", the solver minimises f directly
  // and z is set from f afterwards; that row is then not among `rows`. Bounds on z become a
  // row lo <= f(x) <= up. (Ipopt, given "min z" with the defining row, can stall with a zero
  // multiplier when z starts on a bound.)
  bool objectiveEliminated = false;
  Tape objectiveTape;
  Symbol* objectiveEquation = nullptr;
  int objectiveEquationPosition = 0;
  double objectiveSign = 1;    // coefficient of z in lhs - rhs of that equation
  int objectiveRangeRow = -1;  // the row lo <= f(x) <= up, when z has bounds
  int projectedLevels = 0;
};

// Generates the instance for a solve statement: evaluates every parameter the equations use,
// checks the bounds (lo > up is an error) and projects levels onto their bounds.
ModelInstance generateModel(const Stmt& solve, Env& env);

}  // namespace tarvelin::engine
