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

#include <algorithm>
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

// Wine 8.0 gives GetProcessHandleCount no count (0): the system's handle
// table, which it does fill, is counted for this process instead.
unsigned long HandleCount() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count) return count;
  using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  constexpr int kSystemExtendedHandleInformation = 64;
  struct Entry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace, objectType;
    ULONG attributes, reserved;
  };
  std::vector<char> table(1 << 20);
  ULONG needed = 0;
  LONG status;
  while ((status = query(kSystemExtendedHandleInformation, table.data(), static_cast<ULONG>(table.size()), &needed)) ==
             static_cast<LONG>(0xC0000004) &&
         table.size() < (256u << 20)) {
    table.resize(std::max<size_t>(table.size() * 2, needed));
  }
  if (status != 0) return 0;
  const ULONG_PTR entries = *reinterpret_cast<ULONG_PTR*>(table.data());
  const Entry* entry = reinterpret_cast<const Entry*>(table.data() + 2 * sizeof(ULONG_PTR));
  unsigned long own = 0;
  for (ULONG_PTR i = 0; i < entries; ++i) own += entry[i].processId == GetCurrentProcessId();
  return own;
}

void PrintStats(size_t lines) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  // Wine 8.0 leaves PrivateUsage 0; its PagefileUsage is the same figure.
  const size_t privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  const unsigned long handles = HandleCount();
  const int threads = ThreadCount();
  char line[160];
  std::snprintf(line, sizeof line, "stats %zu %zu %zu %d %lu\n", lines, privateBytes,
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
