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

struct ProgramOptions {
  unsigned long timeoutMs = 0xFFFFFFFF;  // a program still running then is ended (`timedOut`)
  bool outputClosed = false;             // standard output is a pipe whose reader has gone
};

// Runs `commandLine` (GBK) to its end, with its standard output and error
// going to files that are read back afterwards.
ProgramRun RunWindowsProgram(std::string_view commandLine, const ProgramOptions& options = {});
