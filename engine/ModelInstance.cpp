#include "engine/ModelInstance.h"

#include <cmath>

#include "engine/TapeBuilder.h"

namespace tarvelin::engine {
namespace {

// Bounds of this magnitude or more mean "no bound", as for the solver.
constexpr double kNoBound = 1e19;

std::string instanceName(const Symbol& symbol, int position, const Env& env) {
  if (!symbol.domain) return symbol.name;
  return symbol.name + "('" +
         env.symbols.labels().name(symbol.domain->elements[static_cast<std::size_t>(position)]) +
         "')";
}

bool isObjectiveRef(const Expr& e, const Symbol* objective) {
  return e.kind == ExprKind::Ref && e.symbol == objective && e.attr == Attr::Value;
}

void generateRows(const Symbol& equation, Env& env, ModelInstance& m, ColumnIndex& columnIndex) {
  const Stmt& def = *equation.definition;
  int* slot = def.hasDomain ? &env.position[static_cast<std::size_t>(def.domain.set->id)] : nullptr;
  std::size_t count = equation.size();
  for (std::size_t p = 0; p < count; ++p) {
    if (slot) *slot = static_cast<int>(p);
    if (def.condition && evaluate(*def.condition, env) == 0) continue;
    Row row;
    row.equation = const_cast<Symbol*>(&equation);
    row.position = static_cast<int>(p);
    row.relation = def.relation;
    row.lower = def.relation == Relation::Le ? -kInf : 0;
    row.upper = def.relation == Relation::Ge ? kInf : 0;
    TapeBuilder builder(env, m.columns, columnIndex, row.tape);
    int lhs = builder.build(*def.lhs);
    int rhs = builder.build(*def.rhs);
    row.tape.setRoot(row.tape.binary(TapeOp::Sub, lhs, rhs));
    if (row.tape.columns().empty()) {
      double value = 0;
      row.tape.evaluate(nullptr, value);
      bool ok = def.relation == Relation::Eq   ? std::fabs(value) <= 1e-9
                : def.relation == Relation::Le ? value <= 1e-9
                                               : value >= -1e-9;
      if (!ok) {
        throw ExecError{def.pos, "equation " + instanceName(equation, row.position, env) +
                                     " has no variable and does not hold (lhs - rhs = " +
                                     formatNumber(value) + ")"};
      }
      continue;
    }
    m.rows.push_back(std::move(row));
  }
  if (slot) *slot = -1;
}

// "z =e= f(x)" with z nowhere else and free: minimise f itself.
void eliminateObjective(ModelInstance& m, Env& env, ColumnIndex& index) {
  int z = m.objectiveColumn;
  const Symbol* objective = m.columns[static_cast<std::size_t>(z)].variable;
  int found = -1;
  for (std::size_t r = 0; r < m.rows.size(); ++r) {
    for (int c : m.rows[r].tape.columns()) {
      if (c != z) continue;
      if (found >= 0) return;
      found = static_cast<int>(r);
    }
  }
  if (found < 0) return;
  Row& row = m.rows[static_cast<std::size_t>(found)];
  const Stmt& def = *row.equation->definition;
  if (row.relation != Relation::Eq) return;
  const Expr* other = nullptr;
  double sign = 1;
  if (isObjectiveRef(*def.lhs, objective)) {
    other = def.rhs.get();
  } else if (isObjectiveRef(*def.rhs, objective)) {
    other = def.lhs.get();
    sign = -1;
  } else {
    return;
  }
  int* slot = def.hasDomain ? &env.position[static_cast<std::size_t>(def.domain.set->id)] : nullptr;
  if (slot) *slot = row.position;
  Tape tape;
  TapeBuilder builder(env, m.columns, index, tape);
  tape.setRoot(builder.build(*other));
  if (slot) *slot = -1;
  for (int c : tape.columns()) {
    if (c == z) return;
  }
  m.objectiveEliminated = true;
  m.objectiveTape = std::move(tape);
  m.objectiveEquation = row.equation;
  m.objectiveEquationPosition = row.position;
  m.objectiveSign = sign;
  m.rows.erase(m.rows.begin() + found);
  const VarValue& bounds = objective->vars[0];
  if (bounds.lower > -kNoBound || bounds.upper < kNoBound) {
    Row range;
    range.equation = m.objectiveEquation;
    range.position = m.objectiveEquationPosition;
    range.relation = Relation::Eq;
    range.tape = m.objectiveTape;
    range.lower = bounds.lower <= -kNoBound ? -kInf : bounds.lower;
    range.upper = bounds.upper >= kNoBound ? kInf : bounds.upper;
    m.objectiveRangeRow = static_cast<int>(m.rows.size());
    m.rows.push_back(std::move(range));
  }
}

void checkAndProjectBounds(ModelInstance& m, const Stmt& solve, const Env& env) {
  for (std::size_t c = 0; c < m.columns.size(); ++c) {
    const Column& col = m.columns[c];
    VarValue& v = col.variable->vars[static_cast<std::size_t>(col.position)];
    if (v.lower > v.upper) {
      throw ExecError{solve.pos, "variable " + instanceName(*col.variable, col.position, env) +
                                     " has its lower bound " + formatNumber(v.lower) +
                                     " above its upper bound " + formatNumber(v.upper)};
    }
    // The eliminated objective takes its value from the solution, not from a start.
    if (m.objectiveEliminated && static_cast<int>(c) == m.objectiveColumn) continue;
    double lower = v.lower <= -kNoBound ? -kInf : v.lower;
    double upper = v.upper >= kNoBound ? kInf : v.upper;
    double projected = std::min(std::max(v.level, lower), upper);
    if (projected != v.level) {
      v.level = projected;
      ++m.projectedLevels;
    }
  }
}

}  // namespace

ModelInstance generateModel(const Stmt& solve, Env& env) {
  ModelInstance m;
  m.maximize = solve.maximize;
  const Symbol& model = *solve.symbol;
  ColumnIndex columnIndex;
  for (const Symbol* equation : model.equations) {
    if (!equation->definition) {
      throw ExecError{solve.pos, "equation '" + equation->name + "' of model '" + model.name +
                                     "' has no definition"};
    }
    generateRows(*equation, env, m, columnIndex);
  }
  int objective = columnIndex.find(*solve.objective, 0);
  if (objective < 0) {
    throw ExecError{solve.pos, "the objective variable '" + solve.objective->name +
                                   "' does not appear in the equations of model '" + model.name +
                                   "'"};
  }
  m.objectiveColumn = objective;
  eliminateObjective(m, env, columnIndex);
  checkAndProjectBounds(m, solve, env);
  return m;
}

}  // namespace tarvelin::engine
