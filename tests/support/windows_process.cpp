#include "support/windows_process.h"

#include <fstream>
#include <sstream>
#include <string>

#include "runtime/codepage.h"
#include "support/linux_process.h"

namespace {

HANDLE InheritableFile(const std::string& path, bool forReading = false) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  return CreateFileA(path.c_str(), forReading ? GENERIC_READ : GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                     forReading ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// The writing end of a pipe that nobody reads any more.
HANDLE ClosedPipe() {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE reader = nullptr, writer = nullptr;
  CreatePipe(&reader, &writer, &inherit, 0);
  CloseHandle(reader);
  return writer;
}

bool StartProcess(std::string_view commandLine, STARTUPINFOW& startup, PROCESS_INFORMATION& process) {
  std::wstring line = GbkToWide(commandLine);
  return CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
}

}  // namespace

ProgramRun RunWindowsProgram(std::string_view commandLine, const ProgramOptions& options) {
  // Files of their own for every run: a file of the run before may still be
  // held open for a moment by the process that wrote it.
  static unsigned runs = 0;
  const std::string stem = "program-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
  const std::string outPath = WindowsPathOf(ScratchPath(stem + ".out"));
  const std::string errPath = WindowsPathOf(ScratchPath(stem + ".err"));
  HANDLE out = options.outputClosed ? ClosedPipe() : InheritableFile(outPath);
  HANDLE err = InheritableFile(errPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE input = options.input.empty() ? nullptr : InheritableFile(WindowsPathOf(options.input), true);
  startup.hStdInput = input ? input : GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  ProgramRun run;
  run.started = StartProcess(commandLine, startup, process);
  if (!run.started) run.startError = GetLastError();
  CloseHandle(out);
  CloseHandle(err);
  if (input) CloseHandle(input);
  if (run.started) {
    run.timedOut = WaitForSingleObject(process.hProcess, options.timeoutMs) == WAIT_TIMEOUT;
    if (run.timedOut) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  run.out = Contents(outPath);
  run.err = Contents(errPath);
  return run;
}

RunningProgram::RunningProgram(std::string_view commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!StartProcess(commandLine, startup, process_)) process_ = {};
}

RunningProgram::~RunningProgram() {
  if (!started()) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::optional<DWORD> RunningProgram::WaitForExit(unsigned timeoutMs) {
  DWORD exitCode = 0;
  if (!started() || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process_.hProcess, &exitCode)) {
    return std::nullopt;
  }
  return exitCode;
}
