#include "engine/Checker.h"

#include <algorithm>
#include <map>

namespace tarvelin::engine {
namespace {

const std::map<std::string, Attr>& variableAttrs() {
  static const std::map<std::string, Attr> attrs = {{"l", Attr::Level},
                                                    {"lo", Attr::Lower},
                                                    {"up", Attr::Upper},
                                                    {"fx", Attr::Fixed},
                                                    {"m", Attr::Marginal}};
  return attrs;
}

const std::map<std::string, Attr>& modelAttrs() {
  static const std::map<std::string, Attr> attrs = {
      {"modelstat", Attr::ModelStatus}, {"solvestat", Attr::SolverStatus},
      {"objval", Attr::ObjectiveValue}, {"iterusd", Attr::IterationsUsed},
      {"resusd", Attr::SecondsUsed},    {"numequ", Attr::Rows},
      {"numvar", Attr::Columns},        {"iterlim", Attr::IterationLimit},
      {"reslim", Attr::TimeLimit}};
  return attrs;
}

bool isFileAttr(const std::string& name) {
  return name == "nw" || name == "nd" || name == "nr" || name == "nz" || name == "pw" ||
         name == "lw" || name == "tw" || name == "ap";
}

}  // namespace

void Checker::fail(SourcePos pos, std::string message) const {
  throw Diagnostic{pos, std::move(message)};
}

Symbol* Checker::lookup(const std::string& name, SourcePos pos) const {
  Symbol* symbol = program_.symbols.find(name);
  if (!symbol) fail(pos, "unknown symbol '" + name + "'");
  return symbol;
}

bool Checker::isControlled(const Symbol* set) const {
  return std::find(controlled_.begin(), controlled_.end(), set) != controlled_.end();
}

Symbol* Checker::controlSet(IndexArg& arg) {
  Symbol* set = lookup(arg.name, arg.pos);
  if (set->kind != SymbolKind::Set) fail(arg.pos, "'" + set->name + "' is not a set");
  if (isControlled(set)) fail(arg.pos, "set '" + set->name + "' is already controlled here");
  arg.set = set;
  controlled_.push_back(set);
  return set;
}

void Checker::checkBody(std::vector<std::unique_ptr<Stmt>>& body) {
  for (auto& stmt : body) checkStatement(*stmt);
}

void Checker::checkStatement(Stmt& stmt) {
  std::size_t mark = controlled_.size();
  switch (stmt.kind) {
    case StmtKind::Assign: {
      checkRef(*stmt.target, {}, true);
      if (stmt.condition) checkExpr(*stmt.condition, {});
      checkExpr(*stmt.value, {});
      break;
    }
    case StmtKind::EquationDef: {
      Symbol& eq = *stmt.symbol;
      if (eq.definition) {
        fail(stmt.pos, "equation '" + eq.name + "' is already defined (line " +
                           std::to_string(eq.definition->pos.line) + ")");
      }
      if (stmt.hasDomain != (eq.domain != nullptr)) {
        fail(stmt.pos, eq.domain ? "equation '" + eq.name + "' is declared over set '" +
                                       eq.domain->name + "' and must be defined over it"
                                 : "equation '" + eq.name + "' is scalar and takes no index");
      }
      if (stmt.hasDomain) {
        Symbol* set = controlSet(stmt.domain);
        if (set->root() != eq.domain) {
          fail(stmt.domain.pos, "set '" + set->name + "' is not the domain of '" + eq.name +
                                    "' (declared over '" + eq.domain->name + "')");
        }
      }
      if (stmt.condition) checkExpr(*stmt.condition, {});
      Context context;
      context.inEquation = true;
      checkExpr(*stmt.lhs, context);
      checkExpr(*stmt.rhs, context);
      if (stmt.condition && stmt.condition->hasVariable) {
        fail(stmt.condition->pos, "a condition cannot depend on a variable (use its level .l)");
      }
      break;
    }
    case StmtKind::Loop: {
      controlSet(stmt.domain);
      if (stmt.condition) checkExpr(*stmt.condition, {});
      checkBody(stmt.body);
      break;
    }
    case StmtKind::Abort:
      if (stmt.condition) checkExpr(*stmt.condition, {});
      break;
    case StmtKind::Display:
      for (auto& item : stmt.items) {
        if (!item) continue;
        Symbol* symbol = lookup(item->name, item->pos);
        item->symbol = symbol;
        if (!item->index.empty()) fail(item->index[0].pos, "display shows whole symbols");
        if (!item->attrName.empty()) {
          if (symbol->kind == SymbolKind::Set || symbol->kind == SymbolKind::Parameter) {
            fail(item->attrPos, std::string(symbolKindName(symbol->kind)) + " '" + symbol->name +
                                    "' has no attribute '." + item->attrName + "'");
          }
          resolveAttr(*item, {}, false);
        } else if (symbol->kind == SymbolKind::Model || symbol->kind == SymbolKind::File) {
          fail(item->pos, "display a model or file through an attribute, such as '" + symbol->name +
                              (symbol->kind == SymbolKind::Model ? ".modelstat'" : ".nw'"));
        }
      }
      break;
    case StmtKind::Option:
    case StmtKind::Solve:
      break;
    case StmtKind::Put: {
      Context context;
      context.inPut = true;
      for (auto& item : stmt.putItems) {
        if (item.value) checkExpr(*item.value, context);
      }
      break;
    }
  }
  controlled_.resize(mark);
}

void Checker::resolveAttr(Expr& expr, Context context, bool isTarget) {
  Symbol& symbol = *expr.symbol;
  const std::string& a = expr.attrName;
  SourcePos at = expr.attrPos;
  switch (symbol.kind) {
    case SymbolKind::Set:
      if (a == "tl" && context.inPut) {
        expr.attr = Attr::Label;
        return;
      }
      fail(at, a.empty() ? "set '" + symbol.name + "' cannot be used as a value"
                         : "attribute '." + a + "' of set '" + symbol.name +
                               "' is not supported here (.tl in put statements)");
    case SymbolKind::Parameter:
      if (!a.empty()) fail(at, "parameter '" + symbol.name + "' has no attribute '." + a + "'");
      expr.attr = Attr::Value;
      return;
    case SymbolKind::Variable: {
      if (a.empty()) {
        if (!context.inEquation) {
          fail(expr.pos,
               "variable '" + symbol.name + "' needs an attribute here (.l, .lo, .up or .fx)");
        }
        expr.attr = Attr::Value;
        expr.hasVariable = true;
        return;
      }
      auto it = variableAttrs().find(a);
      if (it == variableAttrs().end()) {
        fail(at, "variable attribute '." + a + "' is not supported");
      }
      if (it->second == Attr::Fixed && !isTarget) fail(at, "'.fx' can only be assigned");
      expr.attr = it->second;
      return;
    }
    case SymbolKind::Equation:
      if (a == "l" && !isTarget) {
        expr.attr = Attr::Level;
      } else if (a == "m" && !isTarget) {
        expr.attr = Attr::Marginal;
      } else {
        fail(a.empty() ? expr.pos : at,
             "equation '" + symbol.name + "' can be read only as .l or .m outside its definition");
      }
      return;
    case SymbolKind::Model: {
      auto it = modelAttrs().find(a);
      if (it == modelAttrs().end()) {
        fail(a.empty() ? expr.pos : at, "model '" + symbol.name +
                                            "' needs an attribute such as "
                                            ".modelstat, .solvestat or .objval");
      }
      if (isTarget && it->second != Attr::IterationLimit && it->second != Attr::TimeLimit) {
        fail(at, "model attribute '." + a + "' is set by the solve and cannot be assigned");
      }
      expr.attr = it->second;
      return;
    }
    case SymbolKind::File:
      if (!isFileAttr(a)) {
        fail(a.empty() ? expr.pos : at,
             "file '" + symbol.name + "' needs an attribute: .nw .nd .nr .nz .pw .lw .tw .ap");
      }
      expr.attr = Attr::FileAttr;
      expr.fileAttr = a;
      return;
  }
}

void Checker::checkIndex(Expr& expr, Symbol& symbol) {
  bool indexed = symbol.kind == SymbolKind::Set || symbol.domain != nullptr;
  if (symbol.kind == SymbolKind::Set) {
    // j.tl: the set itself is the index.
    if (!expr.index.empty()) fail(expr.index[0].pos, "'" + symbol.name + "' takes no index here");
    if (!isControlled(&symbol)) {
      fail(expr.pos, "set '" + symbol.name + "' is not controlled here (use it inside a loop)");
    }
    return;
  }
  if (!indexed || expr.attr == Attr::FileAttr) {
    if (!expr.index.empty()) {
      fail(expr.index[0].pos, "'" + symbol.name + "' is scalar and takes no index");
    }
    return;
  }
  if (expr.index.empty()) {
    fail(expr.pos, "'" + symbol.name + "' is indexed over set '" + symbol.domain->name +
                       "' and needs an index");
  }
  IndexArg& arg = expr.index[0];
  if (arg.isLabel) {
    int id = program_.symbols.labels().find(arg.name);
    auto it = id < 0 ? symbol.domain->positions.end() : symbol.domain->positions.find(id);
    if (it == symbol.domain->positions.end()) {
      fail(arg.pos, "'" + arg.name + "' is not an element of set '" + symbol.domain->name + "'");
    }
    arg.position = it->second;
    return;
  }
  Symbol* set = lookup(arg.name, arg.pos);
  if (set->kind != SymbolKind::Set) fail(arg.pos, "'" + set->name + "' is not a set");
  if (set->root() != symbol.domain) {
    fail(arg.pos, "set '" + set->name + "' is not the domain of '" + symbol.name +
                      "' (declared over '" + symbol.domain->name + "')");
  }
  if (!isControlled(set)) {
    fail(arg.pos,
         "set '" + set->name + "' is not controlled here (use sum, loop or an indexed assignment)");
  }
  arg.set = set;
}

void Checker::checkRef(Expr& expr, Context context, bool isTarget) {
  expr.symbol = lookup(expr.name, expr.pos);
  resolveAttr(expr, context, isTarget);
  if (isTarget) {
    SymbolKind kind = expr.symbol->kind;
    if (kind != SymbolKind::Parameter && kind != SymbolKind::Variable &&
        kind != SymbolKind::Model && kind != SymbolKind::File) {
      fail(expr.pos, "a " + std::string(symbolKindName(kind)) + " cannot be assigned to");
    }
    if (kind == SymbolKind::Variable && expr.attr == Attr::Marginal) {
      fail(expr.attrPos, "'.m' is set by the solve and cannot be assigned");
    }
    // An indexed target controls its set, unless an enclosing loop already does.
    if (!expr.index.empty() && !expr.index[0].isLabel && expr.symbol->domain) {
      Symbol* set = program_.symbols.find(expr.index[0].name);
      if (set && set->kind == SymbolKind::Set && !isControlled(set)) controlled_.push_back(set);
    }
  }
  checkIndex(expr, *expr.symbol);
}

void Checker::checkExpr(Expr& expr, Context context) {
  switch (expr.kind) {
    case ExprKind::Number:
      return;
    case ExprKind::Ref:
      checkRef(expr, context, false);
      return;
    case ExprKind::Card:
    case ExprKind::Ord: {
      IndexArg& arg = expr.index[0];
      Symbol* set = lookup(arg.name, arg.pos);
      if (set->kind != SymbolKind::Set) fail(arg.pos, "'" + set->name + "' is not a set");
      if (expr.kind == ExprKind::Ord && !isControlled(set)) {
        fail(arg.pos, "set '" + set->name + "' is not controlled here, so ord() has no element");
      }
      arg.set = set;
      expr.symbol = set;
      return;
    }
    case ExprKind::Reduce: {
      std::size_t mark = controlled_.size();
      controlSet(expr.index[0]);
      if (expr.condition) {
        checkExpr(*expr.condition, context);
        if (expr.condition->hasVariable) {
          fail(expr.condition->pos, "a condition cannot depend on a variable (use its level .l)");
        }
      }
      checkExpr(*expr.args[0], context);
      expr.hasVariable = expr.args[0]->hasVariable;
      controlled_.resize(mark);
      return;
    }
    default:
      break;
  }
  for (auto& arg : expr.args) {
    checkExpr(*arg, context);
    expr.hasVariable = expr.hasVariable || arg->hasVariable;
  }
  if (expr.kind == ExprKind::Dollar && expr.args[1]->hasVariable) {
    fail(expr.args[1]->pos, "a condition cannot depend on a variable (use its level .l)");
  }
  if (expr.kind == ExprKind::Dollar) expr.hasVariable = expr.args[0]->hasVariable;
  bool logical =
      expr.kind == ExprKind::Not || (expr.kind == ExprKind::Binary && expr.binary != BinaryOp::Pow);
  if (logical && expr.hasVariable) {
    fail(expr.pos, "comparisons and logical operators of variables are not allowed in an NLP");
  }
}

}  // namespace tarvelin::engine
