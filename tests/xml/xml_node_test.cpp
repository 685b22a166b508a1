#include <gtest/gtest.h>

#include "xml/record_maker.h"
#include "xml/xml_document.h"
#include "xml_test_support.h"

namespace {

TEST(XmlNode, NewDocumentHasItsOwnHeap) {
  DWORD heaps = ProcessHeapCount();
  XmlRef<XmlDocument> document = CreateXmlDocument();
  ASSERT_TRUE(document);
  EXPECT_EQ(ProcessHeapCount(), heaps + 1);
  EXPECT_EQ(document->refCount, 1);
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
  ASSERT_EQ(LoadXmlText(document.get(), "<r><a x='1' y='2'><b><c/></b>t</a></r>"), 0);
  XmlTreeNode* r = FirstElement(document.get());
  XmlTreeNode* a = r->firstChild;
  a->firstChild->AddRef();
  auto b = XmlRef<XmlTreeNode>::Adopt(a->firstChild);
  XmlAttribute* x = a->firstAttribute;
  x->AddRef();
  EXPECT_EQ(r->Release(), 0);
  EXPECT_EQ(document->firstChild, nullptr);
  EXPECT_EQ(b->refCount, 1);
  EXPECT_EQ(b->parent, nullptr);
  EXPECT_EQ(b->next, b.get());
  EXPECT_EQ(RenderNode(b.get()), L"b(c)");
  EXPECT_EQ(FirstElement(b.get()), b->firstChild);
  EXPECT_EQ(x->refCount, 1);
  EXPECT_STREQ(x->name, L"x");
  EXPECT_EQ(x->next, x);
  EXPECT_EQ(x->Release(), 0);
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
  XmlRef<XmlDocument> other = CreateXmlDocument();
  EXPECT_FALSE(AppendChild(document.get(), XmlRef<XmlTreeNode>::Adopt(other.release())));
  EXPECT_FALSE(maker.Node(kElementNode, L""));
  EXPECT_FALSE(maker.Attribute(L"", L"v"));
  // A record too large to share a chunk has one of its own.
  XmlRef<XmlTreeNode> large = maker.Node(kTextNode, std::wstring(100000, L'x'));
  EXPECT_EQ(std::wstring(large->value).size(), 100000u);
}

}  // namespace
