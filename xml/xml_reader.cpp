#include "xml/xml_reader.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "xml/xml_text.h"

namespace {

// What the last markup opener began.
enum class Markup { kNone, kStartTag, kCdata, kComment, kInstruction, kText };

// One reading of a text. A markup opener ("<", "<?", "<!--", "<![CDATA[")
// sets `tagStart_`; the closer that follows makes a node from the units in
// between. Nothing resets the opener after its node is made, so a later
// closer of the same kind makes another node from the same opener: a ">" in
// text closes another start tag made of everything since that tag's "<".
// Likewise text is taken from the end of the last markup, however many "<"
// came since.
//
// So broken markup can copy the same units into node after node: a run of
// closers after one opener, or of "<" with no markup ending, would grow the
// tree with the square of the text. The units copied into nodes are
// therefore bounded by a multiple of the text's length that well-formed and
// merely sloppy texts stay far below; beyond it the reading fails as out of
// memory instead of exhausting it.
class XmlReader {
 public:
  XmlReader(XmlTreeNode* root, std::wstring_view text, bool skipInstructions)
      : text_(text),
        skipInstructions_(skipInstructions),
        maker_(root->heap),
        open_{root},
        copyBudget_(CopyBudget(text.size())) {}

  int Run() {
    for (;;) {
      SkipPlainUnits();
      if (at_ == text_.size()) return kXmlRead;
      int result = Step();
      if (result != kXmlRead) return result;
    }
  }

 private:
  int Step() {
    bool inMarkupText = inCdata_ || inComment_;
    switch (text_[at_]) {
      case L'<':
        if (!inMarkupText) return OnOpener();
        break;
      case L'?':
        if (!inMarkupText && Follows(L"?>")) return OnInstructionEnd();
        break;
      case L'-':
        if (!inCdata_ && Follows(L"-->") && markup_ == Markup::kComment && tagStart_ >= 0) {
          inComment_ = false;
          return MakeNode(kCommentNode, 2);
        }
        break;
      case L']':
        if (!inComment_ && Follows(L"]]>") && markup_ == Markup::kCdata && tagStart_ >= 0) {
          inCdata_ = false;
          return MakeNode(kCdataNode, 2);
        }
        break;
      case L'/':
        if (!inMarkupText && Follows(L"/>") && markup_ == Markup::kStartTag && tagStart_ >= 0) {
          return MakeNode(kElementNode, 1);
        }
        break;
      case L'>':
        if (!inMarkupText && markup_ == Markup::kStartTag && tagStart_ >= 0) return MakeNode(kElementNode, 0);
        break;
    }
    ++at_;
    return kXmlRead;
  }

  // "<" outside CDATA and comments: the text before it, then what it opens.
  int OnOpener() {
    tagStart_ = static_cast<ptrdiff_t>(at_);
    if (int result = MakeText(); result != kXmlRead) return result;
    if (Follows(L"</")) return OnEndTag();
    if (Follows(L"<?")) return Open(Markup::kInstruction, 1);
    if (Follows(L"<!--")) {
      inComment_ = true;
      return Open(Markup::kComment, 3);
    }
    if (Follows(L"<![CDATA[")) {
      inCdata_ = true;
      return Open(Markup::kCdata, 8);
    }
    markup_ = Markup::kStartTag;
    ++at_;
    return kXmlRead;
  }

  // The opener's last unit is `tagStart_`; reading goes on after it.
  int Open(Markup markup, size_t lastUnit) {
    markup_ = markup;
    tagStart_ = static_cast<ptrdiff_t>(at_ + lastUnit);
    at_ += lastUnit + 1;
    return kXmlRead;
  }

  // Text holding a visible character becomes a text node, whitespace around
  // it kept.
  int MakeText() {
    std::wstring_view units = text_.substr(textFrom_, at_ - textFrom_);
    if (units.empty() || !HasVisibleChar(units)) return kXmlRead;
    if (!Spend(units.size())) return kXmlNodeFailed;
    XmlRef<XmlTreeNode> node = maker_.Node(kTextNode, units);
    if (!node) return kXmlNodeFailed;
    DecodeEntities(node->value);
    if (!AppendChild(Parent(), std::move(node))) return kXmlNodeFailed;
    markup_ = Markup::kText;
    return kXmlRead;
  }

  // "</" + the open element's name + ">", nothing in between.
  int OnEndTag() {
    XmlTreeNode* element = Parent();
    if (open_.size() == 1 || element->kind != kElementNode) return kXmlStrayClose;
    size_t close = at_ + 2;
    for (const wchar_t* name = element->name; *name; ++name, ++close) {
      if (close == text_.size() || text_[close] != *name) return kXmlEndTagMismatch;
    }
    if (close == text_.size() || text_[close] != L'>') return kXmlEndTagMismatch;
    open_.pop_back();
    textFrom_ = close + 1;
    at_ = close + 1;
    return kXmlRead;
  }

  int OnInstructionEnd() {
    if (tagStart_ < 0 || markup_ != Markup::kInstruction) return kXmlStrayClose;
    if (skipInstructions_) {
      Closed(at_ + 1);
      return kXmlRead;
    }
    return MakeNode(kInstructionNode, 1);
  }

