#include "engine/Lexer.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace tarvelin::engine {
namespace {

std::string toLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool isIdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool isDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The word after "$" in column 1, lower case.
std::string dollarWord(std::string_view line) {
  std::size_t i = 1;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  std::size_t start = i;
  while (i < line.size() && isIdentChar(line[i])) ++i;
  return toLower(line.substr(start, i - start));
}

class LineLexer {
 public:
  LineLexer(LexResult& out, std::string_view line, int lineNumber, std::size_t lineOffset)
      : out_(out), line_(line), lineNumber_(lineNumber), lineOffset_(lineOffset) {}

  void run() {
    while (i_ < line_.size()) {
      char c = line_[i_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++i_;
      } else if (isIdentStart(c)) {
        ident();
      } else if (isDigit(c) || (c == '.' && i_ + 1 < line_.size() && isDigit(line_[i_ + 1]))) {
        number();
      } else if (c == '\'' || c == '"') {
        quoted(c);
      } else {
        punct(c);
      }
    }
  }

 private:
  Token start(TokenKind kind) {
    Token t;
    t.kind = kind;
    t.pos = {lineNumber_, static_cast<int>(i_)};
    t.offset = lineOffset_ + i_;
    return t;
  }
  void error(std::size_t column, std::string message) {
    out_.errors.push_back({{lineNumber_, static_cast<int>(column)}, std::move(message)});
  }

  void ident() {
    Token t = start(TokenKind::Ident);
    std::size_t b = i_;
    while (i_ < line_.size() && isIdentChar(line_[i_])) ++i_;
    t.text = std::string(line_.substr(b, i_ - b));
    t.lower = toLower(t.text);
    out_.tokens.push_back(std::move(t));
  }

  void number() {
    Token t = start(TokenKind::Number);
    std::size_t b = i_;
    while (i_ < line_.size() && isDigit(line_[i_])) ++i_;
    // "1." is a number, but "1..": never a number followed by an equation mark here.
    if (i_ < line_.size() && line_[i_] == '.' &&
        !(i_ + 1 < line_.size() && (line_[i_ + 1] == '.' || isIdentStart(line_[i_ + 1])))) {
      ++i_;
      while (i_ < line_.size() && isDigit(line_[i_])) ++i_;
    }
    if (i_ < line_.size() && (line_[i_] == 'e' || line_[i_] == 'E')) {
      std::size_t e = i_ + 1;
      if (e < line_.size() && (line_[e] == '+' || line_[e] == '-')) ++e;
      if (e < line_.size() && isDigit(line_[e])) {
        i_ = e;
        while (i_ < line_.size() && isDigit(line_[i_])) ++i_;
      }
    }
    t.text = std::string(line_.substr(b, i_ - b));
    double value = 0;
    auto [ptr, ec] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), value);
    if (ec == std::errc::result_out_of_range) {
      // Too small for a double is zero; too large is an error rather than a silent infinity.
      std::size_t e = t.text.find_first_of("eE");
      if (e != std::string::npos && t.text.find('-', e) != std::string::npos) {
        value = 0;
      } else {
        error(b, "number '" + t.text + "' is out of range");
      }
    } else if (ec != std::errc() || ptr != t.text.data() + t.text.size()) {
      error(b, "malformed number '" + t.text + "'");
    }
    if (i_ < line_.size() && isIdentStart(line_[i_])) {
      error(i_, "a number runs into a name: '" + t.text + line_[i_] + "'");
      while (i_ < line_.size() && isIdentChar(line_[i_])) ++i_;
    }
    t.number = value;
    out_.tokens.push_back(std::move(t));
  }

  void quoted(char quote) {
    Token t = start(TokenKind::String);
    std::size_t close = line_.find(quote, i_ + 1);
    if (close == std::string_view::npos) {
      error(i_, "text in quotes is not closed on its line");
      i_ = line_.size();
      return;
    }
    t.text = std::string(line_.substr(i_ + 1, close - i_ - 1));
    i_ = close + 1;
    out_.tokens.push_back(std::move(t));
  }

  bool next(char c) const { return i_ + 1 < line_.size() && line_[i_ + 1] == c; }
  void emit(TokenKind kind, std::size_t length) {
    Token t = start(kind);
    t.text = std::string(line_.substr(i_, length));
    i_ += length;
    out_.tokens.push_back(std::move(t));
  }

  void punct(char c) {
    switch (c) {
      case '(':
        return emit(TokenKind::LParen, 1);
      case ')':
        return emit(TokenKind::RParen, 1);
      case ',':
        return emit(TokenKind::Comma, 1);
      case ';':
        return emit(TokenKind::Semicolon, 1);
      case '/':
        return emit(TokenKind::Slash, 1);
      case '+':
        return emit(TokenKind::Plus, 1);
      case '-':
        return emit(TokenKind::Minus, 1);
      case '$':
        return emit(TokenKind::Dollar, 1);
      case ':':
        return emit(TokenKind::Colon, 1);
      case '*':
        return next('*') ? emit(TokenKind::StarStar, 2) : emit(TokenKind::Star, 1);
      case '.':
        return next('.') ? emit(TokenKind::DotDot, 2) : emit(TokenKind::Dot, 1);
      case '<':
        if (next('>')) return emit(TokenKind::NotEqual, 2);
        return next('=') ? emit(TokenKind::LessEq, 2) : emit(TokenKind::Less, 1);
      case '>':
        return next('=') ? emit(TokenKind::GreaterEq, 2) : emit(TokenKind::Greater, 1);
      case '=':
        return equalSign();
      default:
        break;
    }
    error(i_, std::string("unexpected character '") + c + "'");
    ++i_;
  }

  void equalSign() {
    if (i_ + 2 < line_.size() && line_[i_ + 2] == '=') {
      switch (std::tolower(static_cast<unsigned char>(line_[i_ + 1]))) {
        case 'e':
          return emit(TokenKind::RelE, 3);
        case 'l':
          return emit(TokenKind::RelL, 3);
        case 'g':
          return emit(TokenKind::RelG, 3);
        case 'n':
        case 'x':
        case 'c':
        case 'b':
          error(i_, "equation type '" + std::string(line_.substr(i_, 3)) +
                        "' is not supported (use =e=, =l= or =g=)");
          i_ += 3;
          return;
        default:
          break;
      }
    }
    emit(TokenKind::Equal, 1);
  }

  LexResult& out_;
  std::string_view line_;
  int lineNumber_;
  std::size_t lineOffset_;
  std::size_t i_ = 0;
};

}  // namespace

