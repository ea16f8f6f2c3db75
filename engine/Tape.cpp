#include "engine/Tape.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <unordered_map>

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

std::uint64_t bitsOf(double v) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

std::size_t hashOf(const TapeNode& n) {
  std::uint64_t h = bitsOf(n.c) * 0x9E3779B97F4A7C15ull;
  h ^= (static_cast<std::uint64_t>(static_cast<unsigned>(n.a)) << 32 | static_cast<unsigned>(n.b)) *
       0xC2B2AE3D27D4EB4Full;
  h ^= static_cast<std::uint64_t>(n.op) * 0x165667B19E3779F9ull;
  h ^= h >> 31;
  h *= 0x94D049BB133111EBull;
  h ^= h >> 29;
  return static_cast<std::size_t>(h);
}

bool sameNode(const TapeNode& x, const TapeNode& y) {
  return x.op == y.op && x.a == y.a && x.b == y.b && bitsOf(x.c) == bitsOf(y.c);
}

bool isLeaf(TapeOp op) {
  return op == TapeOp::Const || op == TapeOp::Var;
}

// Elements whose nodes, counted once per element, exceed this many times the tape's size share
// too much; the tape is then one element.
constexpr std::size_t kSharingLimit = 8;

}  // namespace

int Tape::add(const TapeNode& node) {
  if (table_.size() < 2 * (nodes_.size() + 1)) {
    std::size_t size = 64;
    while (size < 4 * (nodes_.size() + 1)) size *= 2;
    table_.assign(size, 0);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      if (nodes_[i].op == TapeOp::Var) continue;
      std::size_t h = hashOf(nodes_[i]) & (size - 1);
      while (table_[h] != 0) h = (h + 1) & (size - 1);
      table_[h] = static_cast<int>(i) + 1;
    }
  }
  std::size_t mask = table_.size() - 1;
  std::size_t h = hashOf(node) & mask;
  while (table_[h] != 0) {
    int existing = table_[h] - 1;
    if (sameNode(nodes_[static_cast<std::size_t>(existing)], node)) return existing;
    h = (h + 1) & mask;
  }
  nodes_.push_back(node);
  table_[h] = static_cast<int>(nodes_.size());
  prepared_ = false;
  valuesValid_ = false;
  return static_cast<int>(nodes_.size()) - 1;
}

int Tape::constant(double value) {
  return add({TapeOp::Const, -1, -1, value});
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
    prepared_ = false;
    valuesValid_ = false;
  }
  return varNodes_[static_cast<std::size_t>(local)];
}

int Tape::unary(TapeOp op, int a, double c) {
  return add({op, a, -1, c});
}

int Tape::binary(TapeOp op, int a, int b) {
  // Both orders of a commutative operation are one node.
  if ((op == TapeOp::Add || op == TapeOp::Mul) && a > b) std::swap(a, b);
  return add({op, a, b, 0});
}

