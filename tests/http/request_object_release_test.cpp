// How request objects are let go, against a recording object.
#include "http/request_object_release.h"

#include <gtest/gtest.h>

#include "support/recording_object.h"

namespace {

TEST(RequestObjectReleaseTest, CutOffObjectsAreKeptTheOthersReleasedAtExitOnceSettled) {
  struct Case {
    const char* name;
    ExchangeEnd end;
    bool keptForGood;  // never released
  };
  const Case cases[] = {
      {"whole", ExchangeEnd::Whole, false},       {"failed", ExchangeEnd::Failed, false},
      {"headers in", ExchangeEnd::HeadersIn, true}, {"cut off", ExchangeEnd::CutOff, true},
      {"too long", ExchangeEnd::TooLong, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    // Outlives the test: an object kept for good is aborted on a thread of its own.
    auto& calls = *new std::vector<RecordedCall>;
    auto* object = new RecordingObject(calls);
    object->AddRef();  // the test's own, to watch the others go
    AutomationObject holder;
    holder.Adopt(object);
    const uint64_t start = GetTickCount64();
    ReleaseRequestObject(holder, test.end);
    EXPECT_EQ(holder.iface, nullptr);
    ReleaseKeptRequestObjects();  // as the programs do at exit
    EXPECT_EQ(object->references(), test.keptForGood ? 2u : 1u);
    if (!test.keptForGood) {
      EXPECT_GE(GetTickCount64() - start, 900u) << "released before it settled";
    }
    object->Release();
  }
  ForgetKeptRequestObjectsForTests();
}

}  // namespace
