#include <gtest/gtest.h>

#include <string>

#include "runtime/codepage.h"
#include "script/json_literal_check.h"

namespace {

struct Rejected {
  std::string text;
  int line;
  int column;
};

void ExpectAccepted(std::initializer_list<std::string_view> texts, LiteralUse use = LiteralUse::Assigned) {
  for (std::string_view text : texts) {
    auto fault = CheckLiteralText(text, use);
    EXPECT_FALSE(fault) << text << "\n  refused at " << fault->line << ":" << fault->column << ": "
                        << fault->description;
  }
}

void ExpectRejected(std::initializer_list<Rejected> cases, LiteralUse use = LiteralUse::Assigned) {
  for (const Rejected& c : cases) {
    auto fault = CheckLiteralText(c.text, use);
    if (!fault) {
      ADD_FAILURE() << "accepted: " << c.text;
      continue;
    }
    EXPECT_EQ(fault->line, c.line) << c.text << "\n  " << fault->description;
    EXPECT_EQ(fault->column, c.column) << c.text << "\n  " << fault->description;
    EXPECT_GT(std::string_view(fault->description).size(), 5u);
  }
}

std::string Repeat(std::string_view unit, size_t count) {
  std::string text;
  text.reserve(unit.size() * count);
  for (size_t i = 0; i < count; ++i) text += unit;
  return text;
}

// `open` + body + `close`, built in place (the text may be megabytes).
std::string Framed(std::string_view open, std::string body, std::string_view close) {
  body.insert(0, open);
  body.append(close);
  return body;
}

}  // namespace

TEST(LiteralCheck, AcceptsJsonDocuments) {
  ExpectAccepted({
      R"({"zt":1,"info":"sucess","dom":"https:\/\/dl.example.com","url":"?x=1&y=2","inf":0})",
      "[]",
      "{}",
      " \t\r\n[ {} , [ ] , { \"a\" : [ ] } ]\r\n ",
      "0",
      "-0.5e-10",
      "1E+300",
      "true",
      "null",
      R"("\"\\\/\b\f\n\r\t\u00e9\uFFFF")",
      R"({"a":{"b":{"c":[1,[2,[3,{"d":null}]]]}},"a":false})",
      // An escaped quote keeps the would-be code inside the string.
      R"({"a":"x\"+alert(1)+\""})",
      R"(["\u0022+alert(1)+\u0022"])",
  });
}

TEST(LiteralCheck, AcceptsScriptLiteralSyntax) {
  ExpectAccepted({
      "{a: 1, _b: 2, $c: 3, d9: 4}",
      "{'single': 'quoted \"inner\" \\' text'}",
      "[.5, 5., +1, -.25e2, 0x1F, -0XAbC, 0]",
      R"(["\x41\0\'", "tab	inside"])",
      "{class_: 1, \"class\": 2, 'new': 3}",
  });
}

TEST(LiteralCheck, AcceptsChineseInsideStrings) {
  ExpectAccepted({"{\"名字\":\"张三\",'说明':'下载链接：https://例子.com/文件.zip'}",
                  "[\"\xA1\xA1\", \"\x81\x40\xFE\xFE\x81\x5C\"]"});
}

TEST(LiteralCheck, RejectsPayloadsThatWouldRunCode) {
  ExpectRejected({
      {R"(new ActiveXObject("WScript.Shell").Run("calc"))", 1, 1},
      {R"({"a": new ActiveXObject("Scripting.FileSystemObject")})", 1, 7},
      {"alert(1)", 1, 1},
      {"(function(){return 1})()", 1, 1},
      {R"({"a":function(){}})", 1, 6},
      {R"(["x"+alert(1)+"y"])", 1, 5},
      {"{'a':'x'+alert(1)+''}", 1, 9},
      {R"js("abc".constructor.constructor("alert(1)")())js", 1, 6},
      {"[1].concat", 1, 4},
      {R"({"a":1}; alert(1))", 1, 8},
      {"[1, 2]\n;evil()", 2, 1},
      {"da = 1", 1, 1},
      {R"({"a":1}, x = 1)", 1, 8},
      {R"({"a":x=1})", 1, 6},
      {"{get a() {return 1}}", 1, 6},
      {"[this, eval]", 1, 2},
      {"[void 0]", 1, 2},
      {"{\"a\":undefined}", 1, 6},
      {"[NaN]", 1, 2},
      {"-Infinity", 1, 2},
      {"[1, 2][0]", 1, 7},
      {"[1]\r\n[0]", 2, 1},
  });
}