bool Tape::forward(const double* x) const {
  // The solver asks for value, gradient and Hessian at one point in turn: sweep once.
  if (valuesValid_) {
    bool same = true;
    for (std::size_t k = 0; k < columns_.size() && same; ++k) {
      same = bitsOf(x[columns_[k]]) == bitsOf(valuesAt_[k]);
    }
    if (same) return true;
  }
  valuesValid_ = false;
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
  valuesAt_.resize(columns_.size());
  for (std::size_t k = 0; k < columns_.size(); ++k) valuesAt_[k] = x[columns_[k]];
  valuesValid_ = true;
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
    if (w == 0 || isLeaf(n.op)) continue;
    auto a = static_cast<std::size_t>(n.a);
    auto b = static_cast<std::size_t>(n.b);
    // The frequent operations without their second derivatives.
    switch (n.op) {
      case TapeOp::Add:
        adjoint[a] += w;
        adjoint[b] += w;
        continue;
      case TapeOp::Sub:
        adjoint[a] += w;
        adjoint[b] += w * -1.0;
        continue;
      case TapeOp::Mul:
        adjoint[a] += w * values_[b];
        adjoint[b] += w * values_[a];
        continue;
      case TapeOp::Neg:
        adjoint[a] += w * -1.0;
        continue;
      case TapeOp::Sqr:
        adjoint[a] += w * (2 * values_[a]);
        continue;
      default:
        break;
    }
    double va = values_[a];
    double vb = n.b >= 0 ? values_[b] : 0;
    Partials p = partials(n, va, vb, values_[i]);
    adjoint[a] += w * p.da;
    if (n.b >= 0) adjoint[b] += w * p.db;
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

void Tape::prepare() const {
  if (prepared_) return;
  splitElements();
  // Pattern entries by (k, l): a table while the columns are few, a hash map beyond.
  const std::size_t width = columns_.size();
  const bool dense = width <= 1024;
  std::vector<int> table(dense ? width * width : 0, -1);
  std::unordered_map<std::size_t, int> index;
  for (Element& e : elements_) {
    e.slots.reserve(e.columns.size() * (e.columns.size() + 1) / 2);
    for (std::size_t k = 0; k < e.columns.size(); ++k) {
      for (std::size_t l = 0; l <= k; ++l) {
        std::size_t key =
            static_cast<std::size_t>(e.columns[k]) * width + static_cast<std::size_t>(e.columns[l]);
        int& slot = dense ? table[key] : index.try_emplace(key, -1).first->second;
        if (slot < 0) {
          slot = static_cast<int>(pattern_.size());
          pattern_.emplace_back(e.columns[k], e.columns[l]);
        }
        e.slots.push_back(slot);
      }
    }
  }
  prepared_ = true;
}

namespace {

bool isLinear(const std::vector<TapeNode>& nodes, std::size_t i) {
  const TapeNode& t = nodes[i];
  auto isConst = [&](int j) { return nodes[static_cast<std::size_t>(j)].op == TapeOp::Const; };
  switch (t.op) {
    case TapeOp::Add:
    case TapeOp::Sub:
    case TapeOp::Neg:
      return true;
    case TapeOp::Mul:
      return isConst(t.a) || isConst(t.b);
    case TapeOp::Div:
      return isConst(t.b);
    default:
      return false;
  }
}

// A function of one argument other than negation: phi(r).
bool isFunction(TapeOp op) {
  switch (op) {
    case TapeOp::PowC:
    case TapeOp::PowInt:
    case TapeOp::Sqr:
    case TapeOp::Sqrt:
    case TapeOp::Abs:
    case TapeOp::Exp:
    case TapeOp::Log:
    case TapeOp::Log10:
    case TapeOp::Sin:
    case TapeOp::Cos:
      return true;
    default:
      return false;
  }
}

bool isSquare(const TapeNode& t) {
  return t.op == TapeOp::Sqr || ((t.op == TapeOp::PowC || t.op == TapeOp::PowInt) && t.c == 2);
}

}  // namespace

// Marks the top from the root down, then gathers the elements: merged parts, and one element
// per function of the top for its outer product.
void Tape::splitElements() const {
  elements_.clear();
  top_.clear();
  squares_.clear();
  pattern_.clear();
  if (root_ < 0 || columns_.empty()) return;
  const std::size_t n = nodes_.size();
  enum : char { None, Top, Nonlinear };
  std::vector<char> mark(n, None);
  // Weights through linear operations only (NaN below a function): for hasSquareParts.
  std::vector<double> constantWeight(n, 0.0);
  auto reach = [&](int child, double w) {
    auto c = static_cast<std::size_t>(child);
    if (isLeaf(nodes_[c].op)) return;
    constantWeight[c] += w;
    if (mark[c] == None) {
      mark[c] = isLinear(nodes_, c) || isFunction(nodes_[c].op) ? Top : Nonlinear;
    }
  };
  reach(root_, 1.0);
  const double unknown = std::nan("");
  for (std::size_t i = static_cast<std::size_t>(root_) + 1; i-- > 0;) {
    if (mark[i] != Top) continue;
    top_.push_back(static_cast<int>(i));
    const TapeNode& t = nodes_[i];
    double w = constantWeight[i];
    auto constOf = [&](int j) { return nodes_[static_cast<std::size_t>(j)].c; };
    switch (t.op) {
      case TapeOp::Add:
        reach(t.a, w);
        reach(t.b, w);
        break;
      case TapeOp::Sub:
        reach(t.a, w);
        reach(t.b, -w);
        break;
      case TapeOp::Neg:
        reach(t.a, -w);
        break;
      case TapeOp::Mul:
        if (nodes_[static_cast<std::size_t>(t.a)].op == TapeOp::Const) {
          reach(t.b, w * constOf(t.a));
        } else {
          reach(t.a, w * constOf(t.b));
        }
        break;
      case TapeOp::Div:
        reach(t.a, w / constOf(t.b));
        break;
      default:  // a function
        if (isSquare(t)) squares_.emplace_back(static_cast<int>(i), w);
        reach(t.a, unknown);
        break;
    }
  }

  std::vector<int> seen(n, -1);
  std::vector<int> owner(n, -1);  // the parts element that last took the node
  std::vector<int> stack, found, columns, merged;
  std::size_t total = 0;
  // The nodes and columns below node `from` (itself included), ascending.
  std::vector<int> owners;
  auto gather = [&](int from, int stamp) {
    found.clear();
    columns.clear();
    owners.clear();
    stack.assign(1, from);
    while (!stack.empty()) {
      auto u = static_cast<std::size_t>(stack.back());
      stack.pop_back();
      if (seen[u] == stamp) continue;
      seen[u] = stamp;
      found.push_back(static_cast<int>(u));
      if (owner[u] >= 0) owners.push_back(owner[u]);
      const TapeNode& t = nodes_[u];
      if (t.op == TapeOp::Var) {
        columns.push_back(t.b);
      } else if (t.op != TapeOp::Const) {
        stack.push_back(t.a);
        if (t.b >= 0) stack.push_back(t.b);
      }
    }
    std::sort(found.begin(), found.end());
    std::sort(columns.begin(), columns.end());
  };
  // The parts element holding most of the nodes found, and how many.
  auto mostShared = [&](std::size_t& count) {
    std::sort(owners.begin(), owners.end());
    int best = -1;
    count = 0;
    for (std::size_t a = 0; a < owners.size();) {
      std::size_t b = a;
      while (b < owners.size() && owners[b] == owners[a]) ++b;
      if (b - a > count) {
        count = b - a;
        best = owners[a];
      }
      a = b;
    }
    return best;
  };
  for (std::size_t i = 0; i < n && total <= kSharingLimit * n; ++i) {
    if (mark[i] == Top && isFunction(nodes_[i].op)) {
      gather(nodes_[i].a, static_cast<int>(2 * i));
      if (columns.empty()) continue;
      Element e;
      e.roots.push_back(nodes_[i].a);
      e.outer = static_cast<int>(i);
      e.nodes = found;
      e.columns = columns;
      total += found.size();
      elements_.push_back(std::move(e));
      continue;
    }
    if (mark[i] != Nonlinear) continue;
    gather(static_cast<int>(i), static_cast<int>(2 * i + 1));
    std::size_t shared = 0;
    int target = mostShared(shared);
    if (target >= 0 && 2 * shared >= found.size() &&
        columns == elements_[static_cast<std::size_t>(target)].columns) {
      Element& e = elements_[static_cast<std::size_t>(target)];
      merged.clear();
      std::set_union(e.nodes.begin(), e.nodes.end(), found.begin(), found.end(),
                     std::back_inserter(merged));
      total += merged.size() - e.nodes.size();
      e.nodes.swap(merged);
      e.roots.push_back(static_cast<int>(i));
    } else {
      Element e;
      e.roots.push_back(static_cast<int>(i));
      e.nodes = found;
      e.columns = columns;
      total += found.size();
      target = static_cast<int>(elements_.size());
      elements_.push_back(std::move(e));
    }
    for (int u : found) owner[static_cast<std::size_t>(u)] = target;
  }
  if (total > kSharingLimit * n) {
    // The terms share too much: the whole tape is one part, its root weighted by the scale.
    elements_.clear();
    top_.clear();
    squares_.clear();
    Element e;
    e.roots.push_back(root_);
    for (std::size_t i = 0; i <= static_cast<std::size_t>(root_); ++i) {
      e.nodes.push_back(static_cast<int>(i));
      if (nodes_[i].op == TapeOp::Var) e.columns.push_back(nodes_[i].b);
    }
    std::sort(e.columns.begin(), e.columns.end());
    elements_.push_back(std::move(e));
  }
}

const std::vector<std::pair<int, int>>& Tape::hessianPattern() const {
  prepare();
  return pattern_;
}

bool Tape::hasSquareParts(double scale) const {
  prepare();
  for (const auto& [node, weight] : squares_) {
    if (weight * scale > 0) return true;
  }
  return false;
}

void Tape::computePartials() const {
  const std::size_t n = nodes_.size();
  da_.resize(n);
  db_.resize(n);
  daa_.resize(n);
  dab_.resize(n);
  dbb_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const TapeNode& t = nodes_[i];
    Partials p;
    if (!isLeaf(t.op)) {
      double va = values_[static_cast<std::size_t>(t.a)];
      double vb = t.b >= 0 ? values_[static_cast<std::size_t>(t.b)] : 0;
      p = partials(t, va, vb, values_[i]);
    }
    da_[i] = p.da;
    db_[i] = p.db;
    daa_[i] = p.daa;
    dab_[i] = p.dab;
    dbb_[i] = p.dbb;
  }
}

