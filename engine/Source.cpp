#include "engine/Source.h"

namespace tarvelin::engine {

SourceFile::SourceFile(std::string name, std::string_view text) : name_(std::move(name)) {
  // A byte order mark, as some Windows editors write it, is not part of the model.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  text_.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    text_.push_back(text[i]);
  }
  lineStarts_.push_back(0);
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n' && i + 1 < text_.size()) lineStarts_.push_back(i + 1);
  }
}

std::string_view SourceFile::line(int number) const {
  if (number < 1 || number > lineCount()) return {};
  std::size_t start = lineStarts_[static_cast<std::size_t>(number - 1)];
  std::size_t end = text_.find('\n', start);
  if (end == std::string::npos) end = text_.size();
  return std::string_view(text_).substr(start, end - start);
}

std::string formatDiagnostic(const SourceFile& source, SourcePos pos, std::string_view message) {
  std::string out = source.name() + ":" + std::to_string(pos.line) + ": ";
  out += message;
  std::string_view text = source.line(pos.line);
  if (pos.line >= 1 && pos.line <= source.lineCount()) {
    out += "\n";
    out += text;
    out += "\n";
    // Keep tabs so that the caret lines up with the source line as a terminal shows it.
    for (int i = 0; i < pos.column && static_cast<std::size_t>(i) < text.size(); ++i) {
      out += text[static_cast<std::size_t>(i)] == '\t' ? '\t' : ' ';
    }
    out += "^ near here";
  }
  return out;
}

}  // namespace tarvelin::engine
