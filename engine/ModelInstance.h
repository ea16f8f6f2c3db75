#pragma once
// The nonlinear program a solve statement generates: one column per variable instance that the
// model's equations use, one row per equation instance, each row a compiled tape.
#include <utility>
#include <vector>

#include "engine/Evaluator.h"
#include "engine/Tape.h"

namespace tarvelin::engine {

struct Column {
  Symbol* variable = nullptr;
  int position = 0;
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
