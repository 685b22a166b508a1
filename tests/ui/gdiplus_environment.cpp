// GDI+ runs for the whole test program, started once as the toolkit's
// application object starts it for the program.
#include <gtest/gtest.h>

#include "ui/fonts/gdiplus_api.h"

namespace {

class GdiplusEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;  // version 1
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

::testing::Environment* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace
