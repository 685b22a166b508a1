// The gateway through which the program calls a command of a support
// library: the command fills a result record (value, high, type).
#pragma once
#include "runtime/typed_arg.h"

using LibraryCommand = void (*)(TypedArg* result, int count, const TypedArg* arguments);

// Calls the command with a zeroed record and returns the record. A command
// that leaves the type 0 returns an untyped value read as the caller expects.
TypedArg CallLibraryCommand(LibraryCommand command, int count, const TypedArg* arguments);
