#include "engine/Parser.h"

#include <set>

#include "engine/Lexer.h"

namespace tarvelin::engine {

DepthGuard::DepthGuard(Parser& parser, SourcePos pos) : parser_(parser) {
  if (++parser_.depth_ > kMaxNesting) {
    --parser_.depth_;  // the destructor does not run when the constructor throws
    parser_.fail(pos, "nesting is deeper than " + std::to_string(kMaxNesting) + " levels");
  }
}

DepthGuard::~DepthGuard() {
  --parser_.depth_;
}

bool isReservedWord(const std::string& lower) {
  static const std::set<std::string> words = {
      "set",      "sets",      "alias",    "scalar",   "scalars",    "parameter",  "parameters",
      "variable", "variables", "positive", "negative", "free",       "equation",   "equations",
      "model",    "models",    "file",     "files",    "loop",       "abort",      "display",
      "option",   "options",   "solve",    "put",      "putclose",   "table",      "sum",
      "prod",     "smin",      "smax",     "card",     "ord",        "and",        "or",
      "xor",      "not",       "eq",       "ne",       "lt",         "le",         "gt",
      "ge",       "inf",       "pi",       "using",    "minimizing", "maximizing", "all",
      "sqr",      "sqrt",      "abs",      "exp",      "log",        "log10",      "power",
      "min",      "max",       "sin",      "cos",      "if",         "else",       "while",
      "for",      "repeat"};
  return words.count(lower) != 0;
}

Parser::Parser(Program& program, std::vector<Token> tokens)
    : program_(program), tokens_(std::move(tokens)), checker_(program) {}

const Token& Parser::peek(std::size_t ahead) const {
  std::size_t at = i_ + ahead;
  return at < tokens_.size() ? tokens_[at] : tokens_.back();
}

const Token& Parser::advance() {
  const Token& t = peek();
  if (i_ + 1 < tokens_.size()) ++i_;
  return t;
}

bool Parser::atWord(const char* word) const {
  return at(TokenKind::Ident) && peek().lower == word;
}

bool Parser::accept(TokenKind kind) {
  if (!at(kind)) return false;
  advance();
  return true;
}

void Parser::fail(SourcePos pos, std::string message) const {
  throw Diagnostic{pos, std::move(message)};
}

void Parser::failAt(const Token& token, const char* expected) const {
  fail(token.pos, std::string("expected ") + expected + ", found " + describeToken(token));
}

const Token& Parser::expect(TokenKind kind, const char* what) {
  if (!at(kind)) failAt(peek(), what);
  return advance();
}

const Token& Parser::expectName(const char* what) {
  if (!at(TokenKind::Ident)) failAt(peek(), what);
  return advance();
}

void Parser::skipToStatementEnd() {
  while (!at(TokenKind::End) && !at(TokenKind::Semicolon)) advance();
  accept(TokenKind::Semicolon);
}

void Parser::parseProgram() {
  while (!at(TokenKind::End)) {
    if (accept(TokenKind::Semicolon)) continue;
    try {
      std::unique_ptr<Stmt> stmt = parseStatement(false);
      expect(TokenKind::Semicolon, "';'");
      // An equation is defined once its statement is complete and kept.
      if (stmt && stmt->kind == StmtKind::EquationDef) stmt->symbol->definition = stmt.get();
      if (stmt) program_.statements.push_back(std::move(stmt));
    } catch (const Diagnostic& error) {
      program_.errors.push_back(error);
      skipToStatementEnd();
    }
  }
}

std::unique_ptr<Stmt> Parser::parseStatement(bool insideLoop) {
  const Token& first = peek();
  DepthGuard guard(*this, first.pos);
  if (!at(TokenKind::Ident)) failAt(first, "a statement");
  if (parseDeclaration(first, insideLoop)) return nullptr;
  const std::string& word = first.lower;
  std::unique_ptr<Stmt> stmt;
  if (word == "loop") {
    stmt = parseLoop(advance());
  } else if (word == "abort") {
    stmt = parseAbort(advance());
  } else if (word == "display") {
    stmt = parseDisplay(advance());
  } else if (word == "option" || word == "options") {
    stmt = parseOption(advance());
  } else if (word == "solve") {
    stmt = parseSolve(advance());
  } else if (word == "put" || word == "putclose") {
    bool close = word == "putclose";
    stmt = parsePut(advance(), close);
  } else if (word == "if" || word == "while" || word == "for" || word == "repeat" ||
             word == "table" || word == "execute" || word == "execute_unload" || word == "binary" ||
             word == "integer" || word == "acronym" || word == "singleton") {
    fail(first.pos, "'" + first.text + "' is not supported by this engine");
  } else {
    stmt = parseAssignOrEquation();
  }
  if (stmt && stmt->kind == StmtKind::EquationDef && insideLoop) {
    fail(first.pos, "equations cannot be defined inside a loop");
  }
  // A loop checks its body itself, with its set controlled.
  if (stmt && !insideLoop) checker_.checkStatement(*stmt);
  return stmt;
}

std::unique_ptr<Stmt> Parser::parseAssignOrEquation() {
  const Token& name = peek();
  Symbol* symbol = program_.symbols.find(name.lower);
  if (symbol && symbol->kind == SymbolKind::Equation &&
      (peek(1).kind == TokenKind::LParen || peek(1).kind == TokenKind::DotDot ||
       peek(1).kind == TokenKind::Dollar)) {
    advance();
    return parseEquationDef(symbol, name);
  }
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::Assign;
  stmt->pos = name.pos;
  advance();
  stmt->target = parseReference(name);
  if (accept(TokenKind::Dollar)) stmt->condition = parsePrimary();
  if (at(TokenKind::DotDot)) fail(peek().pos, "'" + name.text + "' is not an equation");
  expect(TokenKind::Equal, "'='");
  stmt->value = parseExpr();
  return stmt;
}

std::unique_ptr<Stmt> Parser::parseEquationDef(Symbol* equation, const Token& name) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::EquationDef;
  stmt->pos = name.pos;
  stmt->symbol = equation;
  if (accept(TokenKind::LParen)) {
    const Token& set = expectName("a set name");
    stmt->domain.name = set.lower;
    stmt->domain.pos = set.pos;
    stmt->hasDomain = true;
    if (at(TokenKind::Comma)) fail(peek().pos, "equations are indexed over one set only");
    expect(TokenKind::RParen, "')'");
  }
  if (accept(TokenKind::Dollar)) stmt->condition = parsePrimary();
  expect(TokenKind::DotDot, "'..'");
  stmt->lhs = parseExpr();
  const Token& rel = peek();
  if (rel.kind == TokenKind::RelE) {
    stmt->relation = Relation::Eq;
  } else if (rel.kind == TokenKind::RelL) {
    stmt->relation = Relation::Le;
  } else if (rel.kind == TokenKind::RelG) {
    stmt->relation = Relation::Ge;
  } else {
    failAt(rel, "=e=, =l= or =g=");
  }
  advance();
  stmt->rhs = parseExpr();
  return stmt;
}

