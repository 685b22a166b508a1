#include "runtime/heap.h"

#include <windows.h>

#include <new>

#include "runtime/message_box.h"
#include "runtime/program_end.h"

namespace {

thread_local bool allocationFailureThrows = false;

// Looked up once, by whichever thread allocates first (the initialisation
// of a local static is safe from several threads at once).
HANDLE Heap() {
  static const HANDLE heap = GetProcessHeap();
  return heap;
}

[[noreturn]] void OutOfMemory() {
  if (allocationFailureThrows) throw std::bad_alloc();
  RuntimeMessageBox(nullptr, "内存不足", "error", MB_ICONERROR);
  EndProgram(0);
}

void* Checked(void* block) {
  if (!block) OutOfMemory();
  return block;
}

struct ImageBounds {
  const char* begin;
  const char* end;
};

const ImageBounds& ProgramImage() {
  static const ImageBounds bounds = [] {
    auto* base = reinterpret_cast<const char*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return ImageBounds{base, base + nt->OptionalHeader.SizeOfImage};
  }();
  return bounds;
}

}  // namespace

void CacheProcessHeap() { Heap(); }

AllocationFailureThrows::AllocationFailureThrows() : outer_(allocationFailureThrows) {
  allocationFailureThrows = true;
}
AllocationFailureThrows::~AllocationFailureThrows() { allocationFailureThrows = outer_; }

void* RuntimeAlloc(size_t size) { return Checked(HeapAlloc(Heap(), HEAP_ZERO_MEMORY, size)); }

void* RuntimeAllocRaw(size_t size) { return Checked(HeapAlloc(Heap(), 0, size)); }

void* RuntimeRealloc(void* block, size_t size) {
  if (!block) return RuntimeAlloc(size);
  return Checked(HeapReAlloc(Heap(), 0, block, size));
}

bool IsInProgramImage(const void* address) {
  const ImageBounds& image = ProgramImage();
  auto* byte = static_cast<const char*>(address);
  return byte >= image.begin && byte < image.end;
}

void RuntimeFree(void* block) {
  auto* address = static_cast<const char*>(block);
  if (reinterpret_cast<UINT_PTR>(address) < 0x10000) return;
  if (IsInProgramImage(address)) return;
  if (IsBadReadPtr(address, 8)) return;
  HeapFree(Heap(), 0, block);
}
