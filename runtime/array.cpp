#include "runtime/array.h"

#include "runtime/heap.h"
#include "runtime/typed_arg.h"

size_t ArrayElementCount(const void* block) {
  if (!block) return 0;
  auto* header = static_cast<const int32_t*>(block);
  size_t count = 1;
  for (int32_t d = 0; d < header[0]; ++d) count *= static_cast<size_t>(header[1 + d] > 0 ? header[1 + d] : 0);
  return count;
}

const uint8_t* ArrayElements(const void* block) {
  auto* header = static_cast<const int32_t*>(block);
  return reinterpret_cast<const uint8_t*>(header + 1 + header[0]);
}

TextArray TextArray::From(std::vector<Text> texts) {
  auto* header = static_cast<int32_t*>(RuntimeAlloc(2 * sizeof(int32_t) + texts.size() * sizeof(char*)));
  header[0] = 1;
  header[1] = static_cast<int32_t>(texts.size());
  TextArray array;
  array.block_ = header;
  char** slots = array.elements();
  for (size_t i = 0; i < texts.size(); ++i) slots[i] = texts[i].release();
  return array;
}

char** TextArray::elements() const noexcept {
  return reinterpret_cast<char**>(const_cast<uint8_t*>(ArrayElements(block_)));
}

size_t TextArray::size() const noexcept { return ArrayElementCount(block_); }

const char* TextArray::operator[](size_t i) const noexcept { return elements()[i]; }

void ReleaseTextArray(void* block) { ReleaseArray(ValueType::Text, block); }

void ReleaseArray(uint32_t elementType, void* block) {
  if (!block) return;
  if (elementType == ValueType::Text || elementType == ValueType::Bytes) {
    auto** elements = reinterpret_cast<void**>(const_cast<uint8_t*>(ArrayElements(block)));
    for (size_t i = 0, n = ArrayElementCount(block); i < n; ++i) RuntimeFree(elements[i]);
  } else if (!IsNumericType(elementType) && elementType != ValueType::Logical) {
    return;
  }
  RuntimeFree(block);
}
