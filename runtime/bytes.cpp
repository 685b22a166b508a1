#include "runtime/bytes.h"

#include <cstring>

#include "runtime/heap.h"

Bytes Bytes::Adopt(void* block) noexcept {
  Bytes bytes;
  bytes.block_ = block;
  return bytes;
}

Bytes Bytes::Copy(const void* data, size_t size) {
  Bytes bytes = Allocate(size, false);
  if (size) std::memcpy(bytes.data(), data, size);
  return bytes;
}

Bytes Bytes::Allocate(size_t size, bool zeroFill) {
  if (size == 0) return Bytes();
  size_t total = kHeaderSize + size;
  auto* header = static_cast<int32_t*>(zeroFill ? RuntimeAlloc(total) : RuntimeAllocRaw(total));
  header[0] = 1;
  header[1] = static_cast<int32_t>(size);
  return Adopt(header);
}

size_t Bytes::SizeOf(const void* block) {
  if (!block) return 0;
  int32_t length = static_cast<const int32_t*>(block)[1];
  return length > 0 ? static_cast<size_t>(length) : 0;
}

const uint8_t* Bytes::DataOf(const void* block) {
  return block ? static_cast<const uint8_t*>(block) + kHeaderSize : nullptr;
}
