// The runtime heap: every value handed between parts lives in the process heap.
#pragma once
#include <cstddef>

// Looks the process heap up once, at start-up; the allocation routines
// also do so themselves while it has not been looked up.
void CacheProcessHeap();
// Zero-filled block. Never returns null: exhausted memory ends the program,
// or throws std::bad_alloc on a thread where AllocationFailureThrows lives.
void* RuntimeAlloc(size_t size);
// Block without zero fill, for values that are filled at once.
void* RuntimeAllocRaw(size_t size);
// Resizes a block; a null block gets a fresh zero-filled one.
void* RuntimeRealloc(void* block, size_t size);
// Returns a block to the heap. Null, low, static (inside the program image)
// and unreadable addresses are ignored, so literals may be passed safely.
void RuntimeFree(void* block);
// Whether the address lies inside the program's loaded image (literals and
// arrays with initial contents).
bool IsInProgramImage(const void* address);

// While it lives, exhausted memory on the calling thread throws
// std::bad_alloc instead of ending the program: for a worker whose failure
// is only its caller's failed request.
class AllocationFailureThrows {
 public:
  AllocationFailureThrows();
  ~AllocationFailureThrows();
  AllocationFailureThrows(const AllocationFailureThrows&) = delete;
  AllocationFailureThrows& operator=(const AllocationFailureThrows&) = delete;

 private:
  bool outer_;
};
