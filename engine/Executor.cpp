#include "engine/Executor.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "engine/ModelInstance.h"
#include "engine/Nlp.h"
#include "engine/PutFile.h"

namespace tarvelin::engine {
namespace {

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool isWhole(double v) {
  return std::isfinite(v) && v == std::floor(v);
}

}  // namespace

Executor::Executor(Program& program, Listing& listing, std::ostream& log, RunOptions options)
    : program_(program), listing_(listing), log_(log), options_(options), env_(program.symbols) {}

std::string Executor::where(const Stmt& stmt) const {
  return program_.source.name() + "(" + std::to_string(stmt.pos.line) + ")";
}

void Executor::run() {
  for (const auto& stmt : program_.statements) execute(*stmt);
}

void Executor::execute(const Stmt& stmt) {
  switch (stmt.kind) {
    case StmtKind::Assign:
      assign(stmt);
      break;
    case StmtKind::EquationDef:
      break;  // used when a model is generated
    case StmtKind::Loop:
      loop(stmt);
      break;
    case StmtKind::Abort:
      abort(stmt);
      break;
    case StmtKind::Display:
      display(stmt);
      break;
    case StmtKind::Option:
      option(stmt);
      break;
    case StmtKind::Solve:
      solve(stmt);
      break;
    case StmtKind::Put:
      put(stmt);
      break;
  }
}

void Executor::assign(const Stmt& stmt) {
  const Expr& target = *stmt.target;
  if (!target.index.empty() && !target.index[0].isLabel && target.symbol->domain) {
    const Symbol* set = target.index[0].set;
    int& slot = env_.position[static_cast<std::size_t>(set->id)];
    if (slot < 0) {
      std::size_t count = set->root()->elements.size();
      for (std::size_t p = 0; p < count; ++p) {
        slot = static_cast<int>(p);
        assignOne(stmt);
      }
      slot = -1;
      return;
    }
  }
  assignOne(stmt);
}

void Executor::assignOne(const Stmt& stmt) {
  if (stmt.condition && evaluate(*stmt.condition, env_) == 0) return;
  double value = evaluate(*stmt.value, env_);
  const Expr& target = *stmt.target;
  Symbol& symbol = *target.symbol;
  std::size_t position = static_cast<std::size_t>(referencePosition(target, env_));
  switch (symbol.kind) {
    case SymbolKind::Parameter:
      symbol.values[position] = value;
      return;
    case SymbolKind::Variable: {
      VarValue& v = symbol.vars[position];
      switch (target.attr) {
        case Attr::Level:
          v.level = value;
          break;
        case Attr::Lower:
          v.lower = value;
          break;
        case Attr::Upper:
          v.upper = value;
          break;
        case Attr::Fixed:
          v.level = v.lower = v.upper = value;
          break;
        default:
          break;
      }
      return;
    }
    case SymbolKind::Model:
      if (target.attr == Attr::IterationLimit) symbol.model.iterationLimit = value;
      if (target.attr == Attr::TimeLimit) symbol.model.timeLimit = value;
      return;
    case SymbolKind::File:
      setFileAttribute(*symbol.file, target.fileAttr, value, target.pos);
      return;
    default:
      return;
  }
}

void Executor::setFileAttribute(PutFile& file, const std::string& name, double value,
                                SourcePos pos) {
  auto require = [&](bool ok, const char* rule) {
    if (!ok) throw ExecError{pos, "." + name + " = " + formatNumber(value) + ": " + rule};
  };
  if (name == "nw" || name == "lw" || name == "tw") {
    require(isWhole(value) && value >= 0 && value <= 255, "must be a whole number from 0 to 255");
  } else if (name == "nd") {
    require(isWhole(value) && value >= 0 && value <= 15, "must be a whole number from 0 to 15");
  } else if (name == "nr") {
    require(value == 0 || value == 1 || value == 2,
            "must be 0 (F or E), 1 (fixed) or 2 (scientific)");
  } else if (name == "nz") {
    require(value >= 0 && std::isfinite(value), "must not be negative");
  } else if (name == "pw") {
    require(isWhole(value) && value >= 1 && value <= 32767,
            "must be a whole number from 1 to 32767");
  } else if (name == "ap") {
    require(value == 0 || value == 1, "must be 0 or 1");
  }
  if (name == "nw") file.nw = value;
  if (name == "nd") file.nd = value;
  if (name == "nr") file.nr = value;
  if (name == "nz") file.nz = value;
  if (name == "pw") file.pw = value;
  if (name == "lw") file.lw = value;
  if (name == "tw") file.tw = value;
  if (name == "ap") file.ap = value;
}

void Executor::loop(const Stmt& stmt) {
  const Symbol* set = stmt.domain.set;
  int& slot = env_.position[static_cast<std::size_t>(set->id)];
  env_.loops.push_back(set);
  std::size_t count = set->root()->elements.size();
  for (std::size_t p = 0; p < count; ++p) {
    slot = static_cast<int>(p);
    if (stmt.condition && evaluate(*stmt.condition, env_) == 0) continue;
    for (const auto& inner : stmt.body) execute(*inner);
  }
  slot = -1;
  env_.loops.pop_back();
}

void Executor::abort(const Stmt& stmt) {
  if (stmt.condition && evaluate(*stmt.condition, env_) == 0) return;
  throw ExecError{stmt.pos, stmt.text.empty() ? std::string("(no text)") : stmt.text, true};
}

void Executor::display(const Stmt& stmt) {
  const std::string head = "---- " + std::to_string(stmt.pos.line) + " ";
  for (std::size_t i = 0; i < stmt.items.size(); ++i) {
    const Expr* item = stmt.items[i].get();
    if (!item) {
      listing_.line(head + stmt.texts[i]);
      continue;
    }
    const Symbol& s = *item->symbol;
    auto label = [&](std::size_t p) {
      return program_.symbols.labels().name(s.root()->elements[p]);
    };
    if (!item->attrName.empty() && s.kind != SymbolKind::Variable) {
      // An attribute of a model, file or equation: one value per element.
      for (std::size_t p = 0; p < s.size(); ++p) {
        std::string name = s.name + "." + item->attrName;
        if (s.domain) name += "('" + program_.symbols.labels().name(s.domain->elements[p]) + "')";
        listing_.line(head + name + " = " +
                      formatNumber(readAttribute(s, item->attr, item->fileAttr, p)));
      }
      continue;
    }
    switch (s.kind) {
      case SymbolKind::Set: {
        std::string line = head + "SET " + s.name + " =";
        for (std::size_t p = 0; p < s.root()->elements.size(); ++p) {
          line += ' ';
          line += label(p);
        }
        listing_.line(line);
        break;
      }
      case SymbolKind::Parameter:
        if (!s.domain) {
          listing_.line(head + "PARAMETER " + s.name + " = " + formatNumber(s.values[0]));
        } else {
          listing_.line(head + "PARAMETER " + s.name);
          for (std::size_t p = 0; p < s.values.size(); ++p) {
            if (s.values[p] != 0) {
              listing_.line("    " + program_.symbols.labels().name(s.domain->elements[p]) + " " +
                            formatNumber(s.values[p]));
            }
          }
        }
        break;
      case SymbolKind::Variable:
        listing_.variables(program_.symbols, {&s});
        break;
      default:
        listing_.line(head + symbolKindName(s.kind) + " " + s.name);
        break;
    }
  }
}

void Executor::option(const Stmt& stmt) {
  for (const OptionSetting& o : stmt.options) {
    if (o.key == "nlp") requestedSolver_ = upper(o.value);
    if (o.key == "iterlim") iterationLimit_ = o.number;
    if (o.key == "reslim") timeLimit_ = o.number;
  }
}

void Executor::solve(const Stmt& stmt) {
  Symbol& model = *stmt.symbol;
  log_ << "--- " << where(stmt) << " Generating NLP model " << model.name << "\n";
  ModelInstance instance = generateModel(stmt, env_);
  SolverLimits limits;
  limits.iterationLimit =
      std::min({iterationLimit_, model.model.iterationLimit, options_.maxIterations});
  limits.timeLimit = std::min(timeLimit_, model.model.timeLimit);
  limits.printLog = options_.printSolverLog;
  std::string asked =
      requestedSolver_.empty() ? "no NLP solver named" : requestedSolver_ + " requested";
  bool isIpopt = requestedSolver_ == "IPOPT" || requestedSolver_ == "IPOPTH";
  std::string solverLine =
      "--- Solver: " + asked + "; " +
      (requestedSolver_.empty() || isIpopt
           ? std::string("Ipopt solves the model.")
           : "this engine has no " + requestedSolver_ + ", so Ipopt solves the model instead.");
  std::size_t generatedRows = instance.rows.size() + (instance.objectiveEliminated ? 1 : 0);
  log_ << "--- " << where(stmt) << " " << generatedRows << " rows, " << instance.columns.size()
       << " columns\n";
  if (instance.objectiveEliminated) {
    log_ << "--- The objective " << stmt.objective->name << " is defined by equation "
         << instance.objectiveEquation->name << "; Ipopt minimises its right-hand side directly\n";
  }
  log_ << "--- " << instance.projectedLevels << " level(s) projected onto their bounds\n";
  log_ << solverLine << "\n";
  log_.flush();
  listing_.line(solverLine);

  SolveSummary summary = solveWithIpopt(instance, limits);
  summary.modelName = model.name;
  summary.objectiveName = stmt.objective->name;
  summary.maximize = stmt.maximize;
  summary.requestedSolver = requestedSolver_;
  summary.line = stmt.pos.line;

  ModelAttributes& attrs = model.model;
  attrs.modelStatus = summary.modelStatus;
  attrs.solverStatus = summary.solverStatus;
  attrs.iterationsUsed = summary.iterations;
  attrs.secondsUsed = summary.seconds;
  attrs.rows = static_cast<double>(generatedRows);
  attrs.columns = static_cast<double>(instance.columns.size());
  if (summary.solutionReturned) attrs.objectiveValue = summary.objective;

  log_ << "\n";
  for (const std::string& line : solveSummaryLines(summary)) log_ << line << "\n";
  log_ << "\n";
  listing_.solveSummary(summary);
  std::vector<const Symbol*> variables;
  for (const Column& c : instance.columns) {
    if (variables.empty() || variables.back() != c.variable) {
      bool seen = false;
      for (const Symbol* v : variables) seen = seen || v == c.variable;
      if (!seen) variables.push_back(c.variable);
    }
  }
  listing_.variables(program_.symbols, variables);
  solves_.push_back(summary);
}

void Executor::openFile(PutFile& file) {
  if (file.stream) return;
  bool append = file.ap == 1;
  if (options_.writeFiles) {
    auto mode = std::ios::binary | (append ? std::ios::app : std::ios::trunc);
    file.stream = std::make_unique<std::ofstream>(file.path, mode);
    if (!*file.stream) {
      file.stream.reset();
      throw ExecError{{}, "cannot open put file '" + file.path + "' for writing"};
    }
  } else {
    file.stream = std::make_unique<std::ofstream>();  // never opened: marks the file as open
    if (!append) file.memory.clear();
  }
  file.opened = true;
}

void Executor::append(PutFile& file, const std::string& text) {
  if (!file.line.empty() && file.line.size() + text.size() > static_cast<std::size_t>(file.pw)) {
    // Past the page width the item starts a new line.
    file.line += putLineEnd();
    if (options_.writeFiles) {
      *file.stream << file.line;
    } else {
      file.memory += file.line;
    }
    file.line.clear();
  }
  file.line += text;
}

void Executor::writeItem(PutFile& file, const PutItem& item) {
  switch (item.kind) {
    case PutItem::Kind::NewLine: {
      std::string line = file.line + putLineEnd();
      if (options_.writeFiles) {
        *file.stream << line;
      } else {
        file.memory += line;
      }
      file.line.clear();
      return;
    }
    case PutItem::Kind::Text:
      append(file,
             formatPutText(item.text, item.width >= 0 ? item.width : static_cast<int>(file.tw)));
      return;
    case PutItem::Kind::Label: {
      const Symbol* set = item.value->symbol;
      int pos = env_.position[static_cast<std::size_t>(set->id)];
      const std::string& label =
          program_.symbols.labels().name(set->root()->elements[static_cast<std::size_t>(pos)]);
      append(file, formatPutText(label, item.width >= 0 ? item.width : static_cast<int>(file.lw)));
      return;
    }
    case PutItem::Kind::Value: {
      double value = evaluate(*item.value, env_);
      int width = item.width >= 0 ? item.width : static_cast<int>(file.nw);
      int decimals = item.decimals >= 0 ? std::min(item.decimals, 15) : static_cast<int>(file.nd);
      append(file, formatPutNumber(value, width, decimals, static_cast<int>(file.nr), file.nz));
      return;
    }
  }
}

void Executor::closeFile(PutFile& file) {
  if (!file.stream) return;
  if (options_.writeFiles) {
    *file.stream << file.line;
    file.stream->close();
  } else {
    file.memory += file.line;
  }
  file.line.clear();
  file.stream.reset();
}

void Executor::put(const Stmt& stmt) {
  if (stmt.symbol) currentFile_ = stmt.symbol;
  if (!currentFile_) {
    throw ExecError{stmt.pos, "no put file is selected (write 'put <file>;' first)"};
  }
  PutFile& file = *currentFile_->file;
  try {
    openFile(file);
  } catch (ExecError& e) {
    e.pos = stmt.pos;
    throw;
  }
  for (const PutItem& item : stmt.putItems) writeItem(file, item);
  if (stmt.close) closeFile(file);
  if (options_.writeFiles && file.stream && !*file.stream) {
    throw ExecError{stmt.pos, "writing to put file '" + file.path + "' failed"};
  }
}

void Executor::finish() {
  for (const auto& symbol : program_.symbols.all()) {
    if (symbol->kind == SymbolKind::File && symbol->file) closeFile(*symbol->file);
  }
}

}  // namespace tarvelin::engine
