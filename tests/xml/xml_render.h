// A compact rendering of a node tree for comparisons: element
// name[attr=value,bare](children), text 'value', comment <!--value-->, CDATA
// <![value]>, processing instruction <?name[attributes]>.
#pragma once
#include <string>

#include "xml/xml_node.h"

// The items of a circle, each rendered, joined by commas.
template <typename Record, typename Render>
std::wstring RenderCircle(const Record* first, Render render) {
  std::wstring out;
  for (const Record* item = first; item; item = item->next == first ? nullptr : item->next) {
    out += (out.empty() ? L"" : L",") + render(item);
  }
  return out;
}

inline std::wstring RenderChildren(const XmlTreeNode* parent);

inline std::wstring RenderNode(const XmlTreeNode* node) {
  std::wstring attributes = RenderCircle(node->firstAttribute, [](const XmlAttribute* attribute) {
    return attribute->name + (attribute->value ? L"=" + std::wstring(attribute->value) : L"");
  });
  if (!attributes.empty()) attributes = L"[" + attributes + L"]";
  std::wstring children = RenderChildren(node);
  if (!children.empty()) children = L"(" + children + L")";
  switch (node->kind) {
    case kElementNode: return node->name + attributes + children;
    case kTextNode: return L"'" + std::wstring(node->value) + L"'";
    case kCommentNode: return L"<!--" + std::wstring(node->value) + L"-->";
    case kCdataNode: return L"<![" + std::wstring(node->value) + L"]>";
    case kInstructionNode: return L"<?" + std::wstring(node->name) + attributes + L">";
    default: return L"?document";
  }
}

inline std::wstring RenderChildren(const XmlTreeNode* parent) { return RenderCircle(parent->firstChild, RenderNode); }
