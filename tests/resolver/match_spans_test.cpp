// Checked against the pattern component itself: the groups found, or a
// search over the span, must give exactly what a search over the whole page
// gives.
#include "resolver/match_spans.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "script/regex_object.h"

namespace {

constexpr char kNameAndSize[] =
    "div class=#引号.*?#引号 id=#引号.*?#引号>(.*?)</div>[\\s\\S]+filesize#引号>.+：(.*?)</div><";
constexpr char kSignature[] = "[0-9a-zA-Z\\_]{70,}_c_c";
constexpr char kAction[] = "action':'(.*?)'";

struct Page {
  const char* what;
  std::string text;
};

// What a search finds: the whole first match and its groups, "||" for none.
std::string Found(const char* pattern, std::string_view subject) {
  RegexObject regex;
  regex.Search(pattern, std::string(subject).c_str(), std::nullopt, std::nullopt, std::nullopt, true);
  return std::string(regex.MatchText(1).view()) + "|" + std::string(regex.SubmatchText(1, 1).view()) + "|" +
         std::string(regex.SubmatchText(1, 2).view());
}

void ExpectSameFirstMatch(const char* pattern, std::string_view (*span)(std::string_view), const Page& page) {
  EXPECT_EQ(Found(pattern, span(page.text)), Found(pattern, page.text)) << page.what;
}

TEST(FindNameAndSize, GivesTheGroupsTheComponentFindsInTheWholePage) {
  const std::string block = "<div class=\"n\" id=\"f\">报告.docx</div>\n<div class=\"n_filesize\">大小：1.5 M</div><i>";
  const std::string hostile = "<div class=\"a\" id=\"b\">x</div>\n";
  const Page pages[] = {
      {"the service's block", "<html>\n" + block + "\n</html>"},
      {"no size mark", "<div class=\"a\" id=\"b\">x</div>\n<div>大小：1 M</div><"},
      {"blocks before the real one", hostile + hostile + block},
      {"heads only after the last tail", "filesize\">a：1</div><\n" + hostile},
      {"the last of two tail lines", block + "\nfilesize\">b：2</div><\nfilesize\">c：3</div>"},
      {"two tails on one line", hostile + "filesize\">a：1</div><filesize\">b：2</div><x"},
      {"no character before the colon", hostile + "filesize\">：1</div><\nfilesize\">：2</div><"},
      {"the mark just before the colon", hostile + "filesize\">a：1</div><filesize\">：2</div><"},
      {"several colons and ends", hostile + "filesize\">a：b：c</div><d</div><e：f"},
      {"head cut by a line break", "<div class=\"a\"\n id=\"b\">x</div>\n" + hostile + block},
      {"head ending at the tail", "<div class=\"a\" id=\"b\">x</div>filesize\">a：1</div><"},
      {"capitals", "<DIV CLASS=\"A\" ID=\"B\">N</DIV>\nFILESIZE\">A：1</DIV><"},
      {"a mark inside a two-byte character", "\x81" "div class=\"a\" id=\"b\">x</div>\nfilesize\">a：1</div><"},
      {"carriage returns", "<div class=\"a\r\" id=\"b\">x</div>\r\n" + hostile + "filesize\">a\r：1</div><\n" + block},
      {"carriage returns only", "<div class=\"a\r\" id=\"b\">x</div>\nfilesize\">a：1\r</div><"},
      {"empty parts and nested heads", "div class=\"div class=\"\" id=\"\"></div>\nfilesize\">.：</div><"},
      {"marks inside the size", hostile + "filesize\">a：filesize\">filesize\">b</div><"},
  };
  for (const Page& page : pages) {
    const std::string whole = Found(kNameAndSize, page.text);
    const std::optional<NameAndSize> found = FindNameAndSize(page.text, DotStopsAtCr());
    const std::string groups = found ? "|" + std::string(found->name) + "|" + std::string(found->size) : "||";
    EXPECT_EQ(groups, whole.substr(whole.find('|'))) << page.what;
  }
}

TEST(SignatureSpan, HoldsTheSameFirstMatchAsTheWholePage) {
  const std::string token(70, 'a');
  const Page pages[] = {
      {"a token", std::string("sign':'") + token + "Z9_c_c','x"},
      {"69 characters only", std::string("'") + token.substr(1) + "_c_c'"},
      {"a long run without the end first", std::string(300, 'b') + " " + token + "_c_c"},
      {"the run's last end", token + "_c_c" + token + "_C_C_c_c_c-x"},
      {"an end 69 characters in, then one 70 in", token.substr(1) + "_c_c" + token + "_c_c"},
      {"a letter inside a two-byte character breaks the run",
       token.substr(30) + "\x81" "A" + token.substr(30) + "_c_c"},
      {"the whole page is the token", token + "_c_c"},
  };
  for (const Page& page : pages) ExpectSameFirstMatch(kSignature, SignatureSpan, page);
}

TEST(ActionSpan, HoldsTheSameFirstMatchAsTheWholePage) {
  const Page pages[] = {
      {"the service's data", "data : { 'action':'downpwd','sign':'x' }"},
      {"no quote after the mark", "x 'action':'downprocess"},
      {"a line break before the quote", "'action':'a\n', 'ACTION':'b'"},
      {"a carriage return before the quote", "'action':'a\r', 'action':'b'\n'action':'c'"},
      {"only carriage returns", "'action':'a\r'"},
      {"a mark inside a two-byte character", "\x81" "action':'a'"},
      {"an empty action", "'action':'', 'action':'b'"},
  };
  for (const Page& page : pages) ExpectSameFirstMatch(kAction, ActionSpan, page);
}

}  // namespace
