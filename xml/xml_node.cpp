#include "xml/xml_node.h"

#include <new>
#include <utility>

namespace {

// A zero-terminated copy of `units` in `heap`; null when it has no room.
wchar_t* CopyToHeap(HANDLE heap, std::wstring_view units) {
  auto* copy = static_cast<wchar_t*>(HeapAlloc(heap, 0, (units.size() + 1) * sizeof(wchar_t)));
  if (!copy) return nullptr;
  units.copy(copy, units.size());
  copy[units.size()] = 0;
  return copy;
}

template <typename Record, typename... Args>
Record* NewInHeap(HANDLE heap, Args&&... args) {
  void* block = HeapAlloc(heap, 0, sizeof(Record));
  return block ? new (block) Record(heap, std::forward<Args>(args)...) : nullptr;
}

void FreeFromHeap(HANDLE heap, void* block) {
  if (block) HeapFree(heap, 0, block);
}

std::wstring_view TrimSpaces(std::wstring_view units) {
  size_t first = units.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  return units.substr(first, units.find_last_not_of(L' ') - first + 1);
}

// Links `record` last into the circle that starts at `first`.
template <typename Record>
void LinkLast(Record*& first, Record* record) {
  if (!first) {
    first = record;
    return;
  }
  record->prev = first->prev;
  record->next = first;
  first->prev->next = record;
  first->prev = record;
}

}  // namespace

LONG XmlRecord::Query() const { return 1; }

LONG XmlRecord::AddRef() { return InterlockedIncrement(&refCount); }

LONG XmlRecord::Release() {
  LONG left = InterlockedDecrement(&refCount);
  if (left == 0) {
    HANDLE recordHeap = heap;
    Destroy();
    HeapFree(recordHeap, 0, this);
  }
  return left;
}

void XmlRecord::FreeTexts() {
  FreeFromHeap(heap, name);
  FreeFromHeap(heap, value);
  name = value = nullptr;
}

void ReleaseXmlRecord(void* record) { static_cast<XmlRecord*>(record)->Release(); }

void XmlAttribute::Destroy() {
  Unlink();
  FreeTexts();
}

void XmlAttribute::Unlink() {
  prev->next = next;
  next->prev = prev;
  prev = next = this;
}

bool XmlAttribute::SetValue(std::wstring_view units) {
  FreeFromHeap(heap, value);
  value = CopyToHeap(heap, units);
  return value != nullptr;
}

void XmlTreeNode::Destroy() {
  Unlink();
  ClearChildren();
  ReleaseAttributes();
  FreeTexts();
}

void XmlTreeNode::Unlink() {
  if (parent && parent->firstChild == this) parent->firstChild = next == this ? nullptr : next;
  prev->next = next;
  next->prev = prev;
  prev = next = this;
  parent = nullptr;
}

// Releasing a child may destroy a whole subtree. Instead of recursing, the
// walk descends into each child that goes, keeping the way back in the
// child's own `parent` field, and frees a node once its children are gone:
// the same order as the destroy hook's, at any depth.
void XmlTreeNode::ClearChildren() {
  XmlTreeNode* current = this;
  for (;;) {
    if (XmlTreeNode* child = current->firstChild) {
      child->Unlink();
      if (InterlockedDecrement(&child->refCount) == 0) {
        child->parent = current;
        current = child;
      }
      continue;
    }
    if (current == this) return;
    XmlTreeNode* up = current->parent;
    current->Free();
    current = up;
  }
}

void XmlTreeNode::ReleaseAttributes() {
  XmlAttribute* attribute = firstAttribute;
  firstAttribute = nullptr;
  while (attribute) {
    XmlAttribute* following = attribute->next == attribute ? nullptr : attribute->next;
    attribute->Unlink();
    attribute->Release();
    attribute = following;
  }
}

void XmlTreeNode::Free() {
  ReleaseAttributes();
  FreeTexts();
  HeapFree(heap, 0, this);
}

LONG XmlDocument::Release() {
  LONG left = InterlockedDecrement(&refCount);
  if (left == 0) {
    HANDLE privateHeap = heap;
    Destroy();
    HeapDestroy(privateHeap);
  }
  return left;
}

// The nodes go with the heap, all at once.
void XmlDocument::Destroy() { firstChild = nullptr; }

XmlRef<XmlTreeNode> CreateXmlNode(HANDLE heap, NodeKind kind, std::wstring_view units) {
  if (units.empty()) return {};
  auto node = XmlRef<XmlTreeNode>::Adopt(NewInHeap<XmlTreeNode>(heap, kind));
  if (!node) return {};
  bool named = kind == kElementNode || kind == kInstructionNode;
  wchar_t*& text = named ? node->name : node->value;
  text = CopyToHeap(heap, kind == kInstructionNode ? TrimSpaces(units) : units);
  return text ? std::move(node) : XmlRef<XmlTreeNode>();
}

XmlRef<XmlAttribute> CreateXmlAttribute(HANDLE heap, std::wstring_view units) {
  if (units.empty()) return {};
  auto attribute = XmlRef<XmlAttribute>::Adopt(NewInHeap<XmlAttribute>(heap));
  if (!attribute) return {};
  attribute->name = CopyToHeap(heap, units);
  return attribute->name ? std::move(attribute) : XmlRef<XmlAttribute>();
}

bool AppendChild(XmlTreeNode* parent, XmlRef<XmlTreeNode> node) {
  if (parent->kind != kDocumentNode && parent->kind != kElementNode) return false;
  node->parent = parent;
  LinkLast(parent->firstChild, node.release());
  return true;
}

bool AppendAttribute(XmlTreeNode* owner, XmlRef<XmlAttribute> attribute) {
  if (owner->kind != kElementNode && owner->kind != kInstructionNode) return false;
  LinkLast(owner->firstAttribute, attribute.release());
  return true;
}

XmlTreeNode* FirstElement(XmlTreeNode* node) {
  if (!node) return nullptr;
  while (node->parent) node = node->parent;
  XmlTreeNode* child = node->firstChild;
  if (!child) return nullptr;
  do {
    if (child->kind == kElementNode) return child;
    child = child->next;
  } while (child != node->firstChild);
  return nullptr;
}
