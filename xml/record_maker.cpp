#include "xml/record_maker.h"

#include <algorithm>
#include <new>

struct RecordChunk {
  HANDLE heap;
  size_t live;  // records in it, plus one while a maker carves from it
  size_t used;
  size_t capacity;
};

namespace {

// Chunks grow from the first to the largest size, so a small tree takes
// little memory and a large one few heap calls.
constexpr size_t kFirstChunkBytes = 4 << 10;
constexpr size_t kChunkBytes = 64 << 10;
// A record larger than this gets a chunk of its own.
constexpr size_t kLargeRecord = kChunkBytes / 4;
constexpr size_t kAlignment = alignof(void*);
// Each record is preceded by the address of its chunk.
constexpr size_t kRecordHeader = kAlignment;

size_t RoundUp(size_t bytes) { return (bytes + kAlignment - 1) & ~(kAlignment - 1); }

char* ChunkData(RecordChunk* chunk) { return reinterpret_cast<char*>(chunk) + RoundUp(sizeof(RecordChunk)); }

RecordChunk* NewChunk(HANDLE heap, size_t capacity) {
  void* block = HeapAlloc(heap, 0, RoundUp(sizeof(RecordChunk)) + capacity);
  return block ? new (block) RecordChunk{heap, 0, 0, capacity} : nullptr;
}

void ReleaseChunk(RecordChunk* chunk) {
  if (--chunk->live == 0) HeapFree(chunk->heap, 0, chunk);
}

// Copies `units` with a terminator to `at` and returns where it went.
wchar_t* PlaceText(wchar_t* at, std::wstring_view units) {
  units.copy(at, units.size());
  at[units.size()] = 0;
  return at;
}

std::wstring_view TrimSpaces(std::wstring_view units) {
  size_t first = units.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  return units.substr(first, units.find_last_not_of(L' ') - first + 1);
}

}  // namespace

RecordMaker::~RecordMaker() { LetGoOfChunk(); }

void RecordMaker::LetGoOfChunk() {
  if (chunk_) ReleaseChunk(chunk_);
  chunk_ = nullptr;
}

void* RecordMaker::Carve(size_t bytes) {
  size_t need = RoundUp(kRecordHeader + bytes);
  RecordChunk* chunk = chunk_;
  if (need > kLargeRecord) {
    chunk = NewChunk(heap_, need);
  } else if (!chunk_ || chunk_->capacity - chunk_->used < need) {
    size_t capacity = chunk_ ? std::min(2 * chunk_->capacity, kChunkBytes) : kFirstChunkBytes;
    chunk = NewChunk(heap_, std::max(capacity, need));
    if (chunk) {
      LetGoOfChunk();
      chunk_ = chunk;
      ++chunk->live;
    }
  }
  if (!chunk) return nullptr;
  char* at = ChunkData(chunk) + chunk->used;
  chunk->used += need;
  ++chunk->live;
  *reinterpret_cast<RecordChunk**>(at) = chunk;
  return at + kRecordHeader;
}

void FreeRecord(void* record) {
  ReleaseChunk(*reinterpret_cast<RecordChunk**>(static_cast<char*>(record) - kRecordHeader));
}

XmlRef<XmlTreeNode> RecordMaker::Node(NodeKind kind, std::wstring_view units) {
  if (units.empty()) return {};
  if (kind == kInstructionNode) units = TrimSpaces(units);
  void* block = Carve(sizeof(XmlTreeNode) + (units.size() + 1) * sizeof(wchar_t));
  if (!block) return {};
  auto* node = new (block) XmlTreeNode(heap_, kind);
  wchar_t* text = PlaceText(reinterpret_cast<wchar_t*>(node + 1), units);
  (kind == kElementNode || kind == kInstructionNode ? node->name : node->value) = text;
  return XmlRef<XmlTreeNode>::Adopt(node);
}

XmlRef<XmlAttribute> RecordMaker::Attribute(std::wstring_view name, std::optional<std::wstring_view> value) {
  if (name.empty()) return {};
  size_t units = name.size() + 1 + (value ? value->size() + 1 : 0);
  void* block = Carve(sizeof(XmlAttribute) + units * sizeof(wchar_t));
  if (!block) return {};
  auto* attribute = new (block) XmlAttribute(heap_);
  attribute->name = PlaceText(reinterpret_cast<wchar_t*>(attribute + 1), name);
  if (value) attribute->value = PlaceText(attribute->name + name.size() + 1, *value);
  return XmlRef<XmlAttribute>::Adopt(attribute);
}
