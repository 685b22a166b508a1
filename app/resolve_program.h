// zorvo-resolve's work, shared by the program and its test build: parses
// the arguments, resolves one share or a batch, writes the results and
// returns the exit status. See app/resolve_command.h for the usage.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Called after each line a batch writes, with the count written so far.
using BatchLineObserver = std::function<void(size_t written)>;

int RunResolveProgram(const std::vector<std::wstring>& arguments, const BatchLineObserver& afterLine = {});
