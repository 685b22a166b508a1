#include "script/regex_object.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

#include "runtime/automation_calls.h"
#include "runtime/codepage.h"

namespace {

constexpr int kNotFound = -2;

// The pattern with every placeholder made a double quote. The placeholder
// begins with an ASCII byte, which is never the second byte of a GBK
// character, so a plain search only finds it at character starts.
std::string WithQuotes(std::string_view pattern) {
  constexpr std::string_view placeholder = QuotePlaceholder;
  std::string result;
  size_t from = 0;
  for (size_t at; (at = pattern.find(placeholder, from)) != std::string_view::npos; from = at + placeholder.size()) {
    result.append(pattern.substr(from, at - from)).push_back('"');
  }
  return result.append(pattern.substr(from));
}

// The component's counts and indexes, truncated toward zero.
int ToInt(double number) {
  return number > INT_MIN - 1.0 && number < INT_MAX + 1.0 ? static_cast<int>(number) : 0;
}

// First exact occurrence of `needle` starting at a character start at or
// after `from` (itself a character start); npos when there is none.
size_t FindFromCharacter(std::string_view text, std::string_view needle, size_t from) {
  for (size_t at = from; at + needle.size() <= text.size(); at += (static_cast<unsigned char>(text[at]) & 0x80) ? 2 : 1) {
    if (text.compare(at, needle.size(), needle) == 0) return at;
  }
  return std::string_view::npos;
}

// A found text as the operations return it: null when empty.
Text NullWhenEmpty(Text text) { return text.empty() ? Text() : std::move(text); }

}  // namespace

RegexObject::RegexObject() { SetVariant(subject_.get(), TypedArg::Int(0)); }

RegexObject::RegexObject(const RegexObject& source) : RegexObject() {
  AssignObject(regex_, source.regex_);
  AssignObject(matches_, source.matches_);
  CopyVariant(subject_.get(), &source.subject_.get());
}

bool RegexObject::Search(const char* pattern, const char* subject, std::optional<bool> caseSensitive,
                         std::optional<bool> multiLine, std::optional<bool> global, bool quotePlaceholder) {
  ReleaseObject(regex_);
  ReleaseObject(matches_);
  CreateObject(regex_, "VBScript.RegExp");
  // The component ignores names it does not know ("Singleline" included).
  PutProperty(regex_, "IgnoreCase", {ArgOf(!caseSensitive.value_or(false))});
  PutProperty(regex_, "Multiline", {ArgOf(multiLine.value_or(true))});
  PutProperty(regex_, "Singleline", {ArgOf(true)});
  PutProperty(regex_, "Global", {ArgOf(global.value_or(true))});
  std::string_view written = pattern ? pattern : "";
  std::string effective = quotePlaceholder ? WithQuotes(written) : std::string(written);
  PutProperty(regex_, "Pattern", {ArgOf(effective.c_str())});
  SetVariant(subject_.get(), ArgOf(subject ? subject : EmptyText));
  matches_ = CallMethodObject(regex_, "Execute", {ArgOf(subject_)});
  return !IsObjectEmpty(matches_);
}

Text RegexObject::GetPattern() {
  if (IsObjectEmpty(regex_)) return Text();
  return GetPropertyText(regex_, "Pattern");
}

Text RegexObject::ReplaceMatches(const char* replacement) {
  VariantCell replacementCell;
  SetVariant(replacementCell.get(), ArgOf(replacement ? replacement : EmptyText));
  return CallMethodText(regex_, "Replace", {ArgOf(subject_), RefTo(replacementCell)});
}

int RegexObject::MatchCount() { return ToInt(GetPropertyNumber(matches_, "Count")); }

int RegexObject::MatchOffset(AutomationObject& match) {
  if (IsObjectEmpty(match)) return kNotFound;
  // The component counts UTF-16 units; the offset is the GBK length of the
  // subject up to there.
  int units = ToInt(GetPropertyNumber(match, "FirstIndex"));
  const VARIANT& subject = subject_.get();
  if (V_VT(&subject) != VT_BSTR || units <= 0) return 0;
  units = std::min(units, static_cast<int>(SysStringLen(V_BSTR(&subject))));
  return WideCharToMultiByte(kTextCodePage, 0, V_BSTR(&subject), units, nullptr, 0, nullptr, nullptr);
}

Text RegexObject::MatchText(int index, int* position) {
  AutomationObject match = GetPropertyObject(matches_, "Item", {ArgOf(index - 1.0)});
  Text text = VariantToText(GetPropertyVariant(match, "Value").get());
  if (position) *position = MatchOffset(match);
  return NullWhenEmpty(std::move(text));
}

Text RegexObject::SubmatchText(int index, int group, int* position) {
  AutomationObject match = GetPropertyObject(matches_, "Item", {ArgOf(index - 1.0)});
  AutomationObject groups = GetPropertyObject(match, "SubMatches");
  VariantCell value = GetPropertyVariant(groups, "Item", {ArgOf(group - 1.0)});
  Text text = VariantToText(value.get());
  if (position) {
    *position = kNotFound;
    int start = MatchOffset(match);
    if (start >= 0 && SUCCEEDED(groups.lastResult)) {
      Text subject = VariantToText(subject_.get());
      size_t at = FindFromCharacter(subject.view(), text.view(), static_cast<size_t>(start));
      if (at != std::string_view::npos) *position = static_cast<int>(at);
    }
  }
  return NullWhenEmpty(std::move(text));
}

int RegexObject::SubMatchCount() {
  AutomationObject first = GetPropertyObject(matches_, "Item", {ArgOf(0)});
  AutomationObject groups = GetPropertyObject(first, "SubMatches");
  return ToInt(GetPropertyNumber(groups, "Count"));
}
