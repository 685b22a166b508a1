#include "script/json_literal_check.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// Words an older script engine refuses as an unquoted member name.
constexpr std::string_view kReservedWords[] = {
    "abstract", "boolean", "break", "byte", "case", "catch", "char", "class", "const", "continue", "debugger",
    "default", "delete", "do", "double", "else", "enum", "export", "extends", "false", "final", "finally",
    "float", "for", "function", "goto", "if", "implements", "import", "in", "instanceof", "int", "interface",
    "long", "native", "new", "null", "package", "private", "protected", "public", "return", "short", "static",
    "super", "switch", "synchronized", "this", "throw", "throws", "transient", "true", "try", "typeof", "var",
    "void", "volatile", "while", "with",
};
static_assert(std::is_sorted(std::begin(kReservedWords), std::end(kReservedWords)));

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsIdentifierStart(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}
bool IsIdentifierPart(unsigned char c) { return IsIdentifierStart(c) || IsDigit(c); }
// GBK: 0x81-0xFE lead a pair whose second byte is 0x40-0x7E or 0x80-0xFE.
bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsGbkTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }
// Inside a string a lead byte and the byte after it are one character. A
// GBK pair stays one character on its way to the engine. Any other pair the
// conversion may keep as one character or split; either is harmless unless
// its second byte could end the string, escape, or break the line. A byte
// with the high bit set that leads no pair (0x80, 0xFF) may stand alone and
// let a quote close the string.
bool CanFollowLeadInString(unsigned char c) {
  return IsGbkTrail(c) || (c != 0 && c != '"' && c != '\'' && c != '\\' && c != '\r' && c != '\n');
}

// Why a byte cannot start a token where a value or a separator belongs.
const char* DescribeStray(unsigned char c) {
  switch (c) {
    case '/':
      return "comments and regular expressions are not allowed";
    case '(':
    case ')':
      return "calls and parentheses are not allowed";
    case '=':
      return "assignment is not allowed";
    case ';':
      return "only one value is allowed: ';' starts another statement";
    case '@':
      return "conditional compilation is not allowed";
    case '\\':
      return "backslash outside a string";
    case ',':
      return "a value is missing before ','";
  }
  if (c >= 0x80) return "non-ASCII character outside a string";
  if (c < 0x20 || c == 0x7F) return "control character outside a string";
  if (std::string_view("+-*%&|^!~<>?.").find(static_cast<char>(c)) != std::string_view::npos)
    return "operators are not allowed";
  return "unexpected character";
}

class LiteralChecker {
 public:
  LiteralChecker(std::string_view text, LiteralUse use) : text_(text), use_(use) {}

  std::optional<LiteralFault> Run() {
    // What the next token must be; `justOpened` allows the closing bracket
    // of an empty object or array.
    enum class Want { Value, Name, Colon, CommaOrClose } want = Want::Value;
    bool justOpened = false;
    for (;;) {
      SkipSpace();
      if (AtEnd()) {
        if (open_.empty() && want == Want::CommaOrClose) return std::nullopt;
        return FaultHere(open_.empty() && want == Want::Value ? "no value: the text is empty"
                                                          : "unexpected end of text: a value is not complete");
      }
      unsigned char c = Peek();
      bool closer = c == '}' || c == ']';
      switch (want) {
        case Want::Value:
          if (closer) {
            if (!justOpened && !open_.empty()) return FaultHere("a value is missing before the closing bracket");
            if (!Close()) return fault_;
            want = Want::CommaOrClose;
          } else if (c == '{' || c == '[') {
            if (!Open()) return fault_;
            want = c == '{' ? Want::Name : Want::Value;
            justOpened = true;
            continue;
          } else {
            if (!ScanScalar()) return fault_;
            want = Want::CommaOrClose;
          }
          break;
        case Want::Name:
          if (closer && justOpened) {
            if (!Close()) return fault_;
            want = Want::CommaOrClose;
          } else {
            if (!ScanName()) return fault_;
            want = Want::Colon;
          }
          break;
        case Want::Colon:
          if (c != ':') return FaultHere("':' expected after the member name");
          Step(1);
          want = Want::Value;
          break;
        case Want::CommaOrClose:
          if (open_.empty()) return FaultHere("text after the value: only one value is allowed");
          if (c == ',') {
            Step(1);
            want = open_.back() == '{' ? Want::Name : Want::Value;
          } else if (closer) {
            if (!Close()) return fault_;
          } else {
            return FaultHere(open_.back() == '{' ? "',' or '}' expected" : "',' or ']' expected");
          }
          break;
      }
      justOpened = false;
    }
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  unsigned char Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? static_cast<unsigned char>(text_[pos_ + ahead]) : 0;
  }
  bool Has(size_t ahead) const { return pos_ + ahead < text_.size(); }

