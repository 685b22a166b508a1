#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "xml_test_support.h"
#include "xml/xml_document.h"

namespace {

const std::string kSeeds[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE r><r a='1' b=\"&lt;2&gt;\" c><x/>text &amp; more"
    "<!-- c <y> --><![CDATA[<d>&amp;]]><?pi x='y'?><z q=\"1\">\xe4\xb8\xad</z></r>",
    "<a><b c='1' d = \"2\"><e>t</e></b> 1 > 0 <f/>&quot;&apos;</a>",
    "<?xml encoding=\"gb18030\"?><r>\xd6\xd0<s t='&amp;lt;'/></r>",
};
const std::string kTokens[] = {"<",  ">",     "/>", "</", "<!--", "-->", "<![CDATA[", "]]>", "<?", "?>", "&amp;",
                               "&lt", "\"",   "'",  "=",  " ",    "<a>", "</a>",      "\xe4", "\xff", "\r\n"};

size_t Below(std::mt19937& random, size_t bound) { return bound ? random() % bound : 0; }

// Truncations, stray markup, cut and repeated pieces, changed bytes.
std::string Mutate(std::string text, std::mt19937& random) {
  for (size_t edits = 1 + Below(random, 4); edits > 0; --edits) {
    size_t at = Below(random, text.size() + 1);
    size_t span = Below(random, text.size() - at + 1);
    switch (random() % 5) {
      case 0: text.resize(at); break;
      case 1: text.insert(at, kTokens[Below(random, std::size(kTokens))]); break;
      case 2: text.erase(at, span); break;
      case 3: text.insert(Below(random, text.size() + 1), text.substr(at, span)); break;
      default:
        if (at < text.size()) text[at] = static_cast<char>(1 + Below(random, 255));
    }
  }
  return text;
}

// Markup-heavy noise.
std::string Noise(std::mt19937& random) {
  static const char kAlphabet[] = "<>/?!-[]=\"'& abAC\t\n";
  std::string text(Below(random, 80), ' ');
  for (char& unit : text) unit = kAlphabet[Below(random, sizeof kAlphabet - 1)];
  return text;
}

// Every child points back to its parent and every circle closes.
void ExpectSoundTree(const XmlTreeNode* root) {
  std::vector<const XmlTreeNode*> pending{root};
  while (!pending.empty()) {
    const XmlTreeNode* node = pending.back();
    pending.pop_back();
    for (const auto* a = node->firstAttribute; a; a = NextIn(node->firstAttribute, a)) ASSERT_EQ(a->next->prev, a);
    for (const auto* child = node->firstChild; child; child = NextIn(node->firstChild, child)) {
      ASSERT_EQ(child->parent, node);
      ASSERT_EQ(child->next->prev, child);
      pending.push_back(child);
    }
  }
}

// Loads `texts` one after another into a document, then checks that
// nothing of them is left in its heap.
void LoadAll(const std::vector<std::string>& texts) {
  XmlRef<XmlDocument> document = CreateXmlDocument();
  size_t empty = BusyBlocks(document->heap);
  for (const std::string& text : texts) {
    int result = LoadXmlText(document.get(), text.c_str());
    ASSERT_TRUE(result == 0 || result == -2 || result == -3 || result == -9) << result << " " << text;
    if (result != 0) {
      ASSERT_EQ(document->firstChild, nullptr) << text;
    }
    ExpectSoundTree(document.get());
  }
  ASSERT_EQ(LoadXmlText(document.get(), ""), 0);
  EXPECT_EQ(BusyBlocks(document->heap), empty);
}

TEST(XmlCorpus, RandomAndMutatedTextsLoadWithoutLeaks) {
  DWORD heaps = ProcessHeapCount();
  std::mt19937 random(12);
  for (int batch = 0; batch < 100; ++batch) {
    std::vector<std::string> texts;
    for (int i = 0; i < 1000; ++i) {
      texts.push_back(i % 4 ? Mutate(kSeeds[Below(random, std::size(kSeeds))], random) : Noise(random));
    }
    LoadAll(texts);
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(ProcessHeapCount(), heaps) << "every document's heap is destroyed";
}

TEST(XmlCorpus, DeepAndHugeTextsLoadWithoutLeaks) {
  const size_t depth = 1000000;
  std::string deep;
  for (size_t i = 0; i < depth; ++i) deep += "<a>";
  const std::string huge(4 << 20, 'v');
  std::string manyAttributes = "<a";
  for (int i = 0; i < 100000; ++i) manyAttributes += " n" + std::to_string(i) + "='&amp;'";
  LoadAll({deep, deep + "</b>", deep + std::string(depth, '>'), "<a x=\"" + huge + "\"/>", "<a>" + huge + "</a>",
           "<!--" + huge, manyAttributes + "/>", std::string(1 << 20, '<'), "<a" + std::string(1 << 20, '>')});

  // Releasing the top of a deep tree walks it without recursion.
  XmlRef<XmlDocument> document = CreateXmlDocument();
  ASSERT_EQ(LoadXmlText(document.get(), deep.c_str()), 0);
  EXPECT_EQ(FirstElement(document.get())->Release(), 0);
  EXPECT_EQ(document->firstChild, nullptr);
}

}  // namespace
