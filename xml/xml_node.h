// The records of an XML tree: nodes, attributes and their reference counts.
// Every record and every text of a tree lives in the heap of its document.
#pragma once
#include <windows.h>

#include "runtime/owned_block.h"

enum NodeKind : LONG {
  kDocumentNode = 0,
  kElementNode = 1,
  kCdataNode = 2,
  kCommentNode = 3,
  kInstructionNode = 4,
  kTextNode = 5,
};

// What nodes and attributes share: the operation table, the count, the heap
// and the two texts (zero-terminated UTF-16, null when absent). Records and
// their texts are made by a RecordMaker (record_maker.h).
class XmlRecord {
 public:
  // The operation table, in slot order.
  virtual LONG Query() const;  // always 1
  virtual LONG AddRef();
  // At zero: the destroy hook, then the record is freed with its texts.
  virtual LONG Release();
  virtual void Destroy() = 0;

  LONG refCount = 1;
  HANDLE heap;
  wchar_t* name = nullptr;
  wchar_t* value = nullptr;

 protected:
  explicit XmlRecord(HANDLE ownerHeap) : heap(ownerHeap) {}
  ~XmlRecord() = default;
};

// An attribute: `prev` and `next` link the attributes of one owner in a
// circle; a lone attribute points to itself.
class XmlAttribute : public XmlRecord {
 public:
  explicit XmlAttribute(HANDLE ownerHeap) : XmlRecord(ownerHeap) {}
  void Destroy() override;
  void Unlink();

  XmlAttribute* prev = this;
  XmlAttribute* next = this;
};

// A node. Children form a circle in document order from `firstChild`, whose
// `prev` is the last child; attributes the same from `firstAttribute`.
class XmlTreeNode : public XmlRecord {
 public:
  XmlTreeNode(HANDLE ownerHeap, NodeKind nodeKind) : XmlRecord(ownerHeap), kind(nodeKind) {}
  // Unlinks the node and releases its children and attributes.
  void Destroy() override;
  // Releases every child. A child someone else still holds is detached and
  // stays alive as a node of its own. Deep trees are walked without
  // recursion.
  void ClearChildren();
  // Takes the node out of its parent's and siblings' links.
  void Unlink();

  XmlTreeNode* parent = nullptr;
  XmlTreeNode* next = this;
  XmlTreeNode* prev = this;
  XmlTreeNode* firstChild = nullptr;
  XmlAttribute* firstAttribute = nullptr;
  NodeKind kind;

 private:
  void ReleaseAttributes();
  // What is left of a node whose children are gone: attributes and record.
  void Free();
};

// The top node. Its heap is private to it and goes as a whole with the
// document's last reference.
class XmlDocument : public XmlTreeNode {
 public:
  explicit XmlDocument(HANDLE privateHeap) : XmlTreeNode(privateHeap, kDocumentNode) {}
  LONG Release() override;
  void Destroy() override;

  UINT codePage = CP_UTF8;  // of the last text loaded
};

void ReleaseXmlRecord(void* record);

// Holder of one reference to a record.
template <typename Record>
class XmlRef : public OwnedBlock<Record, ReleaseXmlRecord> {
 public:
  XmlRef() noexcept = default;
  // Takes over a reference the caller owns.
  static XmlRef Adopt(Record* record) noexcept {
    XmlRef ref;
    ref.reset(record);
    return ref;
  }
  Record* get() const noexcept { return this->block_; }
  Record* operator->() const noexcept { return this->block_; }
  explicit operator bool() const noexcept { return this->block_ != nullptr; }
};

// Links `node` last among the children of `parent`, which takes over the
// reference. Refused (false, the node released) unless the parent is a
// document or an element, and for a document as the node.
bool AppendChild(XmlTreeNode* parent, XmlRef<XmlTreeNode> node);
// Links `attribute` last among the attributes of `owner`, which takes over
// the reference. Refused unless the owner is an element or a processing
// instruction.
bool AppendAttribute(XmlTreeNode* owner, XmlRef<XmlAttribute> attribute);

// The first element child of the top-level node above `node`; null if none.
XmlTreeNode* FirstElement(XmlTreeNode* node);
