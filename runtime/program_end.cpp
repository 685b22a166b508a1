#include "runtime/program_end.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "runtime/message_box.h"

namespace {

ProgramEndHook g_exitRoutine = nullptr;
ProgramEndHook g_libraryRelease = nullptr;

std::vector<SupportModuleNotify>& SupportModules() {
  static std::vector<SupportModuleNotify> modules;
  return modules;
}

constexpr int kNotifyProgramEnd = 6;

const char* const kErrorTexts[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误，通常是DLL参数数目不正确",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

// The platform formatter prints "(null)" for a missing description.
const char* ErrorDescription(int number) {
  return number >= 1 && number <= 11 ? kErrorTexts[number - 1] : "(null)";
}

[[noreturn]] void ShowFatal(const char* message) {
  RuntimeMessageBox(nullptr, message, "error", MB_ICONERROR);
  EndProgram(0);
}

}  // namespace

void SetProgramExitRoutine(ProgramEndHook routine) { g_exitRoutine = routine; }
void RegisterSupportModule(SupportModuleNotify notify) { SupportModules().push_back(notify); }
void SetLibraryReleaseHook(ProgramEndHook hook) { g_libraryRelease = hook; }

void EndProgram(int code) {
  // The first thread to end the program runs the hooks. A fatal box raised
  // by a hook on that thread must not run them again; another thread that
  // ends the program meanwhile waits for the first one's exit, so that the
  // box the first one shows is not cut off.
  static std::atomic<DWORD> endingThread{0};
  DWORD ending = 0;
  if (!endingThread.compare_exchange_strong(ending, GetCurrentThreadId())) {
    if (ending != GetCurrentThreadId()) Sleep(INFINITE);
  } else {
    if (g_exitRoutine) g_exitRoutine();
    for (SupportModuleNotify notify : SupportModules()) notify(kNotifyProgramEnd);
    if (g_libraryRelease) g_libraryRelease();
  }
  ExitProcess(static_cast<UINT>(code));
}

void RaiseRuntimeError(int number) {
  char message[256];
  wsprintfA(message, "program internal error number is %d. \r\n%s\r\n", number, ErrorDescription(number));
  ShowFatal(message);
}

void RaiseRuntimeError(int number, ErrorLocation location) {
  char message[256];
  wsprintfA(message, "program internal error number is %d. \r\n%s\r\n错误位置:%d,%d", number,
            ErrorDescription(number), location.first, location.second);
  ShowFatal(message);
}