TEST(LiteralCheck, RejectsCommentsAndTrailingText) {
  ExpectRejected({
      {R"({"a":1}//x)", 1, 8},
      {"/*@cc_on @*/1", 1, 1},
      {"[1, /* c */ 2]", 1, 5},
      {R"({"a":1}<!-- x)", 1, 8},
      {"[1]]", 1, 4},
      {"1 2", 1, 3},
      {"{} {}", 1, 4},
      {"true;", 1, 5},
      {"[1]\x0B", 1, 4},
  });
}

TEST(LiteralCheck, RejectsBrokenStructure) {
  ExpectRejected({
      {"", 1, 1},
      {"  \r\n ", 2, 2},
      {"[", 1, 2},
      {"{\"a\":1", 1, 7},
      {"{\"a\":", 1, 6},
      {"]", 1, 1},
      {"}", 1, 1},
      {"[1}", 1, 3},
      {"{\"a\":1]", 1, 7},
      {"[}", 1, 2},
      {"{]", 1, 2},
      {"[1,]", 1, 4},
      {"[,1]", 1, 2},
      {"[1,,2]", 1, 4},
      {"{\"a\":1,}", 1, 8},
      {"{,}", 1, 2},
      {"[1 2]", 1, 4},
      {"{\"a\" 1}", 1, 6},
      {"{\"a\":1 \"b\":2}", 1, 8},
      {"{1: 2}", 1, 2},
      {"{a b: 1}", 1, 4},
  });
}

TEST(LiteralCheck, RejectsMalformedNumbers) {
  ExpectRejected({
      {"01", 1, 1},
      {"[-007]", 1, 3},
      {"1.2.3", 1, 4},
      {"1..toString()", 1, 3},
      {"1e", 1, 3},
      {"1e+", 1, 4},
      {"0x", 1, 3},
      {"0xG", 1, 3},
      {"0x1.5", 1, 4},
      {"--1", 1, 2},
      {"- 1", 1, 2},
      {"+-1", 1, 2},
      {"1abc", 1, 2},
      {"[.]", 1, 2},
  });
}

TEST(LiteralCheck, RejectsBadStrings) {
  ExpectRejected({
      {"\"abc", 1, 1},
      {"[\"a\\\"]", 1, 2},
      {"'abc\"", 1, 1},
      {"\"ab\\", 1, 1},
      {"\"a\nb\"", 1, 3},
      {"\"a\rb\"", 1, 3},
      {"\"a\\\nb\"", 1, 3},
      {"\"\\v\"", 1, 2},
      {"\"\\q\"", 1, 2},
      {"\"\\1\"", 1, 2},
      {"\"\\01\"", 1, 2},
      {"\"\\u12\"", 1, 2},
      {"\"\\u12G4\"", 1, 2},
      {"\"\\x4\"", 1, 2},
      {"\"a\x01\"", 1, 3},
      {std::string("\"a\0b\"", 5), 1, 3},
  });
}

TEST(LiteralCheck, UnquotedReservedWordsAreNotNames) {
  ExpectRejected({{"{class: 1}", 1, 2}, {"{a: 1, new: 2}", 1, 8}, {"{true: 1}", 1, 2}});
}

TEST(LiteralCheck, GbkBytesThatCouldHideAQuoteAreRefused) {
  ExpectRejected({
      // 0x80 and 0xFF do not lead a pair; a converter may turn 0x80 into a
      // single character and so let the following quote close the string.
      {"[\"\x80\"+alert(1)+\"\"]", 1, 3},
      {"[\"\xFF\"]", 1, 3},
      // A lead byte before a quote, a backslash, a line break or the end.
      {"[\"\x81\"+alert(1)+\"\"]", 1, 3},
      {"['\x81'+alert(1)+'']", 1, 3},
      {"[\"\xB0\x0A\"]", 1, 3},
      {"[\"\xB0\x0D\"]", 1, 3},
      {"[\"\xB0", 1, 3},
      // Two-byte characters outside strings, such as the ideographic space.
      {"[1,\xA1\xA1 2]", 1, 4},
      {"{名: 1}", 1, 2},
      {"[中]", 1, 2},
  });
}

