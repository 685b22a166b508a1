// The runtime's start, before anything of the program runs; its end is
// EndProgram (runtime/program_end.h).
#pragma once

// Takes the process heap for the runtime's allocations and initialises OLE
// on the calling thread, the program's main thread. The runtime's support
// library (OnlineCheck and the text commands) is linked into the program and
// needs no notice at the start; support modules registered with
// RegisterSupportModule are notified at the end.
void StartRuntime();
