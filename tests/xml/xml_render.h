// A compact rendering of a node tree for comparisons:
// element name[attr=value,bare](children), text 'value', comment <!--value-->,
// CDATA <![value]>, processing instruction <?name[attributes]>.
#pragma once
#include <string>

#include "xml/xml_node.h"

inline std::wstring RenderChildren(const XmlTreeNode* parent);

inline std::wstring RenderAttributes(const XmlTreeNode* node) {
  const XmlAttribute* attribute = node->firstAttribute;
  if (!attribute) return {};
  std::wstring out = L"[";
  do {
    if (out.size() > 1) out += L",";
    out += attribute->name;
    if (attribute->value) out += std::wstring(L"=") + attribute->value;
    attribute = attribute->next;
  } while (attribute != node->firstAttribute);
  return out + L"]";
}

inline std::wstring RenderNode(const XmlTreeNode* node) {
  switch (node->kind) {
    case kElementNode: {
      std::wstring children = RenderChildren(node);
      return node->name + RenderAttributes(node) + (children.empty() ? L"" : L"(" + children + L")");
    }
    case kTextNode:
      return std::wstring(L"'") + node->value + L"'";
    case kCommentNode:
      return std::wstring(L"<!--") + node->value + L"-->";
    case kCdataNode:
      return std::wstring(L"<![") + node->value + L"]>";
    case kInstructionNode:
      return std::wstring(L"<?") + node->name + RenderAttributes(node) + L">";
    default:
      return L"?document";
  }
}

inline std::wstring RenderChildren(const XmlTreeNode* parent) {
  std::wstring out;
  const XmlTreeNode* child = parent->firstChild;
  if (!child) return out;
  do {
    if (!out.empty()) out += L",";
    out += RenderNode(child);
    child = child->next;
  } while (child != parent->firstChild);
  return out;
}
