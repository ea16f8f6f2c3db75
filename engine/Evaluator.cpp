#include "engine/Evaluator.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/PutFile.h"

namespace tarvelin::engine {

std::string formatNumber(double value) {
  if (std::isinf(value)) return value > 0 ? "+INF" : "-INF";
  char buffer[64];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

std::string Env::loopElements() const {
  std::string out;
  for (const Symbol* set : loops) {
    if (!out.empty()) out += ", ";
    int pos = position[static_cast<std::size_t>(set->id)];
    out += set->name + " = " +
           symbols.labels().name(set->root()->elements[static_cast<std::size_t>(pos)]);
  }
  return out;
}

int referencePosition(const Expr& ref, const Env& env) {
  if (ref.index.empty() || !ref.symbol->domain) return 0;
  return env.positionOf(ref.index[0]);
}

double readAttribute(const Symbol& symbol, Attr attr, const std::string& fileAttr,
                     std::size_t position) {
  switch (symbol.kind) {
    case SymbolKind::Parameter:
      return symbol.values[position];
    case SymbolKind::Variable: {
      const VarValue& v = symbol.vars[position];
      switch (attr) {
        case Attr::Level:
          return v.level;
        case Attr::Lower:
          return v.lower;
        case Attr::Upper:
          return v.upper;
        case Attr::Marginal:
          return v.marginal;
        default:
          return v.level;
      }
    }
    case SymbolKind::Equation:
      return attr == Attr::Marginal ? symbol.eqs[position].marginal : symbol.eqs[position].level;
    case SymbolKind::Model: {
      const ModelAttributes& m = symbol.model;
      switch (attr) {
        case Attr::ModelStatus:
          return m.modelStatus;
        case Attr::SolverStatus:
          return m.solverStatus;
        case Attr::ObjectiveValue:
          return m.objectiveValue;
        case Attr::IterationsUsed:
          return m.iterationsUsed;
        case Attr::SecondsUsed:
          return m.secondsUsed;
        case Attr::Rows:
          return m.rows;
        case Attr::Columns:
          return m.columns;
        case Attr::IterationLimit:
          return m.iterationLimit;
        case Attr::TimeLimit:
          return m.timeLimit;
        default:
          return 0;
      }
    }
    case SymbolKind::File: {
      const PutFile& f = *symbol.file;
      if (fileAttr == "nw") return f.nw;
      if (fileAttr == "nd") return f.nd;
      if (fileAttr == "nr") return f.nr;
      if (fileAttr == "nz") return f.nz;
      if (fileAttr == "pw") return f.pw;
      if (fileAttr == "lw") return f.lw;
      if (fileAttr == "tw") return f.tw;
      return f.ap;
    }
    case SymbolKind::Set:
      return 0;
  }
  return 0;
}

double divide(double a, double b, SourcePos pos) {
  if (b == 0) throw ExecError{pos, "division by zero (" + formatNumber(a) + " / 0)"};
  return a / b;
}

// The message is a literal, so the common case builds no string.
static double checked(double result, SourcePos pos, const char* what) {
  if (std::isnan(result)) throw ExecError{pos, std::string("undefined result of ") + what};
  return result;
}

double applyBinary(BinaryOp op, double a, double b, SourcePos pos) {
  switch (op) {
    case BinaryOp::Pow:
      if (a < 0) {
        throw ExecError{pos, "x**y with negative x (" + formatNumber(a) + " ** " + formatNumber(b) +
                                 "); use power(x, n) for whole n"};
      }
      if (a == 0 && b < 0) {
        throw ExecError{pos, "0 ** " + formatNumber(b) + " is undefined"};
      }
      if (double r = std::pow(a, b); !std::isnan(r)) return r;
      throw ExecError{pos, "undefined result of " + formatNumber(a) + " ** " + formatNumber(b)};
    case BinaryOp::Lt:
      return a < b;
    case BinaryOp::Le:
      return a <= b;
    case BinaryOp::Gt:
      return a > b;
    case BinaryOp::Ge:
      return a >= b;
    case BinaryOp::Eq:
      return a == b;
    case BinaryOp::Ne:
      return a != b;
    case BinaryOp::And:
      return a != 0 && b != 0;
    case BinaryOp::Or:
      return a != 0 || b != 0;
    case BinaryOp::Xor:
      return (a != 0) != (b != 0);
  }
  return 0;
}

double applyFunction(Function f, const std::vector<double>& args, SourcePos pos) {
  double x = args[0];
  auto domainError = [&](const char* name, const char* rule) {
    throw ExecError{pos, std::string(name) + "(" + formatNumber(x) + "): " + rule};
  };
  switch (f) {
    case Function::Sqr:
      return x * x;
    case Function::Sqrt:
      if (x < 0) domainError("sqrt", "argument is negative");
      return std::sqrt(x);
    case Function::Abs:
      return std::fabs(x);
    case Function::Exp:
      return std::exp(x);
    case Function::Log:
      if (x <= 0) domainError("log", "argument is not positive");
      return std::log(x);
    case Function::Log10:
      if (x <= 0) domainError("log10", "argument is not positive");
      return std::log10(x);
    case Function::Sin:
      return checked(std::sin(x), pos, "sin");
    case Function::Cos:
      return checked(std::cos(x), pos, "cos");
    case Function::Power: {
      double n = args[1];
      if (n != std::round(n)) {
        throw ExecError{pos, "power(" + formatNumber(x) + ", " + formatNumber(n) +
                                 "): the exponent must be a whole number"};
      }
      if (x == 0 && n < 0) {
        throw ExecError{pos, "power(0, " + formatNumber(n) + ") is a division by zero"};
      }
      return std::pow(x, n);
    }
    case Function::Min:
    case Function::Max: {
      double r = x;
      for (double v : args) r = f == Function::Min ? std::min(r, v) : std::max(r, v);
      return r;
    }
  }
  return 0;
}

namespace {

double evaluateReduce(const Expr& expr, Env& env) {
  const IndexArg& arg = expr.index[0];
  const Symbol& root = *arg.set->root();
  int& slot = env.position[static_cast<std::size_t>(arg.set->id)];
  double acc = expr.reduce == ReduceOp::Sum    ? 0.0
               : expr.reduce == ReduceOp::Prod ? 1.0
               : expr.reduce == ReduceOp::Smin ? kInf
                                               : -kInf;
  for (std::size_t p = 0; p < root.elements.size(); ++p) {
    slot = static_cast<int>(p);
    if (expr.condition && evaluate(*expr.condition, env) == 0) continue;
    double v = evaluate(*expr.args[0], env);
    switch (expr.reduce) {
      case ReduceOp::Sum:
        acc += v;
        break;
      case ReduceOp::Prod:
        acc *= v;
        break;
      case ReduceOp::Smin:
        acc = std::min(acc, v);
        break;
      case ReduceOp::Smax:
        acc = std::max(acc, v);
        break;
    }
  }
  slot = -1;
  return checked(acc, expr.pos, "a sum of infinite terms");
}

}  // namespace

double evaluate(const Expr& expr, Env& env) {
  switch (expr.kind) {
    case ExprKind::Number:
      return expr.number;
    case ExprKind::Ref:
      return readAttribute(*expr.symbol, expr.attr, expr.fileAttr,
                           static_cast<std::size_t>(referencePosition(expr, env)));
    case ExprKind::Neg:
      return -evaluate(*expr.args[0], env);
    case ExprKind::Sum: {
      double acc = 0;
      for (std::size_t i = 0; i < expr.args.size(); ++i) {
        double v = evaluate(*expr.args[i], env);
        acc = expr.inverse[i] ? acc - v : acc + v;
      }
      return checked(acc, expr.pos, "+INF - INF");
    }
    case ExprKind::Product: {
      double acc = 1;
      for (std::size_t i = 0; i < expr.args.size(); ++i) {
        double v = evaluate(*expr.args[i], env);
        acc = expr.inverse[i] ? divide(acc, v, expr.args[i]->pos) : acc * v;
        checked(acc, expr.pos, "0 * INF");
      }
      return acc;
    }
    case ExprKind::Binary: {
      double a = evaluate(*expr.args[0], env);
      // "and"/"or" still evaluate both sides: the language has no short circuit either.
      double b = evaluate(*expr.args[1], env);
      return applyBinary(expr.binary, a, b, expr.pos);
    }
    case ExprKind::Not:
      return evaluate(*expr.args[0], env) == 0 ? 1 : 0;
    case ExprKind::Call: {
      std::vector<double> args;
      args.reserve(expr.args.size());
      for (const auto& a : expr.args) args.push_back(evaluate(*a, env));
      return applyFunction(expr.function, args, expr.pos);
    }
    case ExprKind::Reduce:
      return evaluateReduce(expr, env);
    case ExprKind::Dollar:
      return evaluate(*expr.args[1], env) != 0 ? evaluate(*expr.args[0], env) : 0;
    case ExprKind::Card:
      return static_cast<double>(expr.symbol->root()->elements.size());
    case ExprKind::Ord:
      return env.position[static_cast<std::size_t>(expr.symbol->id)] + 1;
  }
  return 0;
}

}  // namespace tarvelin::engine
