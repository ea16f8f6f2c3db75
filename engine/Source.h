#pragma once
// The model file as the engine sees it: its name, its text with line ends normalised, and
// the diagnostics that point into it.
#include <string>
#include <string_view>
#include <vector>

namespace tarvelin::engine {

// 1-based line, 0-based column (a byte offset into the line).
struct SourcePos {
  int line = 0;
  int column = 0;
};

class SourceFile {
 public:
  // CR LF and LF both end a line; a lone CR is kept (the lexer reads it as a blank).
  SourceFile(std::string name, std::string_view text);

  const std::string& name() const { return name_; }
  const std::string& text() const { return text_; }
  int lineCount() const { return static_cast<int>(lineStarts_.size()); }
  std::string_view line(int number) const;

 private:
  std::string name_;
  std::string text_;
  std::vector<std::size_t> lineStarts_;
};

// "file:line: message", the source line, and a caret under the column.
std::string formatDiagnostic(const SourceFile& source, SourcePos pos, std::string_view message);

// A compilation error: where, and what.
struct Diagnostic {
  SourcePos pos;
  std::string message;
};

}  // namespace tarvelin::engine
