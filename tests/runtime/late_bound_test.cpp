#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "fatal_box.h"
#include "runtime/late_bound.h"
#include "runtime/library_command.h"

TEST(LateBound, ResolvesOnFirstCallAndKeepsTheAddress) {
  LateBoundSlot<size_t(__cdecl*)(const char*)> slot("msvcrt.dll", "strlen");
  EXPECT_FALSE(slot.IsResolved());
  size_t before = LoadedLibraries().size();
  EXPECT_EQ(slot("abcd"), 4u);
  auto resolved = slot.Target();
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(resolved),
            reinterpret_cast<UINT_PTR>(GetProcAddress(GetModuleHandleA("msvcrt.dll"), "strlen")));
  EXPECT_EQ(slot(""), 0u);
  EXPECT_EQ(slot.Target(), resolved);
  EXPECT_EQ(LoadedLibraries().size(), before) << "msvcrt was already in the process";
}

// Threads that make a slot's first call together load its module once and
// all reach the function.
TEST(LateBound, FirstCallsFromSeveralThreadsLoadTheModuleOnce) {
  constexpr char kModule[] = "msacm32.dll";  // loaded by nothing else in these tests
  ASSERT_EQ(GetModuleHandleA(kModule), nullptr);
  LateBoundSlot<DWORD(WINAPI*)()> slot(kModule, "acmGetVersion");
  const size_t before = LoadedLibraries().size();
  std::atomic<int> waiting{8};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] {
      --waiting;
      while (waiting > 0) {}  // all start together
      slot();
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(LoadedLibraries().size(), before + 1);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(slot.Target()),
            reinterpret_cast<UINT_PTR>(GetProcAddress(GetModuleHandleA(kModule), "acmGetVersion")));
}

TEST(LateBound, ProgramSlotsCallTheirFunctions) {
  EXPECT_EQ(LateStrlen("xyz"), 3u);
  const wchar_t* haystack = L"Hello World";
  EXPECT_EQ(LateStrStrIW(haystack, L"WORLD"), haystack + 6);
  EXPECT_EQ(LateStrRStrIW(haystack, nullptr, L"o"), haystack + 7);
  EXPECT_STREQ(LateStrStrA("abcabc", "ca"), "cabc");
}

TEST(LateBound, OrdinalAndDecoratedNames) {
  FARPROC slot = nullptr;
  size_t before = LoadedLibraries().size();
  bool wasLoaded = GetModuleHandleA("comctl32.dll") != nullptr;
  FARPROC byOrdinal = ResolveFunction("comctl32.dll", "#17", &slot);
  EXPECT_EQ(slot, byOrdinal);
  EXPECT_EQ(byOrdinal, GetProcAddress(GetModuleHandleA("comctl32.dll"), MAKEINTRESOURCEA(17)));
  EXPECT_EQ(LoadedLibraries().size(), before + (wasLoaded ? 0 : 1));
  EXPECT_EQ(ResolveFunction("kernel32", "GetTickCount@@YAXXZ", &slot),
            GetProcAddress(GetModuleHandleA("kernel32"), "GetTickCount"));
}

TEST(LateBoundDeathTest, MissingModuleOrFunctionIsFatal) {
  FARPROC slot = nullptr;
  EXPECT_EXIT(
      {
        CaptureBoxes();
        ResolveFunction("no_such_module.dll", "f", &slot);
      },
      testing::ExitedWithCode(0),
      BoxRecord("DLL ERROR", "同目录下无法找到DLL文件:\"no_such_module.dll\".请与作者联系.", MB_ICONERROR));
  EXPECT_EXIT(
      {
        CaptureBoxes();
        ResolveFunction("kernel32", "NoSuchFunction", &slot);
      },
      testing::ExitedWithCode(0),
      BoxRecord("DLL ERROR", "无法定位DLL文件:\"kernel32\"当中的\"NoSuchFunction\"函数.", MB_ICONERROR));
}

namespace {
void OnlineLikeCommand(TypedArg* result, int count, const TypedArg* arguments) {
  result->value = static_cast<UINT_PTR>(count + (count ? arguments[0].Int32() : 0));
}
}  // namespace

TEST(LibraryCommand, ResultRecordStartsZeroed) {
  TypedArg argument = TypedArg::Int(40);
  TypedArg result = CallLibraryCommand(OnlineLikeCommand, 1, &argument);
  EXPECT_EQ(result.value, 41u);
  EXPECT_EQ(result.high, 0u);
  EXPECT_EQ(result.type, 0u);
}
