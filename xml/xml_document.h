// XML documents: the top node with its private heap, and loading a text.
#pragma once
#include "xml/xml_node.h"

// A new empty document in a heap of its own; null when no heap can be made.
XmlRef<XmlDocument> CreateXmlDocument();

// Replaces the document's children by the tree read from `text`, a GBK or
// declared-encoding byte text. 0 on success, -1 without a document, or a
// reader result (see xml_reader.h); a failed load leaves the document empty.
// A text that cannot be converted to UTF-16 loads as an empty document.
int LoadXmlText(XmlDocument* document, const char* text);
