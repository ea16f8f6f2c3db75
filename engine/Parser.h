#pragma once
// Recursive-descent parser over the tokens of one model file (grammar: Token.h). Declarations
// enter the symbol table with their data as they are parsed; executable statements go through
// the checker, so names are resolved in declaration order as the language requires.
#include <string>
#include <vector>

#include "engine/Checker.h"
#include "engine/Program.h"
#include "engine/Token.h"

namespace tarvelin::engine {

class Parser {
 public:
  Parser(Program& program, std::vector<Token> tokens);
  void parseProgram();

 private:
  friend class DepthGuard;
  // Statements (Parser.cpp)
  std::unique_ptr<Stmt> parseStatement(bool insideLoop);
  std::unique_ptr<Stmt> parseAssignOrEquation();
  std::unique_ptr<Stmt> parseEquationDef(Symbol* equation, const Token& name);
  std::unique_ptr<Stmt> parseLoop(const Token& keyword);
  std::unique_ptr<Stmt> parseAbort(const Token& keyword);
  std::unique_ptr<Stmt> parseDisplay(const Token& keyword);
  std::unique_ptr<Stmt> parseOption(const Token& keyword);
  std::unique_ptr<Stmt> parseSolve(const Token& keyword);
  std::unique_ptr<Stmt> parsePut(const Token& keyword, bool close);
  void parseDomain(IndexArg& domain, std::unique_ptr<Expr>& condition);
  void skipToStatementEnd();

  // Declarations (ParserDecl.cpp)
  bool parseDeclaration(const Token& keyword, bool insideLoop);
  void declareSets();
  void declareAlias();
  void declareParameters(bool scalars);
  void declareVariables(VarKind kind);
  void declareEquations();
  void declareModel();
  void declareFile();
  bool moreItems();
  Symbol* newSymbol(SymbolKind kind, const Token& name);
  Symbol* optionalDomain(const Token& name);
  std::string optionalText();
  void parseSetElements(Symbol& set);
  std::string parseLabel(const Token& token);
  void parseParameterData(Symbol& parameter);
  double parseSignedValue();

  // Expressions (ParserExpr.cpp)
  std::unique_ptr<Expr> parseExpr();
  std::unique_ptr<Expr> parseOr();
  std::unique_ptr<Expr> parseAnd();
  std::unique_ptr<Expr> parseNot();
  std::unique_ptr<Expr> parseComparison();
  std::unique_ptr<Expr> parseAdditive();
  std::unique_ptr<Expr> parseMultiplicative();
  std::unique_ptr<Expr> parseUnary();
  std::unique_ptr<Expr> parsePower();
  std::unique_ptr<Expr> parsePostfix();
  std::unique_ptr<Expr> parsePrimary();
  std::unique_ptr<Expr> parseReference(const Token& name);
  std::unique_ptr<Expr> parseCall(const Token& name);
  std::unique_ptr<Expr> parseReduce(const Token& name);

  // Tokens
  const Token& peek(std::size_t ahead = 0) const;
  const Token& advance();
  bool at(TokenKind kind) const { return peek().kind == kind; }
  bool atWord(const char* word) const;
  bool accept(TokenKind kind);
  const Token& expect(TokenKind kind, const char* what);
  const Token& expectName(const char* what);
  [[noreturn]] void fail(SourcePos pos, std::string message) const;
  [[noreturn]] void failAt(const Token& token, const char* expected) const;

  Program& program_;
  std::vector<Token> tokens_;
  std::size_t i_ = 0;
  int depth_ = 0;
  bool noSlash_ = false;  // inside a put item "/" ends the line instead of dividing
  Checker checker_;
};

// Counts nesting of statements and sub-expressions while it lives, so that hostile input gives
// an error and not a stack overflow.
class DepthGuard {
 public:
  DepthGuard(Parser& parser, SourcePos pos);
  ~DepthGuard();
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  Parser& parser_;
};

// Words the language reserves: they cannot name symbols.
bool isReservedWord(const std::string& lower);

}  // namespace tarvelin::engine
