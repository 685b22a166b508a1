// Counts for leak checks: the process's heaps, and the blocks in use in one.
#pragma once
#include <windows.h>

#include <cstddef>

inline DWORD ProcessHeapCount() { return GetProcessHeaps(0, nullptr); }

inline size_t BusyBlocks(HANDLE heap) {
  size_t busy = 0;
  PROCESS_HEAP_ENTRY entry{};
  HeapLock(heap);
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
  }
  HeapUnlock(heap);
  return busy;
}