// The engine receives the text converted from GBK. A GBK pair the checker
// lets into a string must become one character; any other pair may be kept
// as one character or split. Either way nothing between the quotes may be a
// quote, a backslash or a line terminator (CR, LF, U+2028, U+2029).
TEST(LiteralCheck, EveryAcceptedPairStaysInsideItsString) {
  const auto harmless = [](std::wstring_view inside) {
    return inside.find_first_of(L"\"'\\\r\n\u2028\u2029") == std::wstring_view::npos;
  };
  int accepted = 0;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string text = {'"', static_cast<char>(lead), static_cast<char>(trail), '"'};
      if (CheckLiteralText(text, LiteralUse::Assigned)) continue;
      ++accepted;
      const std::wstring whole = GbkToWide(text);
      const bool gbkPair = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFE);
      if (gbkPair) {
        ASSERT_EQ(whole.size(), 3u) << std::hex << lead << " " << trail;
      }
      EXPECT_TRUE(whole.front() == L'"' && whole.back() == L'"' && harmless(whole.substr(1, whole.size() - 2)))
          << std::hex << lead << " " << trail;
      if (!gbkPair) {  // split: the second byte alone
        EXPECT_TRUE(harmless(GbkToWide(text.substr(2, 1)))) << std::hex << lead << " " << trail;
      }
    }
  }
  EXPECT_EQ(accepted, 126 * 251);
}

TEST(LiteralCheck, ReportsLineAndColumnInCharacters) {
  ExpectRejected({
      // CR LF is one line break; a tab and a two-byte character are one
      // column each.
      {"{\r\n  \"a\": 1,\r\n\t\"中文\": [1, 2 3]\r\n}", 3, 14},
      {"[1,\r\r2 x]", 3, 3},
      {"[\n\n\n  true false]", 4, 8},
      {"[\n\r1 x]", 3, 3},
      {"[1,\n  \"abc", 2, 3},
      {"[\"张三\", 李]", 1, 8},
      // Escapes and hex numbers count every character they are written with.
      {R"(["\u0041\x41\t", x])", 1, 18},
      {"[0x1F x]", 1, 7},
  });
}

TEST(LiteralCheck, NestingIsLimitedWithoutRecursion) {
  ExpectAccepted({Repeat("[", 512) + Repeat("]", 512), Repeat("{\"a\":", 511) + "[]" + Repeat("}", 511)});
  ExpectRejected({
      {Repeat("[", 513) + Repeat("]", 513), 1, 513},
      {Repeat("[", 100000), 1, 513},
      {Repeat("[", 100000) + Repeat("]", 100000), 1, 513},
      {Repeat("{\"a\":", 100000) + "1" + Repeat("}", 100000), 1, 5 * 512 + 1},
      {Repeat("[\n", 600), 513, 1},
  });
}

TEST(LiteralCheck, HugeInputsAreCheckedToTheEnd) {
  std::string numbers = Framed("[", Repeat("1234567,", 2'000'000), "0]");
  std::string chinese = Framed("\"", Repeat("中文", 4'000'000), "\"");
  ExpectAccepted({numbers, chinese});
  std::string lines = Framed("[", Repeat("1,\n", 1'000'000), "0]x");
  ExpectRejected({{lines, 1'000'001, 3}, {Framed("", chinese, ")"), 1, 8'000'003}});
}

TEST(LiteralCheck, AStringAsTheWholeEvalArgumentIsRefused) {
  ExpectRejected({{"\"alert(1)\"", 1, 1}, {"  'x'", 1, 3}}, LiteralUse::EvalArgument);
  ExpectAccepted({"[\"alert(1)\"]", "{\"a\":\"b\"}", "1", "null"}, LiteralUse::EvalArgument);
  ExpectAccepted({"\"alert(1)\""}, LiteralUse::Assigned);
}

TEST(LiteralCheck, WellFormedGbkIsPairsOnly) {
  EXPECT_TRUE(IsWellFormedGbk(""));
  EXPECT_TRUE(IsWellFormedGbk("ascii '\"\\"));
  EXPECT_TRUE(IsWellFormedGbk("中文\x81\x40\xFE\xFE\x81\x5C"));
  for (const char* text : {"\x80", "\xFF", "a\x81", "\x81'", "\x81\x7F", "\xB0\x0A"}) {
    EXPECT_FALSE(IsWellFormedGbk(text)) << text;
  }
}
