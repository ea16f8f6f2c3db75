#include "engine/Tape.h"

#include <cmath>

namespace tarvelin::engine {
namespace {

struct Partials {
  double da = 0, db = 0, daa = 0, dab = 0, dbb = 0;
};

// d^k/dx^k of x^c for k = 1, 2, written so that c = 0, 1, 2 stay exact at x = 0.
void powerPartials(double x, double c, Partials& p) {
  if (c == 0) return;
  if (c == 1) {
    p.da = 1;
    return;
  }
  if (c == 2) {
    p.da = 2 * x;
    p.daa = 2;
    return;
  }
  p.da = c * std::pow(x, c - 1);
  p.daa = c * (c - 1) * std::pow(x, c - 2);
}

Partials partials(const TapeNode& n, double va, double vb, double v) {
  Partials p;
  switch (n.op) {
    case TapeOp::Const:
    case TapeOp::Var:
      break;
    case TapeOp::Add:
      p.da = 1;
      p.db = 1;
      break;
    case TapeOp::Sub:
      p.da = 1;
      p.db = -1;
      break;
    case TapeOp::Mul:
      p.da = vb;
      p.db = va;
      p.dab = 1;
      break;
    case TapeOp::Div:
      p.da = 1 / vb;
      p.db = -va / (vb * vb);
      p.dab = -1 / (vb * vb);
      p.dbb = 2 * va / (vb * vb * vb);
      break;
    case TapeOp::Neg:
      p.da = -1;
      break;
    case TapeOp::Pow: {
      double lx = std::log(va);
      p.da = vb * v / va;
      p.db = v * lx;
      p.daa = vb * (vb - 1) * v / (va * va);
      p.dab = v / va * (1 + vb * lx);
      p.dbb = v * lx * lx;
      break;
    }
    case TapeOp::PowC:
    case TapeOp::PowInt:
      powerPartials(va, n.c, p);
      break;
    case TapeOp::Sqr:
      p.da = 2 * va;
      p.daa = 2;
      break;
    case TapeOp::Sqrt:
      p.da = 0.5 / v;
      p.daa = -0.25 / (v * va);
      break;
    case TapeOp::Abs:
      p.da = va > 0 ? 1 : (va < 0 ? -1 : 0);
      break;
    case TapeOp::Exp:
      p.da = v;
      p.daa = v;
      break;
    case TapeOp::Log:
      p.da = 1 / va;
      p.daa = -1 / (va * va);
      break;
    case TapeOp::Log10: {
      double k = std::log(10.0);
      p.da = 1 / (va * k);
      p.daa = -1 / (va * va * k);
      break;
    }
    case TapeOp::Sin:
      p.da = std::cos(va);
      p.daa = -v;
      break;
    case TapeOp::Cos:
      p.da = -std::sin(va);
      p.daa = -v;
      break;
    case TapeOp::Min:
      (va <= vb ? p.da : p.db) = 1;
      break;
    case TapeOp::Max:
      (va >= vb ? p.da : p.db) = 1;
      break;
  }
  return p;
}

bool finite(const Partials& p) {
  return std::isfinite(p.da) && std::isfinite(p.db) && std::isfinite(p.daa) &&
         std::isfinite(p.dab) && std::isfinite(p.dbb);
}

}  // namespace

int Tape::constant(double value) {
  nodes_.push_back({TapeOp::Const, -1, -1, value});
  return static_cast<int>(nodes_.size()) - 1;
}

int Tape::variable(int column) {
  if (column >= static_cast<int>(localOfColumn_.size())) {
    localOfColumn_.resize(static_cast<std::size_t>(column) + 1, -1);
  }
  int& local = localOfColumn_[static_cast<std::size_t>(column)];
  if (local < 0) {
    local = static_cast<int>(columns_.size());
    columns_.push_back(column);
    nodes_.push_back({TapeOp::Var, column, local, 0});
    varNodes_.push_back(static_cast<int>(nodes_.size()) - 1);
  }
  return varNodes_[static_cast<std::size_t>(local)];
}

int Tape::unary(TapeOp op, int a, double c) {
  nodes_.push_back({op, a, -1, c});
  return static_cast<int>(nodes_.size()) - 1;
}

int Tape::binary(TapeOp op, int a, int b) {
  nodes_.push_back({op, a, b, 0});
  return static_cast<int>(nodes_.size()) - 1;
}

bool Tape::forward(const double* x) const {
  values_.resize(nodes_.size());
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    const TapeNode& n = nodes_[i];
    double va = n.a >= 0 && n.op != TapeOp::Var ? values_[static_cast<std::size_t>(n.a)] : 0;
    double vb = n.b >= 0 && n.op != TapeOp::Var ? values_[static_cast<std::size_t>(n.b)] : 0;
    double v = 0;
    switch (n.op) {
      case TapeOp::Const:
        v = n.c;
        break;
      case TapeOp::Var:
        v = x[n.a];
        break;
      case TapeOp::Add:
        v = va + vb;
        break;
      case TapeOp::Sub:
        v = va - vb;
        break;
      case TapeOp::Mul:
        v = va * vb;
        break;
      case TapeOp::Div:
        if (vb == 0) return false;
        v = va / vb;
        break;
      case TapeOp::Neg:
        v = -va;
        break;
      case TapeOp::Pow:
        if (va <= 0) return false;
        v = std::pow(va, vb);
        break;
      case TapeOp::PowC:
        if (va < 0 || (va == 0 && n.c < 0)) return false;
        v = std::pow(va, n.c);
        break;
      case TapeOp::PowInt:
        if (va == 0 && n.c < 0) return false;
        v = std::pow(va, n.c);
        break;
      case TapeOp::Sqr:
        v = va * va;
        break;
      case TapeOp::Sqrt:
        if (va < 0) return false;
        v = std::sqrt(va);
        break;
      case TapeOp::Abs:
        v = std::fabs(va);
        break;
      case TapeOp::Exp:
        v = std::exp(va);
        break;
      case TapeOp::Log:
        if (va <= 0) return false;
        v = std::log(va);
        break;
      case TapeOp::Log10:
        if (va <= 0) return false;
        v = std::log10(va);
        break;
      case TapeOp::Sin:
        v = std::sin(va);
        break;
      case TapeOp::Cos:
        v = std::cos(va);
        break;
      case TapeOp::Min:
        v = std::min(va, vb);
        break;
      case TapeOp::Max:
        v = std::max(va, vb);
        break;
    }
    if (!std::isfinite(v)) return false;
    values_[i] = v;
  }
  return true;
}

