#pragma once
// Resolves the names of an executable statement against the symbols declared so far, and checks
// what the language requires before anything runs: the attribute fits the symbol, the index fits
// its domain, every set index is controlled by exactly one enclosing sum, loop, equation domain
// or indexed assignment, and variables appear by themselves only inside equations.
// Throws Diagnostic on the first fault of a statement.
#include <vector>

#include "engine/Ast.h"
#include "engine/Program.h"

namespace tarvelin::engine {

class Checker {
 public:
  explicit Checker(Program& program) : program_(program) {}

  void checkStatement(Stmt& stmt);

 private:
  struct Context {
    bool inEquation = false;
    bool inPut = false;
  };
  void checkExpr(Expr& expr, Context context);
  void checkRef(Expr& expr, Context context, bool isTarget);
  void checkIndex(Expr& expr, Symbol& symbol);
  void resolveAttr(Expr& expr, Context context, bool isTarget);
  Symbol* lookup(const std::string& name, SourcePos pos) const;
  Symbol* controlSet(IndexArg& arg);  // resolves and pushes; caller pops
  bool isControlled(const Symbol* set) const;
  void checkBody(std::vector<std::unique_ptr<Stmt>>& body);
  [[noreturn]] void fail(SourcePos pos, std::string message) const;

  Program& program_;
  std::vector<Symbol*> controlled_;
};

}  // namespace tarvelin::engine
