#include "engine/Nlp.h"

#include <IpIpoptApplication.hpp>
#include <IpSolveStatistics.hpp>
#include <IpTNLP.hpp>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <unordered_map>

namespace tarvelin::engine {
namespace {

constexpr double kNoBound = 1e19;
constexpr double kIpoptInf = 1e20;

double solverBound(double value) {
  if (value <= -kNoBound) return -kIpoptInf;
  if (value >= kNoBound) return kIpoptInf;
  return value;
}

// The problem as Ipopt sees it. Solver variable i is model column solverColumns_[i]; tapes index
// the full column vector, which is refilled from Ipopt's x on every call.
class InstanceNlp : public Ipopt::TNLP {
 public:
  explicit InstanceNlp(ModelInstance& m) : m_(m), full_(m.columns.size(), 0.0) {
    columnToSolver_.assign(m.columns.size(), -1);
    for (std::size_t c = 0; c < m.columns.size(); ++c) {
      if (m.objectiveEliminated && static_cast<int>(c) == m.objectiveColumn) continue;
      columnToSolver_[c] = static_cast<int>(solverColumns_.size());
      solverColumns_.push_back(static_cast<int>(c));
    }
    for (const Row& row : m.rows) jacobianNonzeros_ += static_cast<int>(row.tape.columns().size());
    if (m.objectiveEliminated) {
      addHessianPattern(m.objectiveTape, objectiveHessian_);
      squares_ = m.objectiveTape.hasSquareParts(m.maximize ? -1 : 1);
    }
    rowHessian_.resize(m.rows.size());
    for (std::size_t r = 0; r < m.rows.size(); ++r)
      addHessianPattern(m.rows[r].tape, rowHessian_[r]);
  }

  int jacobianNonzeros() const { return jacobianNonzeros_; }
  int solverColumnCount() const { return static_cast<int>(solverColumns_.size()); }
  Ipopt::SolverReturn status() const { return status_; }
  bool finalized() const { return finalized_; }
  const std::vector<double>& x() const { return x_; }
  const std::vector<double>& lowerMultipliers() const { return zL_; }
  const std::vector<double>& upperMultipliers() const { return zU_; }
  const std::vector<double>& rowMultipliers() const { return lambda_; }
  const std::vector<double>& rowValues() const { return g_; }

  bool get_nlp_info(Ipopt::Index& n, Ipopt::Index& m, Ipopt::Index& nnzJac, Ipopt::Index& nnzH,
                    IndexStyleEnum& style) override {
    n = solverColumnCount();
    m = static_cast<Ipopt::Index>(m_.rows.size());
    nnzJac = jacobianNonzeros_;
    nnzH = static_cast<Ipopt::Index>(hessianEntries_.size());
    style = C_STYLE;
    return true;
  }

  bool get_bounds_info(Ipopt::Index n, Ipopt::Number* xl, Ipopt::Number* xu, Ipopt::Index m,
                       Ipopt::Number* gl, Ipopt::Number* gu) override {
    for (Ipopt::Index i = 0; i < n; ++i) {
      const VarValue& v = value(i);
      xl[i] = solverBound(v.lower);
      xu[i] = solverBound(v.upper);
    }
    for (Ipopt::Index r = 0; r < m; ++r) {
      const Row& row = m_.rows[static_cast<std::size_t>(r)];
      gl[r] = solverBound(row.lower);
      gu[r] = solverBound(row.upper);
    }
    return true;
  }

  bool get_starting_point(Ipopt::Index n, bool initX, Ipopt::Number* x, bool initZ, Ipopt::Number*,
                          Ipopt::Number*, Ipopt::Index, bool initLambda, Ipopt::Number*) override {
    if (initZ || initLambda) return false;
    if (initX) {
      for (Ipopt::Index i = 0; i < n; ++i) x[i] = value(i).level;
    }
    return true;
  }

  bool eval_f(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Number& f) override {
    load(x);
    double value = 0;
    if (m_.objectiveEliminated) {
      if (!m_.objectiveTape.evaluate(full_.data(), value)) return false;
    } else {
      value = full_[static_cast<std::size_t>(m_.objectiveColumn)];
    }
    f = m_.maximize ? -value : value;
    return true;
  }