void Parser::parseDomain(IndexArg& domain, std::unique_ptr<Expr>& condition) {
  bool paren = accept(TokenKind::LParen);
  const Token& set = expectName("a set name");
  domain.name = set.lower;
  domain.pos = set.pos;
  if (paren) {
    if (at(TokenKind::Comma)) fail(peek().pos, "only one set can be controlled here");
    expect(TokenKind::RParen, "')'");
  }
  if (accept(TokenKind::Dollar)) condition = parsePrimary();
}

std::unique_ptr<Stmt> Parser::parseLoop(const Token& keyword) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::Loop;
  stmt->pos = keyword.pos;
  expect(TokenKind::LParen, "'('");
  parseDomain(stmt->domain, stmt->condition);
  stmt->hasDomain = true;
  expect(TokenKind::Comma, "','");
  while (!at(TokenKind::RParen)) {
    if (accept(TokenKind::Semicolon)) continue;
    if (at(TokenKind::End)) failAt(peek(), "')' closing the loop");
    std::unique_ptr<Stmt> inner = parseStatement(true);
    if (inner) stmt->body.push_back(std::move(inner));
    if (!at(TokenKind::RParen)) expect(TokenKind::Semicolon, "';' or ')'");
  }
  advance();
  return stmt;
}

std::unique_ptr<Stmt> Parser::parseAbort(const Token& keyword) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::Abort;
  stmt->pos = keyword.pos;
  if (accept(TokenKind::Dollar)) stmt->condition = parsePrimary();
  if (at(TokenKind::String)) stmt->text = advance().text;
  return stmt;
}

std::unique_ptr<Stmt> Parser::parseDisplay(const Token& keyword) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::Display;
  stmt->pos = keyword.pos;
  do {
    if (at(TokenKind::String)) {
      stmt->texts.push_back(advance().text);
      stmt->items.push_back(nullptr);
    } else {
      const Token& name = expectName("a name or quoted text to display");
      stmt->texts.emplace_back();
      stmt->items.push_back(parseReference(name));
    }
  } while (accept(TokenKind::Comma));
  return stmt;
}

