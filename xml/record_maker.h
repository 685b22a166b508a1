// Memory of a tree's records. Each record is one block together with its
// texts, carved from chunks of the document's private heap: reading a large
// text costs a few heap calls rather than several per node. A chunk goes
// back to the heap as soon as the last record in it is freed, so a reload
// or a released subtree gives its memory back.
#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string_view>

#include "xml/xml_node.h"

struct RecordChunk;

class RecordMaker {
 public:
  explicit RecordMaker(HANDLE heap) : heap_(heap) {}
  RecordMaker(const RecordMaker&) = delete;
  RecordMaker& operator=(const RecordMaker&) = delete;
  ~RecordMaker();

  HANDLE heap() const { return heap_; }

  // A new node of `kind` from a range: the name of an element or of a
  // processing instruction (trimmed of spaces), the value of the other
  // kinds. Null for an empty range or when the heap has no room.
  XmlRef<XmlTreeNode> Node(NodeKind kind, std::wstring_view units);
  // A new attribute, without a value when `value` is absent; null for an
  // empty name or when the heap has no room.
  XmlRef<XmlAttribute> Attribute(std::wstring_view name, std::optional<std::wstring_view> value);

 private:
  // Room for a record of `bytes` and the texts after it; null when the heap
  // has none.
  void* Carve(size_t bytes);
  void LetGoOfChunk();

  HANDLE heap_;
  RecordChunk* chunk_ = nullptr;  // being carved; held until the next one
};

// Frees a record made by a RecordMaker, texts included.
void FreeRecord(void* record);