  // Moves over one character of `bytes` bytes on the current line.
  void Step(size_t bytes) {
    pos_ += bytes;
    ++column_;
  }
  // Moves over `count` one-byte characters on the current line.
  void StepAscii(size_t count) {
    pos_ += count;
    column_ += static_cast<int>(count);
  }
  // Moves over a line break (CR LF counts as one).
  void StepLineBreak() {
    pos_ += (Peek() == '\r' && Peek(1) == '\n') ? 2 : 1;
    ++line_;
    column_ = 1;
  }
  void SkipSpace() {
    while (!AtEnd()) {
      unsigned char c = Peek();
      if (c == '\r' || c == '\n') {
        StepLineBreak();
      } else if (c == ' ' || c == '\t') {
        Step(1);
      } else {
        break;
      }
    }
  }

  LiteralFault FaultHere(const char* description) const { return {description, line_, column_}; }
  // For the scanners: records the fault and reports failure.
  bool Fail(const char* description) { return FailAt(description, line_, column_); }
  bool FailAt(const char* description, int line, int column) {
    fault_ = LiteralFault{description, line, column};
    return false;
  }

  bool Open() {
    if (open_.size() >= static_cast<size_t>(kMaxLiteralDepth))
      return Fail("objects and arrays are nested too deeply");
    open_.push_back(static_cast<char>(Peek()));
    Step(1);
    return true;
  }
  bool Close() {
    unsigned char c = Peek();
    if (open_.empty()) return Fail(c == '}' ? "'}' without a matching '{'" : "']' without a matching '['");
    if ((open_.back() == '{') != (c == '}'))
      return Fail(c == '}' ? "'}' does not close the open '['" : "']' does not close the open '{'");
    open_.pop_back();
    Step(1);
    return true;
  }

  bool ScanScalar() {
    unsigned char c = Peek();
    if (c == '"' || c == '\'') {
      if (use_ == LiteralUse::EvalArgument && open_.empty())
        return Fail("a string as the whole value would be run as code");
      return ScanString();
    }
    if (IsDigit(c) || c == '-' || c == '+' || (c == '.' && IsDigit(Peek(1)))) return ScanNumber();
    if (IsIdentifierStart(c)) {
      int line = line_, column = column_;
      std::string_view word = ScanWord();
      if (word == "true" || word == "false" || word == "null") return true;
      return FailAt("names are not values: only true, false and null are allowed", line, column);
    }
    return Fail(DescribeStray(c));
  }

  bool ScanName() {
    unsigned char c = Peek();
    if (c == '"' || c == '\'') return ScanString();
    if (!IsIdentifierStart(c)) {
      return Fail(IsDigit(c) ? "a member name must be a string or an identifier"
                  : c >= 0x80 ? DescribeStray(c)
                              : "member name expected");
    }
    int line = line_, column = column_;
    std::string_view word = ScanWord();
    if (std::binary_search(std::begin(kReservedWords), std::end(kReservedWords), word)) {
      return FailAt("a reserved word as a member name must be quoted", line, column);
    }
    return true;
  }

