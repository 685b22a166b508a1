#include <gtest/gtest.h>

#include "heap_census.h"
#include "xml/record_maker.h"
#include "xml/xml_document.h"
#include "xml_render.h"

namespace {

XmlRef<XmlTreeNode> Hold(XmlTreeNode* node) {
  node->AddRef();
  return XmlRef<XmlTreeNode>::Adopt(node);
}

TEST(XmlNode, NewDocumentHasItsOwnHeap) {
  DWORD heaps = ProcessHeapCount();
  XmlRef<XmlDocument> document = CreateXmlDocument();
  ASSERT_TRUE(document);
  EXPECT_EQ(ProcessHeapCount(), heaps + 1);
  EXPECT_NE(document->heap, GetProcessHeap());
  EXPECT_EQ(document->refCount, 1);
  EXPECT_EQ(document->kind, kDocumentNode);
  EXPECT_EQ(document->next, document.get());
  EXPECT_EQ(document->prev, document.get());
  EXPECT_EQ(document->Query(), 1);
  EXPECT_EQ(document->AddRef(), 2);
  EXPECT_EQ(document->Release(), 1);
  EXPECT_EQ(ProcessHeapCount(), heaps + 1);
  document.reset();
  EXPECT_EQ(ProcessHeapCount(), heaps) << "the last release destroys the heap";
}

TEST(XmlNode, ReleaseUnlinksFromParentAndSiblings) {
  XmlRef<XmlDocument> document = CreateXmlDocument();
  ASSERT_EQ(LoadXmlText(document.get(), "<r><a/><b/><c/></r>"), 0);
  XmlTreeNode* r = FirstElement(document.get());
  XmlTreeNode* a = r->firstChild;
  XmlTreeNode* c = a->prev;
  EXPECT_EQ(FirstElement(c), r) << "climbs to the top first";
  EXPECT_EQ(a->Release(), 0);
  EXPECT_EQ(RenderChildren(r), L"b,c");
  EXPECT_EQ(r->firstChild->prev, c);
  EXPECT_EQ(c->Release(), 0);
  EXPECT_EQ(RenderChildren(r), L"b");
  EXPECT_EQ(r->firstChild->next, r->firstChild);
  EXPECT_EQ(r->firstChild->Release(), 0);
  EXPECT_EQ(r->firstChild, nullptr);
}

// Children and attributes are released with their parent; one that someone
// else holds outlives it, detached, with its own subtree whole.
TEST(XmlNode, HeldNodesOutliveTheirParent) {
  XmlRef<XmlDocument> document = CreateXmlDocument();
  ASSERT_EQ(LoadXmlText(document.get(), "<r><a x='1'><b><c/></b>t</a></r>"), 0);
  XmlTreeNode* r = FirstElement(document.get());
  XmlTreeNode* a = r->firstChild;
  XmlRef<XmlTreeNode> b = Hold(a->firstChild);
  XmlAttribute* x = a->firstAttribute;
  x->AddRef();
  EXPECT_EQ(b->refCount, 2);

  EXPECT_EQ(r->Release(), 0);
  EXPECT_EQ(document->firstChild, nullptr);
  EXPECT_EQ(b->refCount, 1);
  EXPECT_EQ(b->parent, nullptr);
  EXPECT_EQ(b->next, b.get());
  EXPECT_EQ(RenderNode(b.get()), L"b(c)");
  EXPECT_EQ(FirstElement(b.get()), b->firstChild);
  EXPECT_STREQ(x->name, L"x");
  EXPECT_EQ(x->next, x);
  EXPECT_EQ(x->Release(), 0);

  // A reload releases the old tree the same way.
  ASSERT_EQ(LoadXmlText(document.get(), "<r><a/></r>"), 0);
  XmlRef<XmlTreeNode> heldA = Hold(FirstElement(document.get())->firstChild);
  ASSERT_EQ(LoadXmlText(document.get(), "<z/>"), 0);
  EXPECT_EQ(heldA->refCount, 1);
  EXPECT_EQ(heldA->parent, nullptr);
  EXPECT_EQ(RenderChildren(document.get()), L"z");
}

TEST(XmlNode, ReloadsAndFailedLoadsFreeEveryBlock) {
  XmlRef<XmlDocument> document = CreateXmlDocument();
  size_t empty = BusyBlocks(document->heap);
  ASSERT_EQ(LoadXmlText(document.get(), "<?pi a='1'?><r x='&amp;' y><a>t<!--c--><![CDATA[d]]></a><b/></r>"), 0);
  EXPECT_GT(BusyBlocks(document->heap), empty);
  EXPECT_EQ(LoadXmlText(document.get(), "<r><a x='1'>text</a></b>"), -3);
  EXPECT_EQ(document->firstChild, nullptr);
  EXPECT_EQ(BusyBlocks(document->heap), empty);
}

TEST(XmlNode, AppendRules) {
  XmlRef<XmlDocument> document = CreateXmlDocument();
  RecordMaker maker(document->heap);
  XmlRef<XmlTreeNode> text = maker.Node(kTextNode, L"t");
  XmlTreeNode* textNode = text.get();
  ASSERT_TRUE(AppendChild(document.get(), std::move(text)));
  EXPECT_FALSE(AppendChild(textNode, maker.Node(kElementNode, L"e")));
  EXPECT_FALSE(AppendAttribute(textNode, maker.Attribute(L"a", std::nullopt)));
  XmlRef<XmlTreeNode> instruction = maker.Node(kInstructionNode, L"  pi ");
  EXPECT_STREQ(instruction->name, L"pi");
  EXPECT_TRUE(AppendAttribute(instruction.get(), maker.Attribute(L"a", L"")));
  EXPECT_FALSE(AppendChild(instruction.get(), maker.Node(kElementNode, L"e")));
  EXPECT_FALSE(maker.Node(kElementNode, L""));
  EXPECT_FALSE(maker.Attribute(L"", L"v"));
  // A record too large to share a chunk has one of its own.
  XmlRef<XmlTreeNode> large = maker.Node(kTextNode, std::wstring(100000, L'x'));
  EXPECT_EQ(std::wstring(large->value).size(), 100000u);
}

}  // namespace
