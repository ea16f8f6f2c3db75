// Expressions. Chains of "+ -" and "* /" become one node each, so that a very long statement
// makes a wide tree, not a deep one; everything that nests goes through a depth guard.
#include <map>

#include "engine/Parser.h"

namespace tarvelin::engine {
namespace {

std::unique_ptr<Expr> makeExpr(ExprKind kind, SourcePos pos) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->pos = pos;
  return e;
}

int childDepth(const Expr& e) {
  int depth = 0;
  for (const auto& arg : e.args) {
    if (arg) depth = std::max(depth, arg->depth);
  }
  if (e.condition) depth = std::max(depth, e.condition->depth);
  return depth;
}

}  // namespace

std::unique_ptr<Expr> Parser::parseExpr() {
  DepthGuard guard(*this, peek().pos);
  const bool savedNoSlash = noSlash_;
  noSlash_ = false;
  std::unique_ptr<Expr> e;
  try {
    e = parseOr();
  } catch (...) {
    noSlash_ = savedNoSlash;
    throw;
  }
  noSlash_ = savedNoSlash;
  return e;
}

// Builds a binary node and checks the depth of the tree it makes.
static std::unique_ptr<Expr> binaryNode(BinaryOp op, SourcePos pos, std::unique_ptr<Expr> left,
                                        std::unique_ptr<Expr> right) {
  auto e = makeExpr(ExprKind::Binary, pos);
  e->binary = op;
  e->args.push_back(std::move(left));
  e->args.push_back(std::move(right));
  e->depth = childDepth(*e) + 1;
  if (e->depth > kMaxNesting) {
    throw Diagnostic{pos, "nesting is deeper than " + std::to_string(kMaxNesting) + " levels"};
  }
  return e;
}

std::unique_ptr<Expr> Parser::parseOr() {
  auto left = parseAnd();
  while (atWord("or") || atWord("xor")) {
    const Token& op = advance();
    left = binaryNode(op.lower == "or" ? BinaryOp::Or : BinaryOp::Xor, op.pos, std::move(left),
                      parseAnd());
  }
  return left;
}

std::unique_ptr<Expr> Parser::parseAnd() {
  auto left = parseNot();
  while (atWord("and")) {
    const Token& op = advance();
    left = binaryNode(BinaryOp::And, op.pos, std::move(left), parseNot());
  }
  return left;
}

std::unique_ptr<Expr> Parser::parseNot() {
  if (!atWord("not")) return parseComparison();
  const Token& op = advance();
  std::unique_ptr<Expr> inner;
  {
    DepthGuard guard(*this, op.pos);
    inner = parseNot();
  }
  auto e = makeExpr(ExprKind::Not, op.pos);
  e->args.push_back(std::move(inner));
  e->depth = childDepth(*e) + 1;
  return e;
}

std::unique_ptr<Expr> Parser::parseComparison() {
  auto left = parseAdditive();
  static const std::map<std::string, BinaryOp> words = {{"eq", BinaryOp::Eq}, {"ne", BinaryOp::Ne},
                                                        {"lt", BinaryOp::Lt}, {"le", BinaryOp::Le},
                                                        {"gt", BinaryOp::Gt}, {"ge", BinaryOp::Ge}};
  while (true) {
    const Token& t = peek();
    BinaryOp op;
    if (t.kind == TokenKind::Equal) {
      op = BinaryOp::Eq;
    } else if (t.kind == TokenKind::NotEqual) {
      op = BinaryOp::Ne;
    } else if (t.kind == TokenKind::Less) {
      op = BinaryOp::Lt;
    } else if (t.kind == TokenKind::LessEq) {
      op = BinaryOp::Le;
    } else if (t.kind == TokenKind::Greater) {
      op = BinaryOp::Gt;
    } else if (t.kind == TokenKind::GreaterEq) {
      op = BinaryOp::Ge;
    } else if (t.kind == TokenKind::Ident && words.count(t.lower)) {
      op = words.at(t.lower);
    } else {
      return left;
    }
    advance();
    left = binaryNode(op, t.pos, std::move(left), parseAdditive());
  }
}

std::unique_ptr<Expr> Parser::parseAdditive() {
  auto first = parseMultiplicative();
  if (!at(TokenKind::Plus) && !at(TokenKind::Minus)) return first;
  auto e = makeExpr(ExprKind::Sum, first->pos);
  e->args.push_back(std::move(first));
  e->inverse.push_back(false);
  while (at(TokenKind::Plus) || at(TokenKind::Minus)) {
    bool minus = advance().kind == TokenKind::Minus;
    e->args.push_back(parseMultiplicative());
    e->inverse.push_back(minus);
  }
  e->depth = childDepth(*e) + 1;
  return e;
}

std::unique_ptr<Expr> Parser::parseMultiplicative() {
  auto first = parseUnary();
  auto more = [&] { return at(TokenKind::Star) || (at(TokenKind::Slash) && !noSlash_); };
  if (!more()) return first;
  auto e = makeExpr(ExprKind::Product, first->pos);
  e->args.push_back(std::move(first));
  e->inverse.push_back(false);
  while (more()) {
    bool divide = advance().kind == TokenKind::Slash;
    e->args.push_back(parseUnary());
    e->inverse.push_back(divide);
  }
  e->depth = childDepth(*e) + 1;
  return e;
}

std::unique_ptr<Expr> Parser::parseUnary() {
  if (!at(TokenKind::Minus) && !at(TokenKind::Plus)) return parsePower();
  const Token& op = advance();
  std::unique_ptr<Expr> inner;
  {
    DepthGuard guard(*this, op.pos);
    inner = parseUnary();
  }
  if (op.kind == TokenKind::Plus) return inner;
  auto e = makeExpr(ExprKind::Neg, op.pos);
  e->args.push_back(std::move(inner));
  e->depth = childDepth(*e) + 1;
  return e;
}

