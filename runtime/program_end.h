// The one way out of the program, and the fatal runtime-error box.
#pragma once

using ProgramEndHook = void (*)();
using SupportModuleNotify = void (*)(int code);

// Hooks run by EndProgram, in this order: the program's exit routine, the
// notification of every support module (code 6), the release of loaded
// libraries. Each is optional.
void SetProgramExitRoutine(ProgramEndHook routine);
void RegisterSupportModule(SupportModuleNotify notify);
void SetLibraryReleaseHook(ProgramEndHook hook);

// Runs the hooks once and ends the process with the code.
[[noreturn]] void EndProgram(int code);

// Where a failed check sits in the program: two integers fixed per site.
struct ErrorLocation {
  int first;
  int second;
};

// Shows the numbered error in a fatal box and ends the program with code 0.
[[noreturn]] void RaiseRuntimeError(int number);
[[noreturn]] void RaiseRuntimeError(int number, ErrorLocation location);