bool Tape::hessian(const double* x, double scale, std::vector<double>& values,
                   bool gaussNewton) const {
  prepare();
  values.assign(pattern_.size(), 0.0);
  if (pattern_.empty() || scale == 0) return true;
  if (!forward(x)) return false;
  computePartials();
  if (!topWeights(scale, gaussNewton)) return false;
  position_.resize(nodes_.size());
  elementColumn_.resize(columns_.size());
  for (const Element& e : elements_) {
    if (!elementHessian(e, values)) return false;
  }
  return true;
}

// Adjoints through the top, from the root's (the scale) down. Gauss-Newton: a square with a
// positive adjoint passes none to its argument, so the argument's curvature drops out.
bool Tape::topWeights(double scale, bool gaussNewton) const {
  weight_.assign(nodes_.size(), 0.0);
  weight_[static_cast<std::size_t>(root_)] = scale;
  for (int node : top_) {
    auto u = static_cast<std::size_t>(node);
    double w = weight_[u];
    if (w == 0) continue;
    const TapeNode& t = nodes_[u];
    if (!std::isfinite(da_[u]) || !std::isfinite(db_[u]) || !std::isfinite(daa_[u])) return false;
    if (gaussNewton && isSquare(t) && w > 0) continue;
    weight_[static_cast<std::size_t>(t.a)] += w * da_[u];
    if (t.b >= 0) weight_[static_cast<std::size_t>(t.b)] += w * db_[u];
  }
  return true;
}

