#pragma once
// A compiled function of the model's columns (one equation body, or the objective): a flat list
// of operations in evaluation order. Equal operations on equal operands are stored once, so a
// repeated subexpression is evaluated once. Values go forward; the gradient comes from one
// reverse sweep. For the Hessian the tape is split: from the root down, linear operations and
// functions of one argument (sqr, exp, ...) form the top; below it are parts, the other
// nonlinear operations. The Hessian is the parts' Hessians times their adjoints through the top,
// plus for each function u = phi(r) in the top phi''(r) adj(u) grad(r) grad(r)'. Each term is
// dense only over its own columns, so a sum over many points gives a sparse Hessian, and a
// square of a sum of small terms costs one gradient and the small terms. All sweeps are loops,
// never recursion, whatever the size of the model.
#include <cstdint>
#include <utility>
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

  void setRoot(int node) {
    root_ = node;
    prepared_ = false;
    valuesValid_ = false;
  }
  int root() const { return root_; }
  const std::vector<int>& columns() const { return columns_; }  // distinct, in first-use order
  std::size_t size() const { return nodes_.size(); }
  const std::vector<TapeNode>& nodes() const { return nodes_; }

  // All return false when a value or derivative is not a finite number (a domain error at this
  // point), so the solver can shorten its step.
  bool evaluate(const double* x, double& value) const;
  // Gradient with respect to columns(): gradient[k] for columns()[k].
  bool gradient(const double* x, double& value, std::vector<double>& gradient) const;

  // The structural nonzeros of the Hessian's lower triangle: pairs (k, l), l <= k, of indices
  // into columns().
  const std::vector<std::pair<int, int>>& hessianPattern() const;
  // The Hessian times scale, one value per hessianPattern() entry. With gaussNewton, a square
  // sqr(r) in the top whose adjoint is positive contributes 2 grad(r) grad(r)' (positive
  // semidefinite) instead of its exact Hessian 2 grad(r) grad(r)' + 2 r Hess(r).
  bool hessian(const double* x, double scale, std::vector<double>& values,
               bool gaussNewton = false) const;
  // Whether a square in the top has a constant weight of the sign of scale (a linear
  // combination of squares, as a least-squares objective is).
  bool hasSquareParts(double scale) const;

 private:
  // A term of the Hessian: the parts' own Hessians, or phi''(r) grad(r) grad(r)' for a function
  // u = phi(r) of the top (outer >= 0, roots = {r}). Parts that share most of their nodes and
  // all their columns are one element, so their common subexpressions are differentiated once.
  struct Element {
    std::vector<int> roots;
    int outer = -1;
    std::vector<int> nodes;    // the nodes the roots read, ascending
    std::vector<int> columns;  // indices into columns_, ascending
    std::vector<int> slots;    // lower triangle (k, l <= k) over `columns` -> pattern entry
  };

  int add(const TapeNode& node);
  bool forward(const double* x) const;
  void reverse(std::vector<double>& adjoint) const;
  void prepare() const;
  void splitElements() const;
  void computePartials() const;
  bool topWeights(double scale, bool gaussNewton) const;
  bool elementHessian(const Element& e, std::vector<double>& values) const;
  void enterElement(const Element& e) const;
  void elementReverse(const Element& e) const;

  std::vector<TapeNode> nodes_;
  std::vector<int> columns_;
  std::vector<int> localOfColumn_;  // column -> local index, -1 if unused
  std::vector<int> varNodes_;       // local index -> its Var node
  std::vector<int> table_;          // open addressing: node index + 1, 0 for empty
  int root_ = -1;
  mutable std::vector<double> values_;
  // The point of the last successful forward sweep, by local column.
  mutable bool valuesValid_ = false;
  mutable std::vector<double> valuesAt_;
  mutable std::vector<double> adjoints_;
  // Hessian structure, built on first use.
  mutable bool prepared_ = false;
  mutable std::vector<Element> elements_;
  mutable std::vector<int> top_;                         // descending
  mutable std::vector<std::pair<int, double>> squares_;  // squares in the top, constant weights
  mutable std::vector<std::pair<int, int>> pattern_;
  // Hessian work space.
  mutable std::vector<double> da_, db_, daa_, dab_, dbb_;
  mutable std::vector<double> weight_;      // node -> its adjoint through the top, times scale
  mutable std::vector<int> position_;       // node -> index within the current element, -1 outside
  mutable std::vector<int> elementColumn_;  // local column -> index within the current element
  mutable std::vector<double> tangents_, elementAdjoints_, adjointTangents_;
};

}  // namespace tarvelin::engine
