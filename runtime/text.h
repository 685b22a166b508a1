// Text: an owned, zero-terminated GBK byte string in the runtime heap.
// A null Text is the empty text; commands return null rather than an empty
// block unless they say otherwise.
#pragma once
#include <cstddef>
#include <string_view>

// The shared static empty text, for code that needs a non-null pointer.
extern const char EmptyText[1];

// Byte count of a zero-terminated text; 0 for null.
size_t TextLength(const char* text);
// The bytes of a text without its terminator; empty for null.
inline std::string_view TextView(const char* text) { return std::string_view(text ? text : EmptyText, TextLength(text)); }

class Text {
 public:
  Text() noexcept = default;
  Text(std::nullptr_t) noexcept {}
  Text(Text&& other) noexcept : block_(other.release()) {}
  Text& operator=(Text&& other) noexcept {
    reset(other.release());
    return *this;
  }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { reset(); }

  // Takes ownership of a runtime-heap block holding a zero-terminated text.
  static Text Adopt(char* block) noexcept;
  // A new block with a copy of the bytes; null when they are empty.
  static Text Copy(std::string_view bytes);
  static Text Copy(const char* text) { return Copy(std::string_view(text ? text : "")); }
  // A new block of `length` bytes plus terminator, contents unset; for
  // commands that fill the text at once. Always a block, even for length 0.
  static Text Allocate(size_t length);

  // The raw pointer: null for the null text.
  const char* get() const noexcept { return block_; }
  // Never null: EmptyText stands in for the null text.
  const char* c_str() const noexcept { return block_ ? block_ : EmptyText; }
  char* data() noexcept { return block_; }
  bool IsNull() const noexcept { return block_ == nullptr; }
  bool empty() const noexcept { return !block_ || !*block_; }
  size_t size() const { return TextLength(block_); }
  std::string_view view() const { return std::string_view(c_str()); }

  char* release() noexcept {
    char* block = block_;
    block_ = nullptr;
    return block;
  }
  void reset(char* block = nullptr) noexcept;

 private:
  char* block_ = nullptr;
};