  bool eval_grad_f(Ipopt::Index n, const Ipopt::Number* x, bool, Ipopt::Number* grad) override {
    load(x);
    std::fill(grad, grad + n, 0.0);
    double sense = m_.maximize ? -1 : 1;
    if (!m_.objectiveEliminated) {
      grad[columnToSolver_[static_cast<std::size_t>(m_.objectiveColumn)]] = sense;
      return true;
    }
    double value = 0;
    if (!m_.objectiveTape.gradient(full_.data(), value, scratch_)) return false;
    const std::vector<int>& cols = m_.objectiveTape.columns();
    for (std::size_t k = 0; k < cols.size(); ++k) {
      grad[columnToSolver_[static_cast<std::size_t>(cols[k])]] += sense * scratch_[k];
    }
    return true;
  }

  bool eval_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index m,
              Ipopt::Number* g) override {
    load(x);
    for (Ipopt::Index r = 0; r < m; ++r) {
      if (!m_.rows[static_cast<std::size_t>(r)].tape.evaluate(full_.data(), g[r])) return false;
    }
    return true;
  }

  bool eval_jac_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index, Ipopt::Index,
                  Ipopt::Index* iRow, Ipopt::Index* jCol, Ipopt::Number* values) override {
    std::size_t k = 0;
    if (!values) {
      for (std::size_t r = 0; r < m_.rows.size(); ++r) {
        for (int c : m_.rows[r].tape.columns()) {
          iRow[k] = static_cast<Ipopt::Index>(r);
          jCol[k] = columnToSolver_[static_cast<std::size_t>(c)];
          ++k;
        }
      }
      return true;
    }
    load(x);
    for (const Row& row : m_.rows) {
      double value = 0;
      if (!row.tape.gradient(full_.data(), value, scratch_)) return false;
      for (double d : scratch_) values[k++] = d;
    }
    return true;
  }

  bool eval_h(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Number objFactor, Ipopt::Index,
              const Ipopt::Number* lambda, bool, Ipopt::Index, Ipopt::Index* iRow,
              Ipopt::Index* jCol, Ipopt::Number* values) override {
    if (!values) {
      for (std::size_t k = 0; k < hessianEntries_.size(); ++k) {
        iRow[k] = hessianEntries_[k].first;
        jCol[k] = hessianEntries_[k].second;
      }
      return true;
    }
    load(x);
    std::fill(values, values + hessianEntries_.size(), 0.0);
    if (m_.objectiveEliminated) {
      double scale = objFactor * (m_.maximize ? -1 : 1);
      if (!addHessian(m_.objectiveTape, scale, objectiveHessian_, values, gaussNewton_)) {
        return false;
      }
    }
    for (std::size_t r = 0; r < m_.rows.size(); ++r) {
      if (!addHessian(m_.rows[r].tape, lambda[r], rowHessian_[r], values)) return false;
    }
    return true;
  }

  // The exact Hessian first. Where Ipopt had to regularise it (not convex there: an iteration
  // then crawls), squares in the objective get the Gauss-Newton term alone, which is positive
  // semidefinite, for as long as the objective keeps falling by a fifth or more per iteration;
  // then the exact Hessian again, so the solve ends with Newton steps at a true local optimum.
  bool intermediate_callback(Ipopt::AlgorithmMode mode, Ipopt::Index, Ipopt::Number objective,
                             Ipopt::Number, Ipopt::Number, Ipopt::Number, Ipopt::Number,
                             Ipopt::Number regularisation, Ipopt::Number, Ipopt::Number,
                             Ipopt::Index, const Ipopt::IpoptData*,
                             Ipopt::IpoptCalculatedQuantities*) override {
    if (!squares_) return true;
    if (mode != Ipopt::RegularMode) {
      gaussNewton_ = false;
    } else if (gaussNewton_) {
      gaussNewton_ = previous_ - objective >= 0.2 * std::fabs(previous_);
    } else {
      gaussNewton_ = regularisation > 0;
    }
    previous_ = objective;
    return true;
  }

