// Declarations: sets, aliases, scalars, parameters, variables, equations, models and files,
// with their data lists. Data enter the symbols here, at compile time, as the language has it.
#include <cctype>

#include "engine/Parser.h"
#include "engine/PutFile.h"

namespace tarvelin::engine {
namespace {

// Most labels one set may hold, so that "/ 1 * 999999999999 /" is an error, not an exhausted
// machine.
constexpr long long kMaxSetSize = 10'000'000;

bool allDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// "a007" -> prefix "a", digits "007".
void splitNumberedLabel(const std::string& label, std::string& prefix, std::string& digits) {
  std::size_t cut = label.size();
  while (cut > 0 && std::isdigit(static_cast<unsigned char>(label[cut - 1]))) --cut;
  prefix = label.substr(0, cut);
  digits = label.substr(cut);
}

std::string lowerCopy(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool Parser::parseDeclaration(const Token& keyword, bool insideLoop) {
  const std::string& w = keyword.lower;
  bool positive = w == "positive";
  bool negative = w == "negative";
  bool freeVar = w == "free";
  bool isDecl = w == "set" || w == "sets" || w == "alias" || w == "scalar" || w == "scalars" ||
                w == "parameter" || w == "parameters" || w == "variable" || w == "variables" ||
                w == "equation" || w == "equations" || w == "model" || w == "models" ||
                w == "file" || w == "files" || positive || negative || freeVar;
  if (!isDecl) return false;
  if (insideLoop) fail(keyword.pos, "declarations are not allowed inside a loop");
  advance();
  if (positive || negative || freeVar) {
    if (!atWord("variable") && !atWord("variables")) failAt(peek(), "'variable'");
    advance();
  }
  if (w == "set" || w == "sets") {
    declareSets();
  } else if (w == "alias") {
    declareAlias();
  } else if (w == "scalar" || w == "scalars") {
    declareParameters(true);
  } else if (w == "parameter" || w == "parameters") {
    declareParameters(false);
  } else if (w == "equation" || w == "equations") {
    declareEquations();
  } else if (w == "model" || w == "models") {
    declareModel();
  } else if (w == "file" || w == "files") {
    declareFile();
  } else {
    declareVariables(positive ? VarKind::Positive : (negative ? VarKind::Negative : VarKind::Free));
  }
  if (!at(TokenKind::Semicolon)) failAt(peek(), "';'");
  return true;
}

// True while a declaration has items left; its ";" may not be missing at the end of the file.
bool Parser::moreItems() {
  if (at(TokenKind::End)) failAt(peek(), "';'");
  return !at(TokenKind::Semicolon);
}

Symbol* Parser::newSymbol(SymbolKind kind, const Token& name) {
  if (name.kind != TokenKind::Ident) failAt(name, "a name");
  if (isReservedWord(name.lower)) {
    fail(name.pos, "'" + name.text + "' is a reserved word and cannot name a symbol");
  }
  if (Symbol* old = program_.symbols.find(name.lower)) {
    fail(name.pos, "'" + name.text + "' is already declared as a " + symbolKindName(old->kind) +
                       " (line " + std::to_string(old->line) + ")");
  }
  return program_.symbols.add(kind, name.text, name.lower, name.pos.line);
}

std::string Parser::optionalText() {
  return at(TokenKind::String) ? advance().text : "";
}

Symbol* Parser::optionalDomain(const Token& name) {
  if (!accept(TokenKind::LParen)) return nullptr;
  if (at(TokenKind::Star)) fail(peek().pos, "the universe '*' as a domain is not supported");
  const Token& set = expectName("a set name");
  Symbol* symbol = program_.symbols.find(set.lower);
  if (!symbol) fail(set.pos, "unknown symbol '" + set.text + "'");
  if (symbol->kind != SymbolKind::Set) fail(set.pos, "'" + set.text + "' is not a set");
  if (at(TokenKind::Comma)) {
    fail(peek().pos, "'" + name.text + "' has more than one index; one set is supported");
  }
  expect(TokenKind::RParen, "')'");
  return symbol->root();
}

void Parser::declareSets() {
  while (moreItems()) {
    const Token& name = advance();
    Symbol* set = newSymbol(SymbolKind::Set, name);
    if (at(TokenKind::LParen)) fail(peek().pos, "subsets are not supported by this engine");
    set->text = optionalText();
    if (accept(TokenKind::Slash)) parseSetElements(*set);
    accept(TokenKind::Comma);
  }
}

std::string Parser::parseLabel(const Token& token) {
  if (token.kind == TokenKind::Ident || token.kind == TokenKind::String) return token.text;
  if (token.kind == TokenKind::Number && allDigits(token.text)) return token.text;
  failAt(token, "a label");
}

void Parser::parseSetElements(Symbol& set) {
  while (!accept(TokenKind::Slash)) {
    const Token& first = advance();
    std::string label = parseLabel(first);
    if (accept(TokenKind::Star)) {
      const Token& lastToken = advance();
      std::string last = parseLabel(lastToken);
      std::string p1, d1, p2, d2;
      splitNumberedLabel(label, p1, d1);
      splitNumberedLabel(last, p2, d2);
      if (d1.empty() || d2.empty() || lowerCopy(p1) != lowerCopy(p2) || d1.size() > 15 ||
          d2.size() > 15) {
        fail(first.pos, "label range '" + label + " * " + last +
                            "' needs two labels that differ only in their trailing number");
      }
      long long from = std::stoll(d1);
      long long to = std::stoll(d2);
      if (from > to) fail(first.pos, "label range '" + label + " * " + last + "' runs backwards");
      if (to - from + 1 + static_cast<long long>(set.elements.size()) > kMaxSetSize) {
        fail(first.pos, "set '" + set.name + "' would hold more than " +
                            std::to_string(kMaxSetSize) + " elements");
      }
      // Leading zeros give labels of a fixed width ("01 * 10"), as written.
      std::size_t width = (d1.size() == d2.size() && d1.size() > 1 && d1[0] == '0') ? d1.size() : 0;
      set.elements.reserve(set.elements.size() + static_cast<std::size_t>(to - from + 1));
      for (long long n = from; n <= to; ++n) {
        std::string digits = std::to_string(n);
        if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
        if (!addElement(set, program_.symbols.labels().intern(p1 + digits))) {
          fail(first.pos, "duplicate element '" + p1 + digits + "' in set '" + set.name + "'");
        }
      }
    } else {
      if (static_cast<long long>(set.elements.size()) >= kMaxSetSize) {
        fail(first.pos, "set '" + set.name + "' would hold more than " +
                            std::to_string(kMaxSetSize) + " elements");
      }
      if (!addElement(set, program_.symbols.labels().intern(label))) {
        fail(first.pos, "duplicate element '" + label + "' in set '" + set.name + "'");
      }
    }
    // Element text: quoted text on the same line as its label.
    if (at(TokenKind::String) && peek().pos.line == first.pos.line) advance();
    accept(TokenKind::Comma);
    if (at(TokenKind::Semicolon) || at(TokenKind::End)) failAt(peek(), "'/' closing the elements");
  }
}

void Parser::declareAlias() {
  do {
    expect(TokenKind::LParen, "'('");
    const Token& first = expectName("a set name");
    Symbol* target = program_.symbols.find(first.lower);
    if (!target) fail(first.pos, "unknown symbol '" + first.text + "'");
    if (target->kind != SymbolKind::Set) fail(first.pos, "'" + first.text + "' is not a set");
    expect(TokenKind::Comma, "','");
    do {
      const Token& name = advance();
      Symbol* alias = newSymbol(SymbolKind::Set, name);
      alias->aliasOf = target->root();
    } while (accept(TokenKind::Comma));
    expect(TokenKind::RParen, "')'");
  } while (accept(TokenKind::Comma) || at(TokenKind::LParen));
}

double Parser::parseSignedValue() {
  double sign = 1;
  if (accept(TokenKind::Minus)) {
    sign = -1;
  } else {
    accept(TokenKind::Plus);
  }
  if (atWord("inf")) {
    advance();
    return sign * kInf;
  }
  return sign * expect(TokenKind::Number, "a number").number;
}

void Parser::declareParameters(bool scalars) {
  while (moreItems()) {
    const Token& name = advance();
    Symbol* parameter = newSymbol(SymbolKind::Parameter, name);
    parameter->isScalarDeclaration = scalars;
    if (scalars && at(TokenKind::LParen)) {
      fail(peek().pos, "a scalar has no index; declare '" + name.text + "' as a parameter");
    }
    parameter->domain = optionalDomain(name);
    parameter->values.assign(parameter->size(), 0.0);
    parameter->text = optionalText();
    if (accept(TokenKind::Slash)) parseParameterData(*parameter);
    accept(TokenKind::Comma);
  }
}

void Parser::parseParameterData(Symbol& parameter) {
  if (!parameter.domain) {
    parameter.values[0] = parseSignedValue();
    expect(TokenKind::Slash, "'/' closing the value");
    return;
  }
  std::vector<bool> seen(parameter.values.size(), false);
  while (!accept(TokenKind::Slash)) {
    const Token& labelToken = advance();
    std::string label = parseLabel(labelToken);
    int id = program_.symbols.labels().find(label);
    auto it = id < 0 ? parameter.domain->positions.end() : parameter.domain->positions.find(id);
    if (it == parameter.domain->positions.end()) {
      fail(labelToken.pos, "'" + label + "' is not an element of set '" + parameter.domain->name +
                               "' (domain of '" + parameter.name + "')");
    }
    std::size_t position = static_cast<std::size_t>(it->second);
    if (seen[position]) {
      fail(labelToken.pos, "duplicate entry '" + label + "' for '" + parameter.name + "'");
    }
    seen[position] = true;
    parameter.values[position] = parseSignedValue();
    accept(TokenKind::Comma);
    if (at(TokenKind::Semicolon) || at(TokenKind::End)) failAt(peek(), "'/' closing the data");
  }
}

void Parser::declareVariables(VarKind kind) {
  while (moreItems()) {
    const Token& name = advance();
    Symbol* variable = newSymbol(SymbolKind::Variable, name);
    variable->varKind = kind;
    variable->domain = optionalDomain(name);
    VarValue initial;
    if (kind == VarKind::Positive) initial.lower = 0;
    if (kind == VarKind::Negative) initial.upper = 0;
    variable->vars.assign(variable->size(), initial);
    variable->text = optionalText();
    accept(TokenKind::Comma);
  }
}

void Parser::declareEquations() {
  while (moreItems()) {
    const Token& name = advance();
    Symbol* equation = newSymbol(SymbolKind::Equation, name);
    equation->domain = optionalDomain(name);
    equation->eqs.assign(equation->size(), EqValue{});
    equation->text = optionalText();
    accept(TokenKind::Comma);
  }
}

void Parser::declareModel() {
  while (moreItems()) {
    const Token& name = advance();
    Symbol* model = newSymbol(SymbolKind::Model, name);
    model->text = optionalText();
    expect(TokenKind::Slash, "'/' and the model's equations");
    if (atWord("all")) {
      advance();
      model->allEquations = true;
      for (const auto& symbol : program_.symbols.all()) {
        if (symbol->kind == SymbolKind::Equation) model->equations.push_back(symbol.get());
      }
    } else {
      do {
        const Token& eq = expectName("an equation name");
        Symbol* equation = program_.symbols.find(eq.lower);
        if (!equation || equation->kind != SymbolKind::Equation) {
          fail(eq.pos, "'" + eq.text + "' is not an equation");
        }
        model->equations.push_back(equation);
      } while (accept(TokenKind::Comma));
    }
    expect(TokenKind::Slash, "'/'");
    accept(TokenKind::Comma);
  }
}

void Parser::declareFile() {
  while (moreItems()) {
    const Token& name = advance();
    Symbol* file = newSymbol(SymbolKind::File, name);
    file->text = optionalText();
    std::string path = lowerCopy(name.text) + ".put";
    if (accept(TokenKind::Slash)) {
      const Token& open = tokens_[i_ - 1];
      if (at(TokenKind::String) && peek(1).kind == TokenKind::Slash) {
        path = advance().text;
      } else {
        // An unquoted path: the text between the slashes, as written.
        while (!at(TokenKind::Slash)) {
          if (at(TokenKind::Semicolon) || at(TokenKind::End)) failAt(peek(), "'/' after the path");
          advance();
        }
        const Token& close = peek();
        path = program_.source.text().substr(open.offset + 1, close.offset - open.offset - 1);
        while (!path.empty() && std::isspace(static_cast<unsigned char>(path.back()))) {
          path.pop_back();
        }
        while (!path.empty() && std::isspace(static_cast<unsigned char>(path.front()))) {
          path.erase(0, 1);
        }
      }
      if (path.empty() || path.find('\n') != std::string::npos) {
        fail(open.pos, "the file name of '" + name.text + "' must stand on one line");
      }
      expect(TokenKind::Slash, "'/'");
    }
    file->file = std::make_shared<PutFile>();
    file->file->path = path;
    accept(TokenKind::Comma);
  }
}

}  // namespace tarvelin::engine
