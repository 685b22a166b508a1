// zorvo-resolve: the resolution pipeline as a console command, for scripts
// and batch use. See app/resolve_command.h for the usage.
#include "app/command_arguments.h"
#include "app/resolve_program.h"

int main() { return RunResolveProgram(CommandArguments()); }
