#pragma once
// The symbols a model declares (sets, parameters, variables, equations, models, files) and the
// labels that sets hold. Labels are case-insensitive; the first spelling is kept for output.
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarvelin::engine {

struct Stmt;
struct PutFile;

constexpr double kInf = std::numeric_limits<double>::infinity();

class LabelTable {
 public:
  int intern(const std::string& label);
  int find(const std::string& label) const;  // -1 when unknown
  const std::string& name(int id) const { return names_[static_cast<std::size_t>(id)]; }

 private:
  std::vector<std::string> names_;
  std::unordered_map<std::string, int> ids_;
};

enum class SymbolKind { Set, Parameter, Variable, Equation, Model, File };
enum class VarKind { Free, Positive, Negative };
enum class Relation { Eq, Le, Ge };

struct VarValue {
  double level = 0;
  double lower = -kInf;
  double upper = kInf;
  double marginal = 0;
};

struct EqValue {
  double level = 0;
  double marginal = 0;
};

struct ModelAttributes {
  double modelStatus = 0;
  double solverStatus = 0;
  double objectiveValue = 0;
  double iterationsUsed = 0;
  double secondsUsed = 0;
  double rows = 0;
  double columns = 0;
  double iterationLimit = 2e9;
  double timeLimit = 1000;
};

struct Symbol {
  SymbolKind kind = SymbolKind::Set;
  std::string name;  // as declared
  std::string text;  // explanatory text
  int line = 0;
  int id = 0;
  Symbol* aliasOf = nullptr;  // an alias names the set it stands for
  Symbol* domain = nullptr;   // the one set a parameter, variable or equation is indexed over

  // Set
  std::vector<int> elements;
  std::unordered_map<int, int> positions;  // label id -> position
  // Parameter (one value for a scalar)
  std::vector<double> values;
  bool isScalarDeclaration = false;
  // Variable
  VarKind varKind = VarKind::Free;
  std::vector<VarValue> vars;
  // Equation
  const Stmt* definition = nullptr;
  std::vector<EqValue> eqs;
  // Model
  bool allEquations = false;
  std::vector<Symbol*> equations;
  ModelAttributes model;
  // File
  std::shared_ptr<PutFile> file;

  const Symbol* root() const { return aliasOf ? aliasOf : this; }
  Symbol* root() { return aliasOf ? aliasOf : this; }
  std::size_t size() const { return domain ? domain->elements.size() : 1; }
};

const char* symbolKindName(SymbolKind kind);

class SymbolTable {
 public:
  Symbol* find(const std::string& lowerName) const;
  Symbol* add(SymbolKind kind, const std::string& name, const std::string& lowerName, int line);
  int count() const { return static_cast<int>(symbols_.size()); }
  const std::vector<std::unique_ptr<Symbol>>& all() const { return symbols_; }
  LabelTable& labels() { return labels_; }
  const LabelTable& labels() const { return labels_; }

 private:
  std::vector<std::unique_ptr<Symbol>> symbols_;
  std::unordered_map<std::string, Symbol*> byName_;
  LabelTable labels_;
};

// Adds a label to a set; false when it is already there.
bool addElement(Symbol& set, int label);

}  // namespace tarvelin::engine
