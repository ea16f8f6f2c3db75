#pragma once
// Token kinds of the modelling language, with the grammar rules that use them.
//
//   program     := { statement }
//   statement   := declaration | assignment | equationDef | loop | abort | display
//                | option | solve | put | putclose                      (each ends with ";")
//   declaration := SETS     setItem     { [","] setItem }
//                | ALIAS "(" Ident "," Ident { "," Ident } ")" { [","] "(" ... ")" }
//                | SCALARS  scalarItem  { [","] scalarItem }
//                | PARAMETERS paramItem { [","] paramItem }
//                | [POSITIVE|NEGATIVE|FREE] VARIABLES varItem { [","] varItem }
//                | EQUATIONS eqItem    { [","] eqItem }
//                | MODEL Ident [String] "/" ( ALL | Ident { "," Ident } ) "/"
//                | FILE Ident [String] "/" path "/"
//   setItem     := Ident [String] [ "/" element { [","] element } "/" ]
//   element     := label [ "*" label ] [String]        label := Ident | Number | String
//   paramItem   := Ident [ "(" Ident ")" ] [String] [ "/" label value { [","] label value } "/" ]
//   assignment  := ref [ "$" primary ] "=" expr
//   equationDef := Ident [ "(" Ident ")" ] [ "$" primary ] ".." expr RelE|RelL|RelG expr
//   loop        := LOOP "(" domain "," { statement } ")"      domain := Ident ["$" primary]
//   abort       := ABORT [ "$" primary ] [String]
//   option      := OPTION Ident "=" (Ident|Number) { "," Ident "=" (Ident|Number) }
//   solve       := SOLVE Ident USING Ident (MINIMIZING|MAXIMIZING) Ident  (either order)
//   put         := PUT [Ident] { putItem [","] }      putItem := "/" | item [":" w [":" d]]
//   expr        := or;  or := and {(OR|XOR) and};  and := not {AND not};  not := [NOT] cmp
//   cmp         := add [ ("="|"<>"|"<"|"<="|">"|">="|EQ|NE|LT|LE|GT|GE) add ]
//   add         := mul { ("+"|"-") mul };  mul := unary { ("*"|"/") unary }
//   unary       := ("-"|"+") unary | pow;   pow := postfix { "**" postfix }
//   postfix     := primary { "$" primary }
//   primary     := Number | "(" expr ")" | ref | function "(" args ")" | reduce | PI | INF
//   ref         := Ident [ "." Ident ] [ "(" index ")" ]    index := Ident | String
//   reduce      := (SUM|PROD|SMIN|SMAX) "(" domain "," expr ")"
#include <string>

#include "engine/Source.h"

namespace tarvelin::engine {

enum class TokenKind {
  Ident,      // letters, digits and "_", starting with a letter or "_"
  Number,     // 12, 1.5, .5, 1E7, 1.50000000000000E+0000
  String,     // 'text' or "text"
  LParen,     // (
  RParen,     // )
  Comma,      // ,
  Semicolon,  // ;
  Slash,      // /   division, data list brackets, put line end
  Star,       // *   multiplication, label ranges
  StarStar,   // **
  Plus,       // +
  Minus,      // -
  Dot,        // .   attributes: x.l, j.tl
  DotDot,     // ..  equation definition
  Dollar,     // $   condition
  Colon,      // :   put item width and decimals
  Equal,      // =   assignment or comparison
  NotEqual,   // <>
  Less,       // <
  LessEq,     // <=
  Greater,    // >
  GreaterEq,  // >=
  RelE,       // =e=
  RelL,       // =l=
  RelG,       // =g=
  End,
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;   // as written (String: the contents without quotes)
  std::string lower;  // Ident: lower case, for keyword and name lookup
  double number = 0;  // Number: the value
  SourcePos pos;
  std::size_t offset = 0;  // byte offset in the normalised source
};

const char* tokenKindName(TokenKind kind);
std::string describeToken(const Token& token);

}  // namespace tarvelin::engine
