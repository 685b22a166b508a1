// Sole owner of one runtime-heap block: move-only, released through
// `Release` when replaced or destroyed.
#pragma once

template <typename Block, void (*Release)(void*)>
class OwnedBlock {
 public:
  OwnedBlock() noexcept = default;
  OwnedBlock(OwnedBlock&& other) noexcept : block_(other.release()) {}
  OwnedBlock& operator=(OwnedBlock&& other) noexcept {
    reset(other.release());
    return *this;
  }
  OwnedBlock(const OwnedBlock&) = delete;
  OwnedBlock& operator=(const OwnedBlock&) = delete;
  ~OwnedBlock() { reset(); }

  Block* release() noexcept {
    Block* block = block_;
    block_ = nullptr;
    return block;
  }
  void reset(Block* block = nullptr) noexcept {
    if (block_ && block_ != block) Release(block_);
    block_ = block;
  }

 protected:
  Block* block_ = nullptr;
};