void Tape::enterElement(const Element& e) const {
  for (std::size_t i = 0; i < e.nodes.size(); ++i) {
    position_[static_cast<std::size_t>(e.nodes[i])] = static_cast<int>(i);
  }
  for (std::size_t j = 0; j < e.columns.size(); ++j) {
    elementColumn_[static_cast<std::size_t>(e.columns[j])] = static_cast<int>(j);
  }
}

// Reverse sweep over the element's nodes from the adjoints seeded in elementAdjoints_.
void Tape::elementReverse(const Element& e) const {
  for (std::size_t i = e.nodes.size(); i-- > 0;) {
    auto u = static_cast<std::size_t>(e.nodes[i]);
    const TapeNode& t = nodes_[u];
    double w = elementAdjoints_[i];
    if (w == 0 || isLeaf(t.op)) continue;
    elementAdjoints_[static_cast<std::size_t>(position_[static_cast<std::size_t>(t.a)])] +=
        w * da_[u];
    if (t.b >= 0) {
      elementAdjoints_[static_cast<std::size_t>(position_[static_cast<std::size_t>(t.b)])] +=
          w * db_[u];
    }
  }
}

// An outer product: one gradient. Parts: forward-over-reverse over the element's nodes, all
// its columns' directions in one sweep, the roots seeded with their adjoints through the top.
bool Tape::elementHessian(const Element& e, std::vector<double>& values) const {
  const std::size_t m = e.nodes.size();
  const std::size_t k = e.columns.size();
  auto pos = [&](int node) {
    return static_cast<std::size_t>(position_[static_cast<std::size_t>(node)]);
  };
  auto varPos = [&](std::size_t j) {
    return pos(varNodes_[static_cast<std::size_t>(e.columns[j])]);
  };

  if (e.outer >= 0) {
    auto u = static_cast<std::size_t>(e.outer);
    const double c = weight_[u] * daa_[u];
    if (c == 0) return true;
    enterElement(e);
    elementAdjoints_.assign(m, 0.0);
    elementAdjoints_[pos(e.roots[0])] = 1;
    elementReverse(e);
    std::size_t slot = 0;
    for (std::size_t a = 0; a < k; ++a) {
      double ga = elementAdjoints_[varPos(a)];
      if (!std::isfinite(ga)) return false;
      for (std::size_t b = 0; b <= a; ++b) {
        values[static_cast<std::size_t>(e.slots[slot++])] += c * ga * elementAdjoints_[varPos(b)];
      }
    }
    return true;
  }

  bool any = false;
  for (int r : e.roots) any = any || weight_[static_cast<std::size_t>(r)] != 0;
  if (!any) return true;
  enterElement(e);
  elementAdjoints_.assign(m, 0.0);
  for (int r : e.roots) elementAdjoints_[pos(r)] += weight_[static_cast<std::size_t>(r)];
  elementReverse(e);

  tangents_.assign(m * k, 0.0);
  for (std::size_t i = 0; i < m; ++i) {
    auto u = static_cast<std::size_t>(e.nodes[i]);
    const TapeNode& t = nodes_[u];
    double* tan = &tangents_[i * k];
    if (t.op == TapeOp::Var) {
      tan[elementColumn_[static_cast<std::size_t>(t.b)]] = 1;
    } else if (t.op != TapeOp::Const) {
      const double* ta = &tangents_[pos(t.a) * k];
      double pa = da_[u];
      if (t.b >= 0) {
        const double* tb = &tangents_[pos(t.b) * k];
        double pb = db_[u];
        for (std::size_t j = 0; j < k; ++j) tan[j] = pa * ta[j] + pb * tb[j];
      } else {
        for (std::size_t j = 0; j < k; ++j) tan[j] = pa * ta[j];
      }
    }
  }
  adjointTangents_.assign(m * k, 0.0);
  for (std::size_t i = m; i-- > 0;) {
    auto u = static_cast<std::size_t>(e.nodes[i]);
    const TapeNode& t = nodes_[u];
    if (isLeaf(t.op)) continue;
    double w = elementAdjoints_[i];
    const double* at = &adjointTangents_[i * k];
    bool active = w != 0;
    for (std::size_t j = 0; j < k && !active; ++j) active = at[j] != 0;
    if (!active) continue;
    if (!std::isfinite(da_[u]) || !std::isfinite(db_[u]) || !std::isfinite(daa_[u]) ||
        !std::isfinite(dab_[u]) || !std::isfinite(dbb_[u])) {
      return false;
    }
    const double* ta = &tangents_[pos(t.a) * k];
    double* ata = &adjointTangents_[pos(t.a) * k];
    if (t.b >= 0) {
      const double* tb = &tangents_[pos(t.b) * k];
      double* atb = &adjointTangents_[pos(t.b) * k];
      double pa = da_[u], pb = db_[u], paa = daa_[u], pab = dab_[u], pbb = dbb_[u];
      for (std::size_t j = 0; j < k; ++j) {
        ata[j] += at[j] * pa + w * (paa * ta[j] + pab * tb[j]);
        atb[j] += at[j] * pb + w * (pab * ta[j] + pbb * tb[j]);
      }
    } else {
      double pa = da_[u], paa = daa_[u];
      for (std::size_t j = 0; j < k; ++j) ata[j] += at[j] * pa + w * paa * ta[j];
    }
  }
  std::size_t slot = 0;
  for (std::size_t a = 0; a < k; ++a) {
    const double* row = &adjointTangents_[varPos(a) * k];
    for (std::size_t b = 0; b <= a; ++b) {
      double h = row[b];
      if (!std::isfinite(h)) return false;
      values[static_cast<std::size_t>(e.slots[slot++])] += h;
    }
  }
  return true;
}

}  // namespace tarvelin::engine
