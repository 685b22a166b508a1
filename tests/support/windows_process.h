// Running a Windows program from a test: to its end, collecting what it
// printed, or left running while the test drives its windows.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

struct ProgramRun {
  bool started = false;
  unsigned long startError = 0;  // GetLastError when it did not start
  bool timedOut = false;
  unsigned long exitCode = 0;
  std::string out;  // standard output, bytes as written
  std::string err;  // standard error
};

struct ProgramOptions {
  unsigned long timeoutMs = 0xFFFFFFFF;  // a program still running then is ended (`timedOut`)
  bool outputClosed = false;             // standard output is a pipe whose reader has gone
  std::string input{};                   // a file given as standard input (Linux path); empty: the caller's
};

// Runs `commandLine` (GBK) to its end, with its standard output and error
// going to files that are read back afterwards.
ProgramRun RunWindowsProgram(std::string_view commandLine, const ProgramOptions& options = {});

// A program started and left running. If it is still running when the
// object goes, it is ended, so a failed test leaves no window behind.
class RunningProgram {
 public:
  explicit RunningProgram(std::string_view commandLine);  // GBK
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD processId() const { return process_.dwProcessId; }
  // The exit code when the program ends within the time; nothing otherwise.
  std::optional<DWORD> WaitForExit(unsigned timeoutMs);

 private:
  PROCESS_INFORMATION process_{};
};
