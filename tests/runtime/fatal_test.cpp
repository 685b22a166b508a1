#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "fatal_box.h"
#include "runtime/codepage.h"
#include "runtime/heap.h"
#include "runtime/program_end.h"
#include "runtime/runtime_service.h"
#include "runtime/typed_arg.h"
#include "support/windows_process.h"

// While set, operator new fails as it does when memory is exhausted (the
// library's operator delete frees with free(); kept out of line so that the
// compiler pairs it with that delete).
bool g_newFails = false;

[[gnu::noinline]] void* operator new(size_t size) {
  void* block = g_newFails ? nullptr : std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}

namespace {
void ExitRoutine() { std::fputs("exit-routine ", stderr); }
void SupportModule(int code) { std::fprintf(stderr, "support-%d ", code); }

// Started again by CommandLineArgumentsInGbk with this variable set, the
// program prints service 2002's text in hex and ends before any test runs.
constexpr char kPrintArguments[] = "RUNTIME_TESTS_PRINT_ARGUMENTS";
const bool g_argumentsPrinted = [] {
  if (GetEnvironmentVariableA(kPrintArguments, nullptr, 0) == 0) return false;
  std::printf("%s", HexOf(reinterpret_cast<const char*>(RuntimeService(2002, 0, 0))).c_str());
  std::exit(0);
}();
}  // namespace

TEST(RuntimeErrorDeathTest, WithLocationShowsDescriptionAndPosition) {
  EXPECT_EXIT(
      {
        CaptureBoxes();
        RaiseRuntimeError(1, {7, 9});
      },
      testing::ExitedWithCode(0),
      BoxRecord("error",
                "program internal error number is 1. \r\n数组成员引用下标超出定义范围\r\n错误位置:7,9",
                MB_ICONERROR));
}

TEST(RuntimeErrorDeathTest, UnknownNumberHasNullDescription) {
  EXPECT_EXIT(
      {
        CaptureBoxes();
        RaiseRuntimeError(100);
      },
      testing::ExitedWithCode(0),
      BoxRecord("error", "program internal error number is 100. \r\n(null)\r\n", MB_ICONERROR));
}

TEST(ProgramEndDeathTest, HooksRunInOrderOnceThenExitCode) {
  EXPECT_EXIT(
      {
        SetProgramExitRoutine(ExitRoutine);
        RegisterSupportModule(SupportModule);
        EndProgram(3);
      },
      testing::ExitedWithCode(3), "exit-routine support-6 ");
}

TEST(RuntimeServiceDeathTest, FatalTextAndEndWithCode) {
  EXPECT_EXIT(
      {
        CaptureBoxes();
        RuntimeService(2027, reinterpret_cast<INT_PTR>("坏了"), 0);
      },
      testing::ExitedWithCode(0), BoxRecord("ERROR", "Halcyon RunTime Error:\r\n\r\n坏了", MB_ICONERROR));
  EXPECT_EXIT(RuntimeService(2028, 5, 0), testing::ExitedWithCode(5), "");
}

TEST(RuntimeServiceDeathTest, UnknownNumberShowsBoxAndReturnsZero) {
  EXPECT_EXIT(
      {
        CaptureBoxes();
        std::fprintf(stderr, "result=%d\n", static_cast<int>(RuntimeService(4242, 0, 0)));
        std::exit(0);
      },
      testing::ExitedWithCode(0),
      BoxRecord("Halcyon", "不支持系统功能函数4242. 请将此信息反馈给作者", MB_ICONERROR) + "\nresult=0");
}