  void finalize_solution(Ipopt::SolverReturn status, Ipopt::Index n, const Ipopt::Number* x,
                         const Ipopt::Number* zL, const Ipopt::Number* zU, Ipopt::Index m,
                         const Ipopt::Number* g, const Ipopt::Number* lambda, Ipopt::Number,
                         const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {
    status_ = status;
    finalized_ = true;
    x_.assign(x, x + n);
    zL_.assign(zL, zL + n);
    zU_.assign(zU, zU + n);
    g_.assign(g, g + m);
    lambda_.assign(lambda, lambda + m);
  }

  const VarValue& bounds(int i) { return value(i); }

  // The full column vector at a solver point (the eliminated objective column left at 0).
  const std::vector<double>& columnsAt(const std::vector<double>& x) {
    load(x.data());
    return full_;
  }

 private:
  VarValue& value(Ipopt::Index i) {
    const Column& c =
        m_.columns[static_cast<std::size_t>(solverColumns_[static_cast<std::size_t>(i)])];
    return c.variable->vars[static_cast<std::size_t>(c.position)];
  }

  void load(const Ipopt::Number* x) {
    for (std::size_t i = 0; i < solverColumns_.size(); ++i) {
      full_[static_cast<std::size_t>(solverColumns_[i])] = x[i];
    }
  }

  // Maps each entry of a tape's Hessian pattern to a solver Hessian entry.
  void addHessianPattern(const Tape& tape, std::vector<int>& slots) {
    const std::vector<int>& cols = tape.columns();
    for (const auto& [k, l] : tape.hessianPattern()) {
      int a = columnToSolver_[static_cast<std::size_t>(cols[static_cast<std::size_t>(k)])];
      int b = columnToSolver_[static_cast<std::size_t>(cols[static_cast<std::size_t>(l)])];
      std::pair<int, int> entry = a >= b ? std::make_pair(a, b) : std::make_pair(b, a);
      long long key =
          static_cast<long long>(entry.first) * static_cast<long long>(full_.size()) + entry.second;
      auto [it, inserted] = hessianIndex_.emplace(key, static_cast<int>(hessianEntries_.size()));
      if (inserted) hessianEntries_.push_back(entry);
      slots.push_back(it->second);
    }
  }

  bool addHessian(const Tape& tape, double scale, const std::vector<int>& slots,
                  Ipopt::Number* values, bool gaussNewton = false) {
    if (scale == 0 || slots.empty()) return true;
    if (!tape.hessian(full_.data(), scale, scratch_, gaussNewton)) return false;
    for (std::size_t k = 0; k < slots.size(); ++k) values[slots[k]] += scratch_[k];
    return true;
  }

  ModelInstance& m_;
  std::vector<double> full_;
  std::vector<int> solverColumns_;
  std::vector<int> columnToSolver_;
  int jacobianNonzeros_ = 0;
  std::unordered_map<long long, int> hessianIndex_;
  std::vector<std::pair<int, int>> hessianEntries_;
  std::vector<int> objectiveHessian_;
  std::vector<std::vector<int>> rowHessian_;
  std::vector<double> scratch_;
  bool squares_ = false;
  bool gaussNewton_ = false;
  double previous_ = 0;
  Ipopt::SolverReturn status_ = Ipopt::INTERNAL_ERROR;
  bool finalized_ = false;
  std::vector<double> x_, zL_, zU_, g_, lambda_;
};

double rowViolation(const Row& row, double g) {
  return std::max({0.0, row.lower - g, g - row.upper});
}

}  // namespace

