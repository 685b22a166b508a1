// zorvo-resolve-test: zorvo-resolve for tests and the soak, with options
// before the usual arguments:
//   --exchange-budget MS  every exchange ends after MS milliseconds at most,
//                         so that misbehaving local servers cost seconds
//   --stats-after N       after the Nth line of a batch and once the batch
//                         has ended, a line on standard error:
//                         "stats <lines> <private bytes> <working set bytes> <threads> <handles>"
// Wrong usage of these exits with code 2.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_arguments.h"
#include "app/console_output.h"
#include "app/resolve_program.h"
#include "http/exchange_deadline.h"

namespace {

int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

void PrintStats(size_t lines) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  const int threads = ThreadCount();  // before the text is made: it takes none
  char line[160];
  std::snprintf(line, sizeof line, "stats %zu %zu %zu %d %lu\n", lines, static_cast<size_t>(memory.PrivateUsage),
                static_cast<size_t>(memory.WorkingSetSize), threads, handles);
  WriteBytes(STD_ERROR_HANDLE, line);
}

bool TakeNumber(std::vector<std::wstring>& arguments, const wchar_t* option, unsigned long& value) {
  if (arguments.size() < 2 || arguments[0] != option) return false;
  wchar_t* end = nullptr;
  value = std::wcstoul(arguments[1].c_str(), &end, 10);
  if (arguments[1].empty() || *end) value = 0;
  arguments.erase(arguments.begin(), arguments.begin() + 2);
  return true;
}

}  // namespace

int main() {
  std::vector<std::wstring> arguments = CommandArguments();
  unsigned long budgetMs = 0, statsAfter = 0;
  for (bool taken = true; taken;) {
    taken = false;
    if (TakeNumber(arguments, L"--exchange-budget", budgetMs)) {
      if (budgetMs == 0) return 2;
      SetExchangeDeadlineForTests(budgetMs);
      taken = true;
    }
    if (TakeNumber(arguments, L"--stats-after", statsAfter)) {
      if (statsAfter == 0) return 2;
      taken = true;
    }
  }
  size_t written = 0;
  const int status = RunResolveProgram(arguments, [&](size_t lines) {
    written = lines;
    if (lines == statsAfter) PrintStats(lines);
  });
  if (statsAfter) PrintStats(written);
  return status;
}