  std::string_view ScanWord() {
    size_t start = pos_;
    while (!AtEnd() && IsIdentifierPart(Peek())) Step(1);
    return text_.substr(start, pos_ - start);
  }

  bool ScanDigits(bool hex) {
    bool any = false;
    while (!AtEnd() && (hex ? IsHexDigit(Peek()) : IsDigit(Peek()))) {
      Step(1);
      any = true;
    }
    return any;
  }

  bool ScanNumber() {
    if (Peek() == '-' || Peek() == '+') {
      Step(1);
      if (!IsDigit(Peek()) && !(Peek() == '.' && IsDigit(Peek(1))))
        return Fail("a sign must be followed by the digits of a number");
    }
    if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
      StepAscii(2);
      if (!ScanDigits(true)) return Fail("hex digits expected after 0x");
    } else {
      if (Peek() == '0' && IsDigit(Peek(1))) return Fail("a leading zero makes an octal number");
      bool digits = ScanDigits(false);
      if (Peek() == '.') {
        Step(1);
        digits = ScanDigits(false) || digits;
      }
      if (!digits) return Fail("digits expected");
      if (Peek() == 'e' || Peek() == 'E') {
        Step(1);
        if (Peek() == '+' || Peek() == '-') Step(1);
        if (!ScanDigits(false)) return Fail("digits expected in the exponent");
      }
    }
    if (IsIdentifierPart(Peek()) || Peek() == '.') return Fail("malformed number");
    return true;
  }

  bool ScanString() {
    const unsigned char quote = Peek();
    const int line = line_, column = column_;
    Step(1);
    for (;;) {
      unsigned char c = Peek();
      if (AtEnd() || (c == '\\' && !Has(1))) return FailAt("unterminated string", line, column);
      if (c == quote) {
        Step(1);
        return true;
      }
      if (c == '\\') {
        if (!ScanEscape()) return false;
      } else if (c == '\r' || c == '\n') {
        return Fail("line break inside a string: write it as \\r or \\n");
      } else if (c < 0x20 && c != '\t') {
        return Fail("control character inside a string: write it as an escape");
      } else if (c >= 0x80) {
        if (!IsGbkLead(c) || !Has(1) || !CanFollowLeadInString(Peek(1))) return Fail("invalid GBK character");
        Step(2);
      } else {
        Step(1);
      }
    }
  }

  bool ScanEscape() {
    unsigned char e = Peek(1);
    size_t hexDigits = e == 'u' ? 4 : e == 'x' ? 2 : 0;
    if (hexDigits) {
      for (size_t i = 0; i < hexDigits; ++i)
        if (!IsHexDigit(Peek(2 + i))) return Fail(e == 'u' ? "\\u must be followed by four hex digits"
                                                           : "\\x must be followed by two hex digits");
      StepAscii(2 + hexDigits);
      return true;
    }
    if (std::string_view("\"'\\/bfnrt").find(static_cast<char>(e)) != std::string_view::npos ||
        (e == '0' && !IsDigit(Peek(2)))) {
      StepAscii(2);
      return true;
    }
    if (e == '\r' || e == '\n') return Fail("a backslash cannot continue a string on the next line");
    if (IsDigit(e)) return Fail("octal escapes are not allowed");
    return Fail("unknown escape sequence");
  }

  std::string_view text_;
  LiteralUse use_;
  size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
  std::vector<char> open_;  // the unclosed '{' and '[', innermost last
  std::optional<LiteralFault> fault_;
};

}  // namespace

std::optional<LiteralFault> CheckLiteralText(std::string_view text, LiteralUse use) {
  LiteralChecker checker(text, use);
  return checker.Run();
}

bool IsWellFormedGbk(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) continue;
    if (!IsGbkLead(c) || i + 1 == text.size() || !IsGbkTrail(static_cast<unsigned char>(text[i + 1]))) return false;
    ++i;
  }
  return true;
}
