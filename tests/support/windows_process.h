// Running a Windows program from a test and collecting what it printed.
#pragma once
#include <string>
#include <string_view>

struct ProgramRun {
  bool started = false;
  bool timedOut = false;
  unsigned long exitCode = 0;
  std::string out;  // standard output, bytes as written
  std::string err;  // standard error
};

// Runs `commandLine` (GBK) to its end, with its standard output and error
// going to files that are read back afterwards. A program still running
// after `timeoutMs` is ended; its run then reports `timedOut`.
ProgramRun RunWindowsProgram(std::string_view commandLine, unsigned long timeoutMs = 0xFFFFFFFF);