std::unique_ptr<Expr> Parser::parsePower() {
  auto left = parsePostfix();
  while (at(TokenKind::StarStar)) {
    const Token& op = advance();
    left = binaryNode(BinaryOp::Pow, op.pos, std::move(left), parsePostfix());
  }
  return left;
}

std::unique_ptr<Expr> Parser::parsePostfix() {
  auto value = parsePrimary();
  while (at(TokenKind::Dollar)) {
    const Token& op = advance();
    auto e = makeExpr(ExprKind::Dollar, op.pos);
    e->args.push_back(std::move(value));
    e->args.push_back(parsePrimary());
    e->depth = childDepth(*e) + 1;
    if (e->depth > kMaxNesting) {
      fail(op.pos, "nesting is deeper than " + std::to_string(kMaxNesting) + " levels");
    }
    value = std::move(e);
  }
  return value;
}

std::unique_ptr<Expr> Parser::parsePrimary() {
  const Token& t = peek();
  if (t.kind == TokenKind::Number) {
    advance();
    auto e = makeExpr(ExprKind::Number, t.pos);
    e->number = t.number;
    return e;
  }
  if (t.kind == TokenKind::LParen) {
    advance();
    auto e = parseExpr();
    expect(TokenKind::RParen, "')'");
    return e;
  }
  if (t.kind != TokenKind::Ident) failAt(t, "an expression");
  advance();
  if (t.lower == "pi" || t.lower == "inf") {
    auto e = makeExpr(ExprKind::Number, t.pos);
    e->number = t.lower == "pi" ? 3.14159265358979323846 : kInf;
    return e;
  }
  if (at(TokenKind::LParen)) {
    if (t.lower == "sum" || t.lower == "prod" || t.lower == "smin" || t.lower == "smax") {
      return parseReduce(t);
    }
    if (!program_.symbols.find(t.lower)) return parseCall(t);
  }
  return parseReference(t);
}

std::unique_ptr<Expr> Parser::parseReduce(const Token& name) {
  auto e = makeExpr(ExprKind::Reduce, name.pos);
  e->reduce = name.lower == "sum"    ? ReduceOp::Sum
              : name.lower == "prod" ? ReduceOp::Prod
              : name.lower == "smin" ? ReduceOp::Smin
                                     : ReduceOp::Smax;
  expect(TokenKind::LParen, "'('");
  IndexArg domain;
  parseDomain(domain, e->condition);
  e->index.push_back(domain);
  expect(TokenKind::Comma, "','");
  e->args.push_back(parseExpr());
  expect(TokenKind::RParen, "')'");
  e->depth = childDepth(*e) + 1;
  return e;
}

std::unique_ptr<Expr> Parser::parseCall(const Token& name) {
  static const std::map<std::string, Function> functions = {
      {"sqr", Function::Sqr},     {"sqrt", Function::Sqrt}, {"abs", Function::Abs},
      {"exp", Function::Exp},     {"log", Function::Log},   {"log10", Function::Log10},
      {"power", Function::Power}, {"min", Function::Min},   {"max", Function::Max},
      {"sin", Function::Sin},     {"cos", Function::Cos}};
  expect(TokenKind::LParen, "'('");
  if (name.lower == "card" || name.lower == "ord") {
    auto e = makeExpr(name.lower == "card" ? ExprKind::Card : ExprKind::Ord, name.pos);
    const Token& set = expectName("a set name");
    e->name = set.lower;
    IndexArg arg;
    arg.name = set.lower;
    arg.pos = set.pos;
    e->index.push_back(arg);
    expect(TokenKind::RParen, "')'");
    return e;
  }
  auto found = functions.find(name.lower);
  if (found == functions.end()) {
    fail(name.pos, "unknown symbol or function '" + name.text + "'");
  }
  auto e = makeExpr(ExprKind::Call, name.pos);
  e->function = found->second;
  e->name = name.lower;
  do {
    e->args.push_back(parseExpr());
  } while (accept(TokenKind::Comma));
  expect(TokenKind::RParen, "')'");
  std::size_t n = e->args.size();
  bool ok = (e->function == Function::Min || e->function == Function::Max) ? n >= 2
            : e->function == Function::Power                               ? n == 2
                                                                           : n == 1;
  if (!ok) fail(name.pos, "wrong number of arguments for '" + name.text + "'");
  e->depth = childDepth(*e) + 1;
  return e;
}

std::unique_ptr<Expr> Parser::parseReference(const Token& name) {
  auto e = makeExpr(ExprKind::Ref, name.pos);
  e->name = name.lower;
  if (accept(TokenKind::Dot)) {
    const Token& attr = expectName("an attribute");
    e->attrName = attr.lower;
    e->attrPos = attr.pos;
  }
  if (accept(TokenKind::LParen)) {
    IndexArg arg;
    const Token& index = peek();
    arg.pos = index.pos;
    if (index.kind == TokenKind::String) {
      arg.isLabel = true;
      arg.name = index.text;
    } else if (index.kind == TokenKind::Ident) {
      arg.name = index.lower;
    } else {
      failAt(index, "a set name or a quoted label");
    }
    advance();
    if (at(TokenKind::Comma)) fail(peek().pos, "one index is supported");
    expect(TokenKind::RParen, "')'");
    e->index.push_back(arg);
  }
  return e;
}

}  // namespace tarvelin::engine
