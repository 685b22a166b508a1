#include "runtime/library_command.h"

TypedArg CallLibraryCommand(LibraryCommand command, int count, const TypedArg* arguments) {
  TypedArg result{};
  command(&result, count, arguments);
  return result;
}
