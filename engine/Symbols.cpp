#include "engine/Symbols.h"

#include <cctype>

namespace tarvelin::engine {
namespace {
std::string lowerCopy(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}
}  // namespace

int LabelTable::intern(const std::string& label) {
  std::string key = lowerCopy(label);
  auto it = ids_.find(key);
  if (it != ids_.end()) return it->second;
  int id = static_cast<int>(names_.size());
  names_.push_back(label);
  ids_.emplace(std::move(key), id);
  return id;
}

int LabelTable::find(const std::string& label) const {
  auto it = ids_.find(lowerCopy(label));
  return it == ids_.end() ? -1 : it->second;
}

const char* symbolKindName(SymbolKind kind) {
  switch (kind) {
    case SymbolKind::Set:
      return "set";
    case SymbolKind::Parameter:
      return "parameter";
    case SymbolKind::Variable:
      return "variable";
    case SymbolKind::Equation:
      return "equation";
    case SymbolKind::Model:
      return "model";
    case SymbolKind::File:
      return "file";
  }
  return "symbol";
}

Symbol* SymbolTable::find(const std::string& lowerName) const {
  auto it = byName_.find(lowerName);
  return it == byName_.end() ? nullptr : it->second;
}

Symbol* SymbolTable::add(SymbolKind kind, const std::string& name, const std::string& lowerName,
                         int line) {
  auto symbol = std::make_unique<Symbol>();
  symbol->kind = kind;
  symbol->name = name;
  symbol->line = line;
  symbol->id = static_cast<int>(symbols_.size());
  Symbol* raw = symbol.get();
  symbols_.push_back(std::move(symbol));
  byName_[lowerName] = raw;
  return raw;
}

bool addElement(Symbol& set, int label) {
  auto [it, inserted] = set.positions.emplace(label, static_cast<int>(set.elements.size()));
  if (inserted) set.elements.push_back(label);
  return inserted;
}

}  // namespace tarvelin::engine