const char* tokenKindName(TokenKind kind) {
  switch (kind) {
    case TokenKind::Ident:
      return "name";
    case TokenKind::Number:
      return "number";
    case TokenKind::String:
      return "quoted text";
    case TokenKind::LParen:
      return "'('";
    case TokenKind::RParen:
      return "')'";
    case TokenKind::Comma:
      return "','";
    case TokenKind::Semicolon:
      return "';'";
    case TokenKind::Slash:
      return "'/'";
    case TokenKind::Star:
      return "'*'";
    case TokenKind::StarStar:
      return "'**'";
    case TokenKind::Plus:
      return "'+'";
    case TokenKind::Minus:
      return "'-'";
    case TokenKind::Dot:
      return "'.'";
    case TokenKind::DotDot:
      return "'..'";
    case TokenKind::Dollar:
      return "'$'";
    case TokenKind::Colon:
      return "':'";
    case TokenKind::Equal:
      return "'='";
    case TokenKind::NotEqual:
      return "'<>'";
    case TokenKind::Less:
      return "'<'";
    case TokenKind::LessEq:
      return "'<='";
    case TokenKind::Greater:
      return "'>'";
    case TokenKind::GreaterEq:
      return "'>='";
    case TokenKind::RelE:
      return "'=e='";
    case TokenKind::RelL:
      return "'=l='";
    case TokenKind::RelG:
      return "'=g='";
    case TokenKind::End:
      return "end of file";
  }
  return "token";
}

std::string describeToken(const Token& token) {
  switch (token.kind) {
    case TokenKind::Ident:
      return "'" + token.text + "'";
    case TokenKind::Number:
      return "number " + token.text;
    case TokenKind::String:
      return "'" + token.text + "' (quoted text)";
    default:
      return tokenKindName(token.kind);
  }
}

LexResult lex(const SourceFile& source) {
  LexResult out;
  bool inText = false;
  int ontextLine = 0;
  std::size_t offset = 0;
  for (int n = 1; n <= source.lineCount(); ++n) {
    std::string_view line = source.line(n);
    std::size_t lineOffset = offset;
    offset += line.size() + 1;
    if (inText) {
      if (!line.empty() && line[0] == '$' && dollarWord(line) == "offtext") inText = false;
      continue;
    }
    if (!line.empty() && line[0] == '*') continue;
    if (!line.empty() && line[0] == '$') {
      std::string word = dollarWord(line);
      if (word == "ontext") {
        inText = true;
        ontextLine = n;
      } else if (word == "offtext") {
        out.errors.push_back({{n, 0}, "$offtext without $ontext"});
      } else if (word != "title" && word != "stitle" && word != "offlisting" &&
                 word != "onlisting" && word != "offsymxref" && word != "offsymlist" &&
                 word != "offuellist" && word != "offuelxref") {
        out.errors.push_back({{n, 0}, "dollar control option '$" + word + "' is not supported"});
      }
      continue;
    }
    LineLexer(out, line, n, lineOffset).run();
  }
  if (inText) out.errors.push_back({{ontextLine, 0}, "$ontext without $offtext"});
  Token end;
  end.kind = TokenKind::End;
  end.pos = {source.lineCount(), static_cast<int>(source.line(source.lineCount()).size())};
  end.offset = source.text().size();
  out.tokens.push_back(end);
  return out;
}

}  // namespace tarvelin::engine
