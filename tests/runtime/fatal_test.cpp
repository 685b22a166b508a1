#include <gtest/gtest.h>

#include <cstdio>

#include "runtime/message_box.h"
#include "runtime/program_end.h"

namespace {
int PrintBox(HWND, const char* text, const char* caption, UINT style) {
  std::fprintf(stderr, "[%s|%u]%s", caption, style, text);
  return IDOK;
}
}  // namespace

TEST(RuntimeErrorDeathTest, IndexOutOfRangeShowsTextAndLocation) {
  EXPECT_EXIT(
      {
        SetMessageBoxHandler(PrintBox);
        RaiseRuntimeError(1, {7, 9});
      },
      testing::ExitedWithCode(0), "error\\|16\\]program internal error number is 1");
}
