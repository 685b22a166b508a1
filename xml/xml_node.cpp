#include "xml/xml_node.h"

#include <utility>

#include "xml/record_maker.h"

namespace {

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
    Destroy();
    FreeRecord(this);
  }
  return left;
}

void ReleaseXmlRecord(void* record) { static_cast<XmlRecord*>(record)->Release(); }

void XmlAttribute::Destroy() { Unlink(); }

void XmlAttribute::Unlink() {
  prev->next = next;
  next->prev = prev;
  prev = next = this;
}

void XmlTreeNode::Destroy() {
  Unlink();
  ClearChildren();
  ReleaseAttributes();
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
  FreeRecord(this);
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

bool AppendChild(XmlTreeNode* parent, XmlRef<XmlTreeNode> node) {
  if (parent->kind != kDocumentNode && parent->kind != kElementNode) return false;
  if (node->kind == kDocumentNode) return false;  // a document is never a child: its release is its own
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
