#include "runtime/program_start.h"

#include <ole2.h>

#include "runtime/heap.h"

void StartRuntime() {
  CacheProcessHeap();
  // The automation bridge relies on it; it stays initialised until the
  // process ends.
  OleInitialize(nullptr);
}
