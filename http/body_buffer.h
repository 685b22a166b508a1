// A response body as it is read: a byte-set block that grows by doubling,
// never beyond one byte more than the largest body wanted. A small body of
// a declared length is read straight into its final place; a larger one
// grows with what arrives, since the length is only the server's word.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/bytes.h"

class BodyBuffer {
 public:
  // Room for `expectedSize` bytes plus one, so the read that finds the end
  // needs no growth; at most kLargestFirstBodyBlock.
  BodyBuffer(size_t expectedSize, size_t largest);
  BodyBuffer(const BodyBuffer&) = delete;
  BodyBuffer& operator=(const BodyBuffer&) = delete;
  ~BodyBuffer();

  // Where the next bytes go; grows the block when it is full. `available`
  // receives the free size, at least 1 until the buffer holds more than
  // `largest` bytes (then the caller stops reading).
  uint8_t* FreeSpace(size_t& available);
  void Commit(size_t count) { size_ += count; }
  size_t size() const { return size_; }

  // The bytes read (null when none); the buffer is empty afterwards.
  Bytes Finish();

 private:
  void Grow(size_t capacity);

  void* block_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  size_t largest_;
};
