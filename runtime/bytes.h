// Bytes: an owned byte set. The heap block holds a dimension count (always
// 1), a 32-bit length and then the data. Null is the empty set; commands
// never produce a block of length 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

class Bytes {
 public:
  static constexpr size_t kHeaderSize = 8;

  Bytes() noexcept = default;
  Bytes(std::nullptr_t) noexcept {}
  Bytes(Bytes&& other) noexcept : block_(other.release()) {}
  Bytes& operator=(Bytes&& other) noexcept {
    reset(other.release());
    return *this;
  }
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  ~Bytes() { reset(); }

  // Takes ownership of a runtime-heap byte-set block.
  static Bytes Adopt(void* block) noexcept;
  // A new set with a copy of the data; null when size is 0.
  static Bytes Copy(const void* data, size_t size);
  static Bytes Copy(std::string_view data) { return Copy(data.data(), data.size()); }
  // A new set of `size` bytes, zero-filled or left unset; null when size is 0.
  static Bytes Allocate(size_t size, bool zeroFill);

  // Readers of a raw block (null reads as empty).
  static size_t SizeOf(const void* block);
  static const uint8_t* DataOf(const void* block);
  static std::string_view ViewOf(const void* block) {
    return std::string_view(reinterpret_cast<const char*>(DataOf(block)), SizeOf(block));
  }

  const void* block() const noexcept { return block_; }
  const uint8_t* data() const noexcept { return DataOf(block_); }
  uint8_t* data() noexcept { return const_cast<uint8_t*>(DataOf(block_)); }
  size_t size() const noexcept { return SizeOf(block_); }
  bool empty() const noexcept { return size() == 0; }
  std::string_view view() const noexcept { return ViewOf(block_); }

  void* release() noexcept {
    void* block = block_;
    block_ = nullptr;
    return block;
  }
  void reset(void* block = nullptr) noexcept;

 private:
  void* block_ = nullptr;
};
