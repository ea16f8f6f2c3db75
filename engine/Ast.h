#pragma once
// The parsed program: expressions and statements, with names resolved by the checker.
#include <memory>
#include <string>
#include <vector>

#include "engine/Source.h"
#include "engine/Symbols.h"

namespace tarvelin::engine {

// Deepest nesting of parentheses, function calls, loops and operator chains that the engine
// accepts. The evaluators recurse over the tree, so this bounds their stack use.
constexpr int kMaxNesting = 100;

enum class ExprKind {
  Number,
  Ref,
  Neg,
  Sum,
  Product,
  Binary,
  Not,
  Call,
  Reduce,
  Dollar,
  Card,
  Ord
};

enum class BinaryOp { Pow, Lt, Le, Gt, Ge, Eq, Ne, And, Or, Xor };
enum class Function { Sqr, Sqrt, Abs, Exp, Log, Log10, Power, Min, Max, Sin, Cos };
enum class ReduceOp { Sum, Prod, Smin, Smax };

// What a reference reads or writes.
enum class Attr {
  Value,  // a scalar or parameter value; a variable itself inside an equation
  Level,
  Lower,
  Upper,
  Fixed,
  Marginal,
  ModelStatus,
  SolverStatus,
  ObjectiveValue,
  IterationsUsed,
  SecondsUsed,
  Rows,
  Columns,
  IterationLimit,
  TimeLimit,
  FileAttr,  // .nw .nd .nr .nz .pw .lw .tw .ap: see fileAttr
  Label,     // j.tl, in put statements only
};

// One index of a reference: a set that runs (controlled), or a fixed label.
struct IndexArg {
  bool isLabel = false;
  std::string name;  // set name, or label text
  SourcePos pos;
  Symbol* set = nullptr;  // resolved controlling set (or alias)
  int position = -1;      // resolved label position in the domain
};

struct Expr {
  ExprKind kind = ExprKind::Number;
  SourcePos pos;
  int depth = 1;
  bool hasVariable = false;  // refers to a variable itself (not an attribute)

  double number = 0;
  // Ref, Card, Ord, Reduce: the name written, its attribute and index
  std::string name;
  std::string attrName;
  SourcePos attrPos;
  std::vector<IndexArg> index;  // Ref: zero or one; Reduce: the controlled set
  Symbol* symbol = nullptr;
  Attr attr = Attr::Value;
  std::string fileAttr;
  // operators
  BinaryOp binary = BinaryOp::Pow;
  Function function = Function::Sqr;
  ReduceOp reduce = ReduceOp::Sum;
  std::vector<std::unique_ptr<Expr>> args;
  std::vector<bool> inverse;        // Sum: subtract this term; Product: divide by it
  std::unique_ptr<Expr> condition;  // Reduce: domain condition
};

enum class StmtKind { Assign, EquationDef, Loop, Abort, Display, Option, Solve, Put };

struct PutItem {
  enum class Kind { Value, Text, Label, NewLine } kind = Kind::Value;
  std::unique_ptr<Expr> value;  // Value, Label (a Ref with Attr::Label)
  std::string text;
  int width = -1;     // -1: the file's default
  int decimals = -1;  // -1: the file's default
  SourcePos pos;
};

struct OptionSetting {
  std::string key;
  std::string value;  // lower-case name, or the number text
  double number = 0;
  bool isNumber = false;
  SourcePos pos;
};

struct Stmt {
  StmtKind kind = StmtKind::Assign;
  SourcePos pos;
  // Assign: target (a Ref), condition on the target, value.  EquationDef: lhs rel rhs.
  std::unique_ptr<Expr> target;
  std::unique_ptr<Expr> condition;
  std::unique_ptr<Expr> value;
  std::unique_ptr<Expr> lhs;
  std::unique_ptr<Expr> rhs;
  Relation relation = Relation::Eq;
  Symbol* symbol = nullptr;  // EquationDef: the equation; Solve: the model; Put: the file
  IndexArg domain;           // EquationDef, Loop: the controlled set (Loop: always set)
  bool hasDomain = false;
  std::vector<std::unique_ptr<Stmt>> body;   // Loop
  std::string text;                          // Abort
  std::vector<std::unique_ptr<Expr>> items;  // Display: references
  std::vector<std::string> texts;            // Display: quoted texts
  std::vector<OptionSetting> options;
  // Solve
  Symbol* objective = nullptr;
  bool maximize = false;
  std::string modelType;
  // Put
  std::vector<PutItem> putItems;
  bool close = false;
};

}  // namespace tarvelin::engine