TEST(RuntimeService, FixedAnswersHeapAndTypedArgs) {
  EXPECT_EQ(RuntimeService(1004, 0, 0), 1);
  EXPECT_EQ(RuntimeService(1005, 0, 0), 4);
  EXPECT_EQ(RuntimeService(2030, 0, 0), 3);
  EXPECT_EQ(RuntimeService(2032, 0, 0), 0);
  TypedArg number = TypedArg::Double(-7.9);
  EXPECT_EQ(RuntimeService(2001, reinterpret_cast<INT_PTR>(&number), 0), -7);
  TypedArg word = TypedArg::Int(1234);
  EXPECT_EQ(RuntimeService(2001, reinterpret_cast<INT_PTR>(&word), 0), 1234);
  void* block = reinterpret_cast<void*>(RuntimeService(2024, 32, 0));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(static_cast<char*>(block)[31], 0);
  block = reinterpret_cast<void*>(RuntimeService(2026, reinterpret_cast<INT_PTR>(block), 64));
  EXPECT_EQ(RuntimeService(2025, reinterpret_cast<INT_PTR>(block), 0), 0);
}

TEST(RuntimeService, ProgramPathParts) {
  char directory[MAX_PATH * 2] = {};
  char file[MAX_PATH * 2] = {};
  EXPECT_EQ(RuntimeService(1006, 1, reinterpret_cast<INT_PTR>(directory)), reinterpret_cast<INT_PTR>(directory));
  RuntimeService(1006, 2002, reinterpret_cast<INT_PTR>(file));
  EXPECT_STREQ(file, "runtime_tests.exe");
  std::string dir(directory);
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '\\');
  EXPECT_EQ(RuntimeService(1006, 7, reinterpret_cast<INT_PTR>(file)), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(RuntimeService(2003, 0, 0))), dir.substr(0, dir.size() - 1));
  EXPECT_STREQ(reinterpret_cast<const char*>(RuntimeService(2004, 0, 0)), "runtime_tests.exe");
  std::string arguments = reinterpret_cast<const char*>(RuntimeService(2002, 0, 0));
  EXPECT_EQ(arguments.find("runtime_tests"), std::string::npos);
}

TEST(RuntimeService, CommandLineArgumentsInGbk) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  SetEnvironmentVariableA(kPrintArguments, "1");
  std::string commandLine = "\"";
  commandLine += WideToGbk(self) + "\"  中文 \"a b\"";
  ProgramRun run = RunWindowsProgram(commandLine);
  SetEnvironmentVariableA(kPrintArguments, nullptr);
  EXPECT_EQ(run.out, HexOf(" 中文 \"a b\""));  // one blank after the name is dropped
}

// Writes which box it was shown, without allocating.
int MarkBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  const char* mark = text[0] == L'内' ? "out-of-memory box" : text[0] == L'p' ? "runtime error box" : "other box";
  DWORD written;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), mark, static_cast<DWORD>(std::strlen(mark)), &written, nullptr);
  return IDOK;
}

// With memory exhausted the boxes must still be shown and the program end
// as planned, not with an exception.
TEST(RuntimeHeapDeathTest, FatalBoxesNeedNoMemory) {
  EXPECT_EXIT(
      {
        SetMessageBoxHandler(MarkBox);
        g_newFails = true;
        RuntimeAlloc(static_cast<size_t>(-1) / 2);
      },
      testing::ExitedWithCode(0), "out-of-memory box");
  EXPECT_EXIT(
      {
        SetMessageBoxHandler(MarkBox);
        g_newFails = true;
        RaiseRuntimeError(1, {7, 9});
      },
      testing::ExitedWithCode(0), "runtime error box");
}

TEST(RuntimeHeapDeathTest, ExhaustedMemoryShowsOutOfMemoryAndEnds) {
  EXPECT_EXIT(
      {
        CaptureBoxes();
        RuntimeAlloc(static_cast<size_t>(-1) / 2);
      },
      testing::ExitedWithCode(0), BoxRecord("error", "内存不足", MB_ICONERROR));
  EXPECT_EXIT(
      {
        CaptureBoxes();
        RuntimeRealloc(RuntimeAlloc(8), static_cast<size_t>(-1) / 2);
      },
      testing::ExitedWithCode(0), BoxRecord("error", "内存不足", MB_ICONERROR));
}
