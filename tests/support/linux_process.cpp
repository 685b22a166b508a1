#include "support/linux_process.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "runtime/codepage.h"

bool StartLinuxProgram(std::string_view commandLine) {
  std::wstring line = GbkToWide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::string WindowsPathOf(std::string_view linuxPath) { return "Z:" + std::string(linuxPath); }

std::optional<std::string> WaitForFile(std::string_view linuxPath, unsigned timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  const std::string path = WindowsPathOf(linuxPath);
  do {
    std::ifstream file(path, std::ios::binary);
    if (file) {
      std::ostringstream contents;
      contents << file.rdbuf();
      return contents.str();
    }
    Sleep(20);
  } while (GetTickCount64() < deadline);
  return std::nullopt;
}

std::string ScratchPath(std::string_view name) {
  static unsigned counter = 0;
  CreateDirectoryA(WindowsPathOf(TEST_SCRATCH_DIR).c_str(), nullptr);
  std::string path = std::string(TEST_SCRATCH_DIR) + "/" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(++counter) + "-" + std::string(name);
  DeleteFileA(WindowsPathOf(path).c_str());
  return path;
}
