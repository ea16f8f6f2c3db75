#pragma once
// A compiled function of the model's columns (one equation body, or the objective): a flat list
// of operations in evaluation order. Values go forward; the gradient comes from one reverse
// sweep; the Hessian from forward-over-reverse sweeps, one per column the tape depends on.
// All sweeps are loops, never recursion, whatever the size of the model.
#include <cstdint>
#include <vector>

namespace tarvelin::engine {

enum class TapeOp : std::uint8_t {
  Const,
  Var,  // a = column, b = local index among this tape's columns
  Add,
  Sub,
  Mul,
  Div,
  Neg,
  Pow,     // x ** y, both may depend on columns; x must be positive
  PowC,    // x ** c, constant c; x must not be negative
  PowInt,  // power(x, n), whole n; any sign of x
  Sqr,
  Sqrt,
  Abs,
  Exp,
  Log,
  Log10,
  Sin,
  Cos,
  Min,
  Max,
};

struct TapeNode {
  TapeOp op = TapeOp::Const;
  int a = -1;
  int b = -1;
  double c = 0;
};

class Tape {
 public:
  int constant(double value);
  int variable(int column);
  int unary(TapeOp op, int a, double c = 0);
  int binary(TapeOp op, int a, int b);

  void setRoot(int node) { root_ = node; }
  int root() const { return root_; }
  const std::vector<int>& columns() const { return columns_; }  // distinct, in first-use order
  std::size_t size() const { return nodes_.size(); }
  const std::vector<TapeNode>& nodes() const { return nodes_; }

  // All return false when a value or derivative is not a finite number (a domain error at this
  // point), so the solver can shorten its step.
  bool evaluate(const double* x, double& value) const;
  // Gradient with respect to columns(): gradient[k] for columns()[k].
  bool gradient(const double* x, double& value, std::vector<double>& gradient) const;
  // Lower triangle of the Hessian over columns(), scaled: hessian[k*(k+1)/2 + l] for l <= k.
  bool hessian(const double* x, double scale, std::vector<double>& hessian) const;

 private:
  bool forward(const double* x) const;
  void reverse(std::vector<double>& adjoint) const;

  std::vector<TapeNode> nodes_;
  std::vector<int> columns_;
  std::vector<int> localOfColumn_;  // column -> local index, -1 if unused
  std::vector<int> varNodes_;       // local index -> its Var node
  int root_ = -1;
  mutable std::vector<double> values_;
  mutable std::vector<double> tangents_;
  mutable std::vector<double> adjoints_;
  mutable std::vector<double> adjointTangents_;
};

}  // namespace tarvelin::engine
