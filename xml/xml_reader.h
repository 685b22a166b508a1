// The reader that turns UTF-16 XML text into a tree of nodes. A small
// hand-written parser, not a conforming one: elements, attributes, text,
// comments, CDATA sections and processing instructions; only the five
// predefined entities are decoded.
#pragma once
#include <string_view>

#include "xml/record_maker.h"
#include "xml/xml_node.h"

// Reader results.
inline constexpr int kXmlRead = 0;
inline constexpr int kXmlNoDocument = -1;
// An end tag with no element open, or "?>" outside a processing instruction.
inline constexpr int kXmlStrayClose = -2;
// An end tag that does not name the open element exactly, ">" right after it.
inline constexpr int kXmlEndTagMismatch = -3;
// A node that could not be made (empty range, no room) or attached.
inline constexpr int kXmlNodeFailed = -9;

// Reads `text` into children of `root`. On a negative result the root is
// left without children. Elements still open at the end stay in the tree.
int ParseXmlWide(XmlTreeNode* root, std::wstring_view text, bool skipInstructions);

// An element or processing instruction (`kind`) from the units between "<"
// and ">": its name, and its attributes with their quoted values decoded.
XmlRef<XmlTreeNode> ParseTagHead(RecordMaker& maker, NodeKind kind, std::wstring_view units);
