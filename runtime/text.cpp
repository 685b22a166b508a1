#include "runtime/text.h"

#include <cstring>

#include "runtime/byte_scan.h"
#include "runtime/heap.h"

const char EmptyText[1] = {0};

size_t TextLength(const char* text) { return text ? ScanLength(text) : 0; }

Text Text::Adopt(char* block) noexcept {
  Text text;
  text.block_ = block;
  return text;
}

Text Text::Copy(std::string_view bytes) {
  if (bytes.empty()) return Text();
  Text text = Allocate(bytes.size());
  std::memcpy(text.block_, bytes.data(), bytes.size());
  return text;
}

Text Text::Allocate(size_t length) {
  auto* block = static_cast<char*>(RuntimeAllocRaw(length + 1));
  block[length] = 0;
  return Adopt(block);
}

void Text::reset(char* block) noexcept {
  if (block_ && block_ != block) RuntimeFree(block_);
  block_ = block;
}