SolveSummary solveWithIpopt(ModelInstance& instance, const SolverLimits& limits) {
  auto start = std::chrono::steady_clock::now();
  SolveSummary summary;
  summary.projectedLevels = instance.projectedLevels;
  summary.objectiveEliminated = instance.objectiveEliminated;
  Ipopt::SmartPtr<InstanceNlp> nlp = new InstanceNlp(instance);
  summary.rows = static_cast<int>(instance.rows.size());
  summary.columns = nlp->solverColumnCount();
  summary.nonzeros = nlp->jacobianNonzeros();

  Ipopt::SmartPtr<Ipopt::IpoptApplication> app = IpoptApplicationFactory();
  app->Options()->SetIntegerValue("print_level", limits.printLog ? 5 : 0);
  app->Options()->SetStringValue("sb", "yes");
  // Bounds exactly as written, so the objective belongs to a point within them.
  app->Options()->SetNumericValue("bound_relax_factor", 0.0);
  app->Options()->SetStringValue("hessian_approximation", "exact");
  app->Options()->SetStringValue("mu_strategy", "adaptive");
  app->Options()->SetIntegerValue("max_iter",
                                  static_cast<int>(std::min(limits.iterationLimit, 2e9)));
  app->Options()->SetNumericValue("max_cpu_time", std::max(limits.timeLimit, 1e-3));
  Ipopt::ApplicationReturnStatus status = app->Initialize();
  if (status == Ipopt::Solve_Succeeded)
    status = app->OptimizeTNLP(Ipopt::SmartPtr<Ipopt::TNLP>(nlp));
  summary.ipoptStatus = ipoptStatusName(status);
  if (Ipopt::IsValid(app->Statistics())) summary.iterations = app->Statistics()->IterationCount();

  bool feasible = false;
  if (nlp->finalized() && nlp->x().size() == static_cast<std::size_t>(summary.columns)) {
    feasible = true;
    for (std::size_t r = 0; r < instance.rows.size(); ++r) {
      if (rowViolation(instance.rows[r], nlp->rowValues()[r]) > 1e-6) feasible = false;
    }
  }
  mapIpoptStatus(status, feasible, summary.solverStatus, summary.modelStatus);
  summary.solutionReturned = nlp->finalized() && summary.modelStatus != 13;

  if (summary.solutionReturned) {
    // Levels and marginals in the language's sense: the marginal is the objective's rate of
    // change, so a minimisation gives zL - zU and the row marginal -lambda.
    double sense = instance.maximize ? -1 : 1;
    // An interior point method stops a hair inside an active bound; report the bound itself.
    std::vector<double> x = nlp->x();
    for (std::size_t i = 0; i < x.size(); ++i) {
      const VarValue& v = nlp->bounds(static_cast<int>(i));
      auto near = [&](double bound) {
        return std::fabs(bound) < kNoBound &&
               std::fabs(x[i] - bound) <= 1e-9 * (1 + std::fabs(bound));
      };
      if (near(v.lower)) x[i] = v.lower;
      if (near(v.upper)) x[i] = v.upper;
    }
    std::vector<double> full = nlp->columnsAt(x);
    for (std::size_t c = 0, i = 0; c < instance.columns.size(); ++c) {
      const Column& col = instance.columns[c];
      VarValue& v = col.variable->vars[static_cast<std::size_t>(col.position)];
      if (instance.objectiveEliminated && static_cast<int>(c) == instance.objectiveColumn) continue;
      v.level = x[i];
      // Only an active bound has a marginal; inside its bounds the interior point method leaves
      // a tiny multiplier of the order of its barrier parameter.
      bool active = x[i] == v.lower || x[i] == v.upper;
      v.marginal = active ? sense * (nlp->lowerMultipliers()[i] - nlp->upperMultipliers()[i]) : 0;
      ++i;
    }
    for (std::size_t r = 0; r < instance.rows.size(); ++r) {
      const Row& row = instance.rows[r];
      EqValue& e = row.equation->eqs[static_cast<std::size_t>(row.position)];
      e.level = nlp->rowValues()[r];
      e.marginal = -sense * nlp->rowMultipliers()[r];
    }
    const Column& zc = instance.columns[static_cast<std::size_t>(instance.objectiveColumn)];
    VarValue& z = zc.variable->vars[static_cast<std::size_t>(zc.position)];
    if (instance.objectiveEliminated) {
      double f = 0;
      if (instance.objectiveTape.evaluate(full.data(), f)) z.level = f;
      z.marginal = 0;
      EqValue& e = instance.objectiveEquation
                       ->eqs[static_cast<std::size_t>(instance.objectiveEquationPosition)];
      e.level = 0;
      e.marginal = instance.objectiveSign;
    }
    summary.objective = z.level;
  }
  summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return summary;
}

}  // namespace tarvelin::engine
