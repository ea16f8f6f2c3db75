#include "engine/Listing.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>

#include "engine/Evaluator.h"

namespace tarvelin::engine {
namespace {

std::string padRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string padLeft(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// Values as the listing shows them: "." for zero, +INF / -INF for infinite bounds.
std::string listingValue(double value) {
  if (value == 0) return ".";
  if (std::fabs(value) >= 1e19) return value > 0 ? "+INF" : "-INF";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.10g", value);
  return buffer;
}

}  // namespace

std::string formatObjective(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15E", value);
  return buffer;
}

void Listing::header(const std::string& title) {
  line(title);
  line("");
}

void Listing::line(const std::string& text) {
  text_ += text;
  text_ += '\n';
}

void Listing::source(const SourceFile& source, const std::vector<Diagnostic>& errors) {
  std::multimap<int, const Diagnostic*> byLine;
  for (const Diagnostic& d : errors) byLine.emplace(d.pos.line, &d);
  line("C o m p i l a t i o n");
  line("");
  for (int n = 1; n <= source.lineCount(); ++n) {
    // "%6d  " and the line, without printf: a model file may have many thousand lines.
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    auto width = static_cast<std::size_t>(end - digits);
    text_.append(width < 6 ? 6 - width : 0, ' ');
    text_.append(digits, end);
    text_ += "  ";
    text_ += source.line(n);
    text_ += '\n';
    auto range = byLine.equal_range(n);
    for (auto it = range.first; it != range.second; ++it) {
      line("****  " + std::string(static_cast<std::size_t>(it->second->pos.column), ' ') + "^ " +
           it->second->message);
    }
  }
  line("");
  if (!errors.empty()) {
    line("**** " + std::to_string(errors.size()) + " ERROR(S)");
    line("");
  }
}

std::vector<std::string> solveSummaryLines(const SolveSummary& s) {
  std::vector<std::string> out;
  out.push_back("               S O L V E      S U M M A R Y");
  out.push_back("");
  out.push_back("     MODEL   " + padRight(s.modelName, 20) + "OBJECTIVE  " + s.objectiveName);
  out.push_back("     TYPE    NLP                 DIRECTION  " +
                std::string(s.maximize ? "MAXIMIZE" : "MINIMIZE"));
  out.push_back("     SOLVER  IPOPT               FROM LINE  " + std::to_string(s.line));
  out.push_back("");
  out.push_back("     Solver requested: " +
                (s.requestedSolver.empty() ? std::string("(none named)") : s.requestedSolver) +
                "; solved by Ipopt, the solver inside this engine.");
  out.push_back("");
  out.push_back("**** SOLVER STATUS     " + std::to_string(s.solverStatus) + " " +
                solverStatusText(s.solverStatus));
  out.push_back("**** MODEL STATUS      " + std::to_string(s.modelStatus) + " " +
                modelStatusText(s.modelStatus));
  if (s.solutionReturned) out.push_back("**** OBJECTIVE VALUE   " + formatObjective(s.objective));
  out.push_back("");
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, " RESOURCE USAGE          %10.3f seconds", s.seconds);
  out.push_back(buffer);
  std::snprintf(buffer, sizeof buffer, " ITERATION COUNT         %10d", s.iterations);
  out.push_back(buffer);
  out.push_back(" IPOPT RETURN STATUS     " + s.ipoptStatus);
  std::snprintf(buffer, sizeof buffer, " LEVELS PROJECTED ONTO BOUNDS BEFORE THE SOLVE  %d",
                s.projectedLevels);
  out.push_back(buffer);
  return out;
}

void Listing::solveSummary(const SolveSummary& summary) {
  line("");
  for (const std::string& l : solveSummaryLines(summary)) line(l);
  line("");
}

void Listing::variables(const SymbolTable& symbols, const std::vector<const Symbol*>& variables) {
  line(padRight("", 24) + padLeft("LOWER", 18) + padLeft("LEVEL", 18) + padLeft("UPPER", 18) +
       padLeft("MARGINAL", 18));
  line("");
  for (const Symbol* v : variables) {
    for (std::size_t p = 0; p < v->vars.size(); ++p) {
      std::string name = v->name;
      if (v->domain) name += "('" + symbols.labels().name(v->domain->elements[p]) + "')";
      const VarValue& x = v->vars[p];
      line(padRight("---- VAR " + name, 24) + padLeft(listingValue(x.lower), 18) +
           padLeft(listingValue(x.level), 18) + padLeft(listingValue(x.upper), 18) +
           padLeft(listingValue(x.marginal), 18));
    }
  }
  line("");
}

bool Listing::write(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text_;
  return static_cast<bool>(out);
}

}  // namespace tarvelin::engine