std::unique_ptr<Stmt> Parser::parseOption(const Token& keyword) {
  static const std::set<std::string> harmless = {"limrow",   "limcol", "solprint", "sysout",
                                                 "decimals", "optcr",  "optca",    "iterlim",
                                                 "reslim",   "nlp"};
  static const std::set<std::string> solvers = {"conopt", "conopt3", "conopt4", "emp",   "knitro",
                                                "minos",  "snop",    "snopt",   "ipopt", "ipopth"};
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::Option;
  stmt->pos = keyword.pos;
  do {
    OptionSetting setting;
    const Token& key = expectName("an option name");
    setting.key = key.lower;
    setting.pos = key.pos;
    if (!harmless.count(setting.key)) {
      fail(key.pos, "option '" + key.text + "' is not supported by this engine");
    }
    expect(TokenKind::Equal, "'='");
    const Token& value = peek();
    if (value.kind == TokenKind::Number) {
      setting.isNumber = true;
      setting.number = value.number;
      setting.value = value.text;
    } else if (value.kind == TokenKind::Ident) {
      setting.value = value.lower;
    } else {
      failAt(value, "an option value");
    }
    if (setting.key == "nlp" && !solvers.count(setting.value)) {
      fail(value.pos, "solver '" + value.text + "' is not known to this engine");
    }
    if ((setting.key == "iterlim" || setting.key == "reslim" || setting.key == "decimals" ||
         setting.key == "limrow" || setting.key == "limcol") &&
        !setting.isNumber) {
      failAt(value, "a number");
    }
    advance();
    stmt->options.push_back(std::move(setting));
  } while (accept(TokenKind::Comma));
  return stmt;
}

std::unique_ptr<Stmt> Parser::parseSolve(const Token& keyword) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::Solve;
  stmt->pos = keyword.pos;
  const Token& model = expectName("a model name");
  stmt->symbol = program_.symbols.find(model.lower);
  if (!stmt->symbol || stmt->symbol->kind != SymbolKind::Model) {
    fail(model.pos, "'" + model.text + "' is not a model");
  }
  bool haveType = false;
  bool haveSense = false;
  for (int part = 0; part < 2; ++part) {
    const Token& word = expectName("'using' or 'minimizing'");
    if (word.lower == "using" && !haveType) {
      const Token& type = expectName("a model type");
      if (type.lower != "nlp") {
        fail(type.pos, "model type '" + type.text + "' is not supported (this engine solves nlp)");
      }
      stmt->modelType = type.lower;
      haveType = true;
    } else if (!haveSense &&
               (word.lower == "minimizing" || word.lower == "maximizing" || word.lower == "min" ||
                word.lower == "max" || word.lower == "minimize" || word.lower == "maximize")) {
      stmt->maximize = word.lower.rfind("max", 0) == 0;
      const Token& var = expectName("the objective variable");
      stmt->objective = program_.symbols.find(var.lower);
      if (!stmt->objective || stmt->objective->kind != SymbolKind::Variable) {
        fail(var.pos, "'" + var.text + "' is not a variable");
      }
      if (stmt->objective->domain) {
        fail(var.pos, "the objective variable '" + var.text + "' must be a scalar variable");
      }
      haveSense = true;
    } else {
      failAt(word, haveType ? "'minimizing' or 'maximizing'" : "'using'");
    }
  }
  return stmt;
}

std::unique_ptr<Stmt> Parser::parsePut(const Token& keyword, bool close) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = StmtKind::Put;
  stmt->pos = keyword.pos;
  stmt->close = close;
  if (at(TokenKind::Ident)) {
    Symbol* symbol = program_.symbols.find(peek().lower);
    if (symbol && symbol->kind == SymbolKind::File && peek(1).kind != TokenKind::Dot) {
      stmt->symbol = symbol;
      advance();
    }
  }
  while (!at(TokenKind::Semicolon) && !at(TokenKind::End) && !at(TokenKind::RParen)) {
    if (accept(TokenKind::Comma)) continue;
    PutItem item;
    item.pos = peek().pos;
    if (accept(TokenKind::Slash)) {
      item.kind = PutItem::Kind::NewLine;
      stmt->putItems.push_back(std::move(item));
      continue;
    }
    if (at(TokenKind::String)) {
      item.kind = PutItem::Kind::Text;
      item.text = advance().text;
    } else {
      noSlash_ = true;
      try {
        item.value = parseAdditive();
      } catch (...) {
        noSlash_ = false;
        throw;
      }
      noSlash_ = false;
      if (item.value->kind == ExprKind::Ref && item.value->attrName == "tl") {
        item.kind = PutItem::Kind::Label;
      }
    }
    for (int part = 0; part < 2 && accept(TokenKind::Colon); ++part) {
      const Token& n = expect(TokenKind::Number, "a width or a number of decimals");
      if (n.number < 0 || n.number > 255 || n.number != static_cast<int>(n.number)) {
        fail(n.pos, "a width or number of decimals must be a whole number from 0 to 255");
      }
      (part == 0 ? item.width : item.decimals) = static_cast<int>(n.number);
    }
    stmt->putItems.push_back(std::move(item));
  }
  return stmt;
}

std::unique_ptr<Program> compileProgram(SourceFile source) {
  auto program = std::make_unique<Program>(std::move(source));
  LexResult lexed = lex(program->source);
  program->errors = lexed.errors;
  if (!lexed.errors.empty()) return program;
  Parser parser(*program, std::move(lexed.tokens));
  parser.parseProgram();
  return program;
}

}  // namespace tarvelin::engine
