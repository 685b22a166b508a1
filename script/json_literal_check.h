// Gatekeeper for text that is about to be pasted into script source.
//
// A JSON document is handed to the script engine as source code, so text
// from a server must be proven to be nothing but one literal value before
// the engine sees it; otherwise anyone on the path could run script with
// the user's rights. The check works on GBK bytes in one pass, without
// recursion, and stops at the first fault.
//
// Accepted, with space, tab, CR and LF allowed before and after every token:
//   value   object | array | string | number | true | false | null
//   object  '{' [ name ':' value { ',' name ':' value } ] '}'
//   array   '[' [ value { ',' value } ] ']'      (no holes, no trailing comma)
//   name    string | identifier made of ASCII letters, digits, '_' and '$'
//           that does not start with a digit and is not a reserved word
//   string  "..." or '...' holding printable ASCII, tab, two-byte
//           characters (a GBK lead byte 0x81-0xFE and a GBK second byte or
//           any byte but NUL, a quote, a backslash, CR or LF) and the escapes \" \' \\ \/ \b \f
//           \n \r \t \0 (not followed by a digit), \xHH and \uHHHH
//   number  optional + or -, then either 0x/0X and hex digits, or decimal
//           digits without a leading zero with an optional fraction (".5"
//           and "5." included) and an optional exponent
// Nesting is limited to kMaxLiteralDepth objects and arrays.
#pragma once
#include <optional>
#include <string_view>

inline constexpr int kMaxLiteralDepth = 512;

// How the checked text will be placed into the source.
enum class LiteralUse {
  Assigned,      // as the right-hand side of an assignment
  EvalArgument,  // as the argument of eval(): a string would run as code,
                 // so a string is refused as the whole value
};

struct LiteralFault {
  const char* description;  // static text saying what is wrong
  int line;                 // 1-based; CR LF, CR and LF each end a line
  int column;               // 1-based, in characters: a GBK pair counts once
};

// The first fault of the text, or nothing when the text is exactly one
// literal value as described above.
std::optional<LiteralFault> CheckLiteralText(std::string_view text, LiteralUse use);

// True when every byte with the high bit set begins a GBK two-byte
// character as above. Only such text is split into characters the same way
// by the runtime's text commands and by the conversion that feeds the
// engine, so only such text can be escaped into a script string safely.
bool IsWellFormedGbk(std::string_view text);
