// Shared by the XML tests: walking and rendering node trees, and counts for
// leak checks.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "xml/xml_node.h"

// The item after `item` in the circle that starts at `first`; null at the end.
template <typename Record>
const Record* NextIn(const Record* first, const Record* item) {
  return item->next == first ? nullptr : item->next;
}

// The items of a circle, each rendered, joined by commas.
template <typename Record, typename Render>
std::wstring RenderCircle(const Record* first, Render render) {
  std::wstring out;
  for (const Record* item = first; item; item = NextIn(first, item)) out += (out.empty() ? L"" : L",") + render(item);
  return out;
}

inline std::wstring RenderChildren(const XmlTreeNode* parent);

// A compact rendering for comparisons: element name[attr=value,bare](children),
// text 'value', comment <!--value-->, CDATA <![value]>, processing
// instruction <?name[attributes]>.
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

// The process's heaps, and the blocks in use in one.
inline DWORD ProcessHeapCount() { return GetProcessHeaps(0, nullptr); }

inline size_t BusyBlocks(HANDLE heap) {
  size_t busy = 0;
  PROCESS_HEAP_ENTRY entry{};
  HeapLock(heap);
  while (HeapWalk(heap, &entry)) busy += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
  HeapUnlock(heap);
  return busy;
}
