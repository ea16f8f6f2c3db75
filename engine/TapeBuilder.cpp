#include "engine/TapeBuilder.h"

#include <cmath>

namespace tarvelin::engine {

int TapeBuilder::build(const Expr& expr) {
  return node(visit(expr));
}

int TapeBuilder::column(Symbol* variable, int position) {
  return columnIndex_.insert(variable, position, columns_);
}

TapeBuilder::Built TapeBuilder::visit(const Expr& expr) {
  if (!expr.hasVariable) return {-1, evaluate(expr, env_)};
  switch (expr.kind) {
    case ExprKind::Ref:
      return {tape_.variable(column(expr.symbol, referencePosition(expr, env_))), 0};
    case ExprKind::Neg: {
      Built a = visit(*expr.args[0]);
      return {tape_.unary(TapeOp::Neg, a.node), 0};
    }
    case ExprKind::Sum:
      return sum(expr);
    case ExprKind::Product:
      return product(expr);
    case ExprKind::Binary:
      return power(expr);
    case ExprKind::Call:
      return call(expr);
    case ExprKind::Reduce:
      return reduce(expr);
    case ExprKind::Dollar:
      if (evaluate(*expr.args[1], env_) == 0) return {-1, 0};
      return visit(*expr.args[0]);
    default:
      break;
  }
  throw ExecError{expr.pos, "this operation is not supported on variables in an NLP"};
}

TapeBuilder::Built TapeBuilder::sum(const Expr& expr) {
  double constant = 0;
  int acc = -1;
  for (std::size_t i = 0; i < expr.args.size(); ++i) {
    Built b = visit(*expr.args[i]);
    bool minus = expr.inverse[i];
    if (b.node < 0) {
      constant += minus ? -b.value : b.value;
    } else if (acc < 0) {
      acc = minus ? tape_.unary(TapeOp::Neg, b.node) : b.node;
    } else {
      acc = tape_.binary(minus ? TapeOp::Sub : TapeOp::Add, acc, b.node);
    }
  }
  if (constant != 0) acc = tape_.binary(TapeOp::Add, acc, tape_.constant(constant));
  return {acc, 0};
}

TapeBuilder::Built TapeBuilder::product(const Expr& expr) {
  double factor = 1;
  int acc = -1;
  for (std::size_t i = 0; i < expr.args.size(); ++i) {
    Built b = visit(*expr.args[i]);
    bool divide = expr.inverse[i];
    if (b.node < 0) {
      factor =
          divide ? tarvelin::engine::divide(factor, b.value, expr.args[i]->pos) : factor * b.value;
    } else if (acc < 0) {
      acc = divide ? tape_.binary(TapeOp::Div, tape_.constant(1), b.node) : b.node;
    } else {
      acc = tape_.binary(divide ? TapeOp::Div : TapeOp::Mul, acc, b.node);
    }
  }
  if (factor != 1) acc = tape_.binary(TapeOp::Mul, tape_.constant(factor), acc);
  return {acc, 0};
}

TapeBuilder::Built TapeBuilder::reduce(const Expr& expr) {
  const IndexArg& arg = expr.index[0];
  const Symbol& root = *arg.set->root();
  int& slot = env_.position[static_cast<std::size_t>(arg.set->id)];
  TapeOp op = expr.reduce == ReduceOp::Sum    ? TapeOp::Add
              : expr.reduce == ReduceOp::Prod ? TapeOp::Mul
              : expr.reduce == ReduceOp::Smin ? TapeOp::Min
                                              : TapeOp::Max;
  double constant = expr.reduce == ReduceOp::Sum    ? 0.0
                    : expr.reduce == ReduceOp::Prod ? 1.0
                    : expr.reduce == ReduceOp::Smin ? kInf
                                                    : -kInf;
  int acc = -1;
  for (std::size_t p = 0; p < root.elements.size(); ++p) {
    slot = static_cast<int>(p);
    if (expr.condition && evaluate(*expr.condition, env_) == 0) continue;
    Built b = visit(*expr.args[0]);
    if (b.node < 0) {
      switch (expr.reduce) {
        case ReduceOp::Sum:
          constant += b.value;
          break;
        case ReduceOp::Prod:
          constant *= b.value;
          break;
        case ReduceOp::Smin:
          constant = std::min(constant, b.value);
          break;
        case ReduceOp::Smax:
          constant = std::max(constant, b.value);
          break;
      }
    } else {
      acc = acc < 0 ? b.node : tape_.binary(op, acc, b.node);
    }
  }
  slot = -1;
  if (acc < 0) return {-1, constant};
  bool neutral = (expr.reduce == ReduceOp::Sum && constant == 0) ||
                 (expr.reduce == ReduceOp::Prod && constant == 1) || std::isinf(constant);
  if (!neutral) acc = tape_.binary(op, acc, tape_.constant(constant));
  return {acc, 0};
}

TapeBuilder::Built TapeBuilder::call(const Expr& expr) {
  if (expr.function == Function::Min || expr.function == Function::Max) {
    TapeOp op = expr.function == Function::Min ? TapeOp::Min : TapeOp::Max;
    int acc = -1;
    for (const auto& a : expr.args) {
      int n = node(visit(*a));
      acc = acc < 0 ? n : tape_.binary(op, acc, n);
    }
    return {acc, 0};
  }
  if (expr.function == Function::Power) {
    if (expr.args[1]->hasVariable) {
      throw ExecError{expr.pos, "power(x, n) needs a constant n; use x ** y"};
    }
    double n = evaluate(*expr.args[1], env_);
    if (n != std::round(n)) {
      throw ExecError{expr.pos, "power(x, " + formatNumber(n) + "): the exponent must be whole"};
    }
    return {tape_.unary(TapeOp::PowInt, visit(*expr.args[0]).node, n), 0};
  }
  TapeOp op = TapeOp::Sqr;
  switch (expr.function) {
    case Function::Sqr:
      op = TapeOp::Sqr;
      break;
    case Function::Sqrt:
      op = TapeOp::Sqrt;
      break;
    case Function::Abs:
      op = TapeOp::Abs;
      break;
    case Function::Exp:
      op = TapeOp::Exp;
      break;
    case Function::Log:
      op = TapeOp::Log;
      break;
    case Function::Log10:
      op = TapeOp::Log10;
      break;
    case Function::Sin:
      op = TapeOp::Sin;
      break;
    case Function::Cos:
      op = TapeOp::Cos;
      break;
    default:
      break;
  }
  return {tape_.unary(op, visit(*expr.args[0]).node), 0};
}

TapeBuilder::Built TapeBuilder::power(const Expr& expr) {
  if (expr.binary != BinaryOp::Pow) {
    throw ExecError{expr.pos, "comparisons of variables are not allowed in an NLP"};
  }
  Built base = visit(*expr.args[0]);
  Built exponent = visit(*expr.args[1]);
  if (exponent.node < 0) return {tape_.unary(TapeOp::PowC, base.node, exponent.value), 0};
  return {tape_.binary(TapeOp::Pow, node(base), exponent.node), 0};
}

}  // namespace tarvelin::engine
