// Starting Linux programs from a test running under Wine. The process handle
// Wine returns for a Linux program cannot be waited on, so such a program
// reports through files and ends on request or by itself.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// Starts `commandLine` (a Linux program path and its arguments); false when
// the process could not be created.
bool StartLinuxProgram(std::string_view commandLine);

// The path under which a Linux path is reachable from Windows code.
std::string WindowsPathOf(std::string_view linuxPath);

// Waits until the file (a Linux path) exists and returns its contents;
// nothing when it did not appear in time. (<chrono> does not build with the
// GBK execution character set, hence plain milliseconds.)
std::optional<std::string> WaitForFile(std::string_view linuxPath, unsigned timeoutMs);

// A fresh path in the test scratch folder (a Linux path), removed if present.
std::string ScratchPath(std::string_view name);