  // A node of `kind` from the units between the opener and the closer that
  // starts here and whose ">" is `gtOffset` units on.
  int MakeNode(NodeKind kind, size_t gtOffset) {
    size_t from = static_cast<size_t>(tagStart_) + 1;
    std::wstring_view units = text_.substr(from, at_ - from);
    if (!Spend(units.size())) return kXmlNodeFailed;
    bool hasHead = kind == kElementNode || kind == kInstructionNode;
    XmlRef<XmlTreeNode> node = hasHead ? ParseTagHead(maker_, kind, units) : maker_.Node(kind, units);
    if (!node) return kXmlNodeFailed;
    XmlTreeNode* element = gtOffset == 0 ? node.get() : nullptr;  // a start tag ended by ">" opens
    if (!AppendChild(Parent(), std::move(node))) return kXmlNodeFailed;
    if (element) open_.push_back(element);
    Closed(at_ + gtOffset);
    return kXmlRead;
  }

  // After a closer ending at `gt`.
  void Closed(size_t gt) {
    textFrom_ = gt + 1;
    at_ = gt + 1;
  }

  static size_t CopyBudget(size_t textUnits) {
    constexpr size_t kFactor = 4, kSlack = 65536;
    return textUnits > (SIZE_MAX - kSlack) / kFactor ? SIZE_MAX : kFactor * textUnits + kSlack;
  }

  bool Spend(size_t units) {
    if (units > copyBudget_) return false;
    copyBudget_ -= units;
    return true;
  }

  // Moves to the next unit that a step may act on.
  void SkipPlainUnits() {
    constexpr unsigned long long kMarkupBelow64 = 1ull << '-' | 1ull << '/' | 1ull << '<' | 1ull << '>' | 1ull << '?';
    while (at_ < text_.size()) {
      wchar_t unit = text_[at_];
      if (unit < 64 ? (kMarkupBelow64 >> unit) & 1 : unit == L']') return;
      ++at_;
    }
  }

  // Compared unit by unit: a few units, at each markup unit.
  bool Follows(std::wstring_view units) const {
    if (text_.size() - at_ < units.size()) return false;
    for (size_t k = 0; k < units.size(); ++k) {
      if (text_[at_ + k] != units[k]) return false;
    }
    return true;
  }
  XmlTreeNode* Parent() const { return open_.back(); }

  std::wstring_view text_;
  bool skipInstructions_;
  RecordMaker maker_;
  std::vector<XmlTreeNode*> open_;  // the root, then the open elements
  size_t at_ = 0;
  ptrdiff_t tagStart_ = -1;  // the opener's last unit
  size_t textFrom_ = 0;      // where pending text begins
  Markup markup_ = Markup::kNone;
  bool inCdata_ = false;
  bool inComment_ = false;
  size_t copyBudget_;  // units that may still be copied into nodes
};

bool IsTagSpace(wchar_t unit) { return unit == L' ' || unit == L'\t' || unit == L'\r' || unit == L'\n'; }

}  // namespace

int ParseXmlWide(XmlTreeNode* root, std::wstring_view text, bool skipInstructions) {
  int result = XmlReader(root, text, skipInstructions).Run();
  if (result != kXmlRead) root->ClearChildren();
  return result;
}

// An attribute is named by the units before whitespace or "="; the next
// quoted value goes to the attribute named last, however far back. That
// attribute is made once its value is known (or no value can come any more),
// so it is one record with its texts.
XmlRef<XmlTreeNode> ParseTagHead(RecordMaker& maker, NodeKind kind, std::wstring_view units) {
  XmlRef<XmlTreeNode> node;
  std::optional<std::wstring_view> pending;  // name of the attribute a value would go to
  wchar_t quote = 0;
  size_t quoteStart = 0;
  bool valueExpected = false;
  size_t last = 0;  // where the next name starts
  auto settle = [&](std::optional<std::wstring_view> value) {
    if (!pending) return;
    XmlRef<XmlAttribute> attribute = maker.Attribute(*pending, value);
    pending.reset();
    if (!attribute) return;
    if (attribute->value) DecodeEntities(attribute->value);
    AppendAttribute(node.get(), std::move(attribute));
  };
  auto name = [&](size_t end) {
    settle(std::nullopt);
    if (end > last) pending = units.substr(last, end - last);
  };
  for (size_t k = 0; k < units.size(); ++k) {
    wchar_t unit = units[k];
    if (IsTagSpace(unit)) {
      if (valueExpected) continue;
      if (!node) {
        node = maker.Node(kind, units.substr(0, k));
      } else if (units[k - 1] > 32 && k > last) {
        name(k);
      }
      last = k + 1;
    } else if (unit == L'=') {
      valueExpected = true;
      if (node && !pending) {
        name(k);
        last = k + 1;
      }
    } else if (unit == L'"' || unit == L'\'') {
      if (!quote) {
        quote = unit;
        quoteStart = k;
      } else if (unit == quote && pending) {
        settle(units.substr(quoteStart + 1, k - quoteStart - 1));
        quote = 0;
        valueExpected = false;
        last = k + 1;
      }
    }
  }
  if (!node) return maker.Node(kind, units);
  settle(std::nullopt);
  return node;
}
