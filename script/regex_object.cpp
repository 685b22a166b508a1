#include "script/regex_object.h"

#include <algorithm>
#include <climits>

#include "runtime/automation_calls.h"
#include "runtime/codepage.h"
#include "runtime/text_search.h"

namespace {

constexpr int kNotFound = -2;

// The component's counts and indexes, truncated toward zero.
int ToInt(double number) {
  return number > INT_MIN - 1.0 && number < INT_MAX + 1.0 ? static_cast<int>(number) : 0;
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
  // A name the component does not know ("Singleline") just fails its put.
  PutProperty(regex_, "IgnoreCase", {ArgOf(!caseSensitive.value_or(false))});
  PutProperty(regex_, "Multiline", {ArgOf(multiLine.value_or(true))});
  PutProperty(regex_, "Singleline", {ArgOf(true)});
  PutProperty(regex_, "Global", {ArgOf(global.value_or(true))});
  Text effective = quotePlaceholder ? WithQuotes(pattern) : Text::Copy(pattern);
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
      // The component gives no offsets of groups: the group's text is
      // sought from the start of its match.
      int found = text.empty() ? start + 1 : FindText(VariantToText(subject_.get()).get(), text.get(), start + 1);
      if (found > 0) *position = found - 1;
    }
  }
  return NullWhenEmpty(std::move(text));
}

int RegexObject::SubMatchCount() {
  AutomationObject first = GetPropertyObject(matches_, "Item", {ArgOf(0)});
  AutomationObject groups = GetPropertyObject(first, "SubMatches");
  return ToInt(GetPropertyNumber(groups, "Count"));
}
