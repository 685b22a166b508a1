#include "http/body_buffer.h"

#include <algorithm>
#include <cstring>

#include "http/exchange_deadline.h"
#include "runtime/heap.h"

namespace {
constexpr size_t kInitialCapacity = 64 * 1024;
}  // namespace

BodyBuffer::BodyBuffer(size_t expectedSize, size_t largest) : largest_(largest) {
  Grow(std::min({expectedSize, kLargestFirstBodyBlock, largest}) + 1);
}

BodyBuffer::~BodyBuffer() { RuntimeFree(block_); }

uint8_t* BodyBuffer::FreeSpace(size_t& available) {
  if (size_ == capacity_) Grow(std::min(std::max(capacity_ * 2, kInitialCapacity), largest_ + 1));
  available = capacity_ - size_;
  return static_cast<uint8_t*>(block_) + Bytes::kHeaderSize + size_;
}

Bytes BodyBuffer::Finish() {
  if (size_ == 0) return Bytes();
  // A doubled block may be nearly twice the body: give the rest back.
  if (capacity_ - size_ > size_ / 8) block_ = RuntimeRealloc(block_, Bytes::kHeaderSize + size_);
  auto* header = static_cast<int32_t*>(block_);
  header[0] = 1;
  header[1] = static_cast<int32_t>(size_);
  Bytes bytes = Bytes::Adopt(block_);
  block_ = nullptr;
  size_ = capacity_ = 0;
  return bytes;
}

void BodyBuffer::Grow(size_t capacity) {
  block_ =
      block_ ? RuntimeRealloc(block_, Bytes::kHeaderSize + capacity) : RuntimeAllocRaw(Bytes::kHeaderSize + capacity);
  capacity_ = capacity;
}
