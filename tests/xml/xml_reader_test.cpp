#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/xml_document.h"
#include "xml/xml_reader.h"
#include "xml/xml_text.h"
#include "xml_test_support.h"

namespace {

TEST(XmlReader, ReadsTreesAndReportsFailures) {
  const struct {
    std::string text;
    int result;
    const wchar_t* tree;  // the document's children; empty after a failure
  } cases[] = {
      {"<r><a x='1' y='2'/>hi &amp; bye</r>", 0, L"r(a[x=1,y=2],'hi & bye')"},
      {"<a><b><c/></b>text</a>", 0, L"a(b(c),'text')"},
      // Whitespace-only text makes no node; other text keeps its whitespace.
      {"<r>\r\n\t <a/> \n</r>", 0, L"r(a)"},
      {"<r> x <a/></r>", 0, L"r(' x ',a)"},
      // Text after the last markup makes no node.
      {"<r>tail", 0, L"r"},
      // Open elements at the end stay; <!DOCTYPE x> is one of them.
      {"<a><b></b>", 0, L"a(b)"},
      {"<!DOCTYPE x><r/>", 0, L"!DOCTYPE(r)"},
      {"<?xml version=\"1.0\"?><r/>", 0, L"<?xml[version=1.0]>,r"},
      {"<? pi a=\"1\"?>", 0, L"<?pi[a=1]>"},
      // A quoted value goes to the attribute named last; a name without
      // "=" has no value unless a value follows later.
      {"<a b c='1'>", 0, L"a[b=1]"},
      {"<a b = '1'>", 0, L"a[b=1]"},
      {"<a b c>", 0, L"a[b]"},
      {"<a x=\"\"/>", 0, L"a[x=]"},
      {"<a x=\"&lt;&amp;lt;\"/>", 0, L"a[x=<&lt;]"},
      // A ">" inside a value ends the tag; the next ends it once more.
      {"<a x=\"1>2\">", 0, L"a[x](a[x=1>2])"},
      // Comments and CDATA are kept as written.
      {"<r><!-- a <b> & --></r>", 0, L"r(<!-- a <b> & -->)"},
      {"<r><![CDATA[<x>&amp;]]></r>", 0, L"r(<![<x>&amp;]>)"},
      // Each reference to one of the five entities is decoded once.
      {"<r>&amp;lt;&amp;quot;&lt;&lt;&gt;&apos;&quot;&&lt;</r>", 0, L"r('&lt;&quot;<<>'\"&<')"},
      {"<r a='&amp;amp;amp;'>&#65;&unknown;&LT;&amp</r>", 0, L"r[a=&amp;amp;]('&#65;&unknown;&LT;&amp')"},
      // A ">" in text after a start tag or end tag (no text between) ends
      // another start tag made of everything since the last "<".
      {"<a>1 > 0</a>", -3, L""},
      {"<a/> 1 > 0", 0, L"a,a/>[1]"},
      {"<r></r> 1 > 2", 0, L"r,/r>[1]"},
      {"<r>x</r> 1 > 2", 0, L"r('x')"},
      {"<a>>>", 0, L"a(a>(a>>))"},
      // End tags.
      {"<a></b>", -3, L""},
      {"<a></a >", -3, L""},
      {"<a></a", -3, L""},
      {"<a><b></a></b>", -3, L""},
      {"</a>", -2, L""},
      {"<a></a></a>", -2, L""},
      {"<r>a?></r>", -2, L""},
      // Empty ranges make no node.
      {"<>", -9, L""},
      {"<r><!----></r>", -9, L""},
      {"<r><![CDATA[]]></r>", -9, L""},
      // Runs that would copy the same units into node after node.
      {"<a" + std::string(100000, '>'), -9, L""},
      {std::string(100000, '<'), -9, L""},
  };
  XmlRef<XmlDocument> document = CreateXmlDocument();
  for (const auto& row : cases) {
    SCOPED_TRACE(row.text.substr(0, 40));
    EXPECT_EQ(LoadXmlText(document.get(), row.text.c_str()), row.result);
    EXPECT_EQ(RenderChildren(document.get()), row.tree);
  }
  EXPECT_EQ(LoadXmlText(nullptr, "<a/>"), -1);
}

TEST(XmlReader, SkipsInstructionsOnRequest) {
  XmlRef<XmlDocument> document = CreateXmlDocument();
  EXPECT_EQ(ParseXmlWide(document.get(), L"<?xml version='1.0'?><r/>", true), 0);
  EXPECT_EQ(RenderChildren(document.get()), L"r");
}

// The code page comes from the declaration, and the text is converted with it.
TEST(XmlReader, TakesTheCodePageFromTheDeclaration) {
  const struct {
    const char* text;
    UINT codePage;
    const wchar_t* tree = nullptr;  // the document's children, where the conversion shows
  } cases[] = {
      {"<?xml version=\"1.0\" encoding=\"GB18030\"?>", 54936},
      {"<?xml version=\"1.0\" encoding=\"Gb18030\"?>", 54936},
      {"<?xml version=\"1.0\" encoding='GB18030'?><r/>", 936},
      // The search for the name runs on into the document.
      {"<?xml version=\"1.0\" encoding='utf-8'?><r a=\"gb18030\"/>", 54936},
      {"<?xml version=\"1.0\" encoding='GB18030'?><r a=\"x\"/>", 65001},
      {"<?xml?><r encoding = \"gb18030\"/>", 54936},
      {"<?xml encoding=\"UTF-8\"?>", 65001},
      {"<?xml encoding=\"iso-8859-1\"?>", 28591},
      {"<?xml encoding=\"GB2312\"?>", 936},
      {"<?xml encoding=\"UNICODEfffe\"?>", 1201},
      {"<?xml encoding=\"latin1\"?>", 65001},
      {"<?xml encoding=\"\"?>", 65001},
      {"<?xml version=\"1.0\"?>", 936},
      {"<?xml encoding=\"utf-8\"", 936},
      {"<?XML encoding=\"utf-8\"?>", 936},
      {"<r encoding=\"utf-8\"/><?xml?>", 936},
      {"", 936},
      {"<r>\xd6\xd0</r>", 936, L"r('\u4e2d')"},
      {"<?xml encoding=\"utf-8\"?><r>\xe4\xb8\xad</r>", 65001, L"<?xml[encoding=utf-8]>,r('\u4e2d')"},
      {"<?xml encoding=\"gb18030\"?><r>\xd6\xd0</r>", 54936, L"<?xml[encoding=gb18030]>,r('\u4e2d')"},
      {"<?xml encoding=\"ISO-8859-1\"?><r>\xe9</r>", 28591, L"<?xml[encoding=ISO-8859-1]>,r('\u00e9')"},
      // UTF-16 cannot come as a byte text: the conversion fails, the
      // document is empty and the load succeeds.
      {"<?xml encoding=\"utf-16\"?><r/>", 1200, L""},
  };
  XmlRef<XmlDocument> document = CreateXmlDocument();
  EXPECT_EQ(document->codePage, 65001u);
  for (const auto& row : cases) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(LoadXmlText(document.get(), "<old/>"), 0);
    EXPECT_EQ(LoadXmlText(document.get(), row.text), 0);
    EXPECT_EQ(document->codePage, row.codePage);
    if (row.tree) {
      EXPECT_EQ(RenderChildren(document.get()), row.tree);
    }
  }
}

TEST(XmlReader, DecodingZeroesTheFreedUnits) {
  wchar_t text[] = L"&lt;&amp;amp;x";
  DecodeEntities(text);
  EXPECT_EQ(std::wstring(text, std::size(text)), std::wstring(L"<&amp;x") + std::wstring(8, L'\0'));
}

}  // namespace