bool Tape::evaluate(const double* x, double& value) const {
  if (!forward(x)) return false;
  value = values_[static_cast<std::size_t>(root_)];
  return true;
}

void Tape::reverse(std::vector<double>& adjoint) const {
  adjoint.assign(nodes_.size(), 0.0);
  adjoint[static_cast<std::size_t>(root_)] = 1;
  for (std::size_t i = nodes_.size(); i-- > 0;) {
    const TapeNode& n = nodes_[i];
    double w = adjoint[i];
    if (w == 0 || n.op == TapeOp::Const || n.op == TapeOp::Var) continue;
    double va = values_[static_cast<std::size_t>(n.a)];
    double vb = n.b >= 0 ? values_[static_cast<std::size_t>(n.b)] : 0;
    Partials p = partials(n, va, vb, values_[i]);
    adjoint[static_cast<std::size_t>(n.a)] += w * p.da;
    if (n.b >= 0) adjoint[static_cast<std::size_t>(n.b)] += w * p.db;
  }
}

bool Tape::gradient(const double* x, double& value, std::vector<double>& gradient) const {
  if (!forward(x)) return false;
  value = values_[static_cast<std::size_t>(root_)];
  reverse(adjoints_);
  gradient.assign(columns_.size(), 0.0);
  for (std::size_t k = 0; k < columns_.size(); ++k) {
    double g = adjoints_[static_cast<std::size_t>(varNodes_[k])];
    if (!std::isfinite(g)) return false;
    gradient[k] = g;
  }
  return true;
}

bool Tape::hessian(const double* x, double scale, std::vector<double>& hessian) const {
  std::size_t n = columns_.size();
  hessian.assign(n * (n + 1) / 2, 0.0);
  if (n == 0 || scale == 0) return true;
  if (!forward(x)) return false;
  // Partials once per node; then one tangent sweep and one reverse sweep per column.
  std::vector<Partials> part(nodes_.size());
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    const TapeNode& t = nodes_[i];
    if (t.op == TapeOp::Const || t.op == TapeOp::Var) continue;
    double va = values_[static_cast<std::size_t>(t.a)];
    double vb = t.b >= 0 ? values_[static_cast<std::size_t>(t.b)] : 0;
    part[i] = partials(t, va, vb, values_[i]);
  }
  reverse(adjoints_);
  tangents_.resize(nodes_.size());
  adjointTangents_.resize(nodes_.size());
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      const TapeNode& t = nodes_[i];
      if (t.op == TapeOp::Const) {
        tangents_[i] = 0;
      } else if (t.op == TapeOp::Var) {
        tangents_[i] = static_cast<std::size_t>(t.b) == k ? 1 : 0;
      } else {
        double ta = tangents_[static_cast<std::size_t>(t.a)];
        double tb = t.b >= 0 ? tangents_[static_cast<std::size_t>(t.b)] : 0;
        tangents_[i] = part[i].da * ta + part[i].db * tb;
      }
    }
    std::fill(adjointTangents_.begin(), adjointTangents_.end(), 0.0);
    for (std::size_t i = nodes_.size(); i-- > 0;) {
      const TapeNode& t = nodes_[i];
      if (t.op == TapeOp::Const || t.op == TapeOp::Var) continue;
      double w = adjoints_[i];
      double wt = adjointTangents_[i];
      if (w == 0 && wt == 0) continue;
      const Partials& p = part[i];
      if (!finite(p)) return false;
      double ta = tangents_[static_cast<std::size_t>(t.a)];
      double tb = t.b >= 0 ? tangents_[static_cast<std::size_t>(t.b)] : 0;
      adjointTangents_[static_cast<std::size_t>(t.a)] += wt * p.da + w * (p.daa * ta + p.dab * tb);
      if (t.b >= 0) {
        adjointTangents_[static_cast<std::size_t>(t.b)] +=
            wt * p.db + w * (p.dab * ta + p.dbb * tb);
      }
    }
    for (std::size_t l = 0; l <= k; ++l) {
      double h = adjointTangents_[static_cast<std::size_t>(varNodes_[l])];
      if (!std::isfinite(h)) return false;
      hessian[k * (k + 1) / 2 + l] = scale * h;
    }
  }
  return true;
}

}  // namespace tarvelin::engine
