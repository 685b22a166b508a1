// Arrays: a heap block of a dimension count n, n 32-bit sizes, then the
// elements packed row-major. An array of texts owns its elements.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/owned_block.h"
#include "runtime/text.h"

// Element count of an array block (the product of its sizes; 1 for n = 0).
size_t ArrayElementCount(const void* block);
// Address of the first element of an array block.
const uint8_t* ArrayElements(const void* block);

// Releases an array block by its element type code: text and byte-set
// elements are released first, numeric and logical arrays only as a block.
void ReleaseArray(uint32_t elementType, void* block);
void ReleaseTextArray(void* block);

// A one-dimensional array of Text pointers, owned along with its texts.
class TextArray : public OwnedBlock<void, ReleaseTextArray> {
 public:
  TextArray() noexcept = default;

  // Builds the block from the given texts; always a block, size 0 when empty.
  static TextArray From(std::vector<Text> texts);

  size_t size() const noexcept;
  // Element i; null for a null (empty) element.
  const char* operator[](size_t i) const noexcept;
  const void* block() const noexcept { return block_; }

 private:
  char** elements() const noexcept;
};
