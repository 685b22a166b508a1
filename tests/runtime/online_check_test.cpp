#include <gtest/gtest.h>

#include "runtime/online_check.h"
#include "support/local_server.h"
#include "support/network.h"
#include "support/server_test.h"

namespace {

class OnlineCheckTest : public ServerTest {
 protected:
  // The value word of the command's result, opening `url` (or the default page).
  static UINT_PTR Check(const char* url) {
    TypedArg page = TypedArg::OfText(url);
    TypedArg result = CallLibraryCommand(OnlineCheck, url ? 1 : 0, &page);
    EXPECT_EQ(result.type, 0u);
    return result.value;
  }
};

}  // namespace

TEST_F(OnlineCheckTest, OnlineWhenThePageOpens) {
  Serve("/", "home page");
  EXPECT_EQ(Check(server().HttpUrl("/").c_str()), 1u);
  RecordedRequest request = Received();
  EXPECT_EQ(request.requestLine, "GET / HTTP/1.1");
  EXPECT_EQ(request.Header("User-Agent"), "test");
}

TEST_F(OnlineCheckTest, OfflineWhenThePageDoesNotOpen) {
  std::string refused = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/";
  EXPECT_EQ(Check(refused.c_str()), 0u);
  EXPECT_EQ(Check("not a url"), 0u);
  // The public site the program opens is out of reach here: only loopback is up.
  if (!OnlyLoopbackIsUp()) GTEST_SKIP() << "a network other than loopback is up: the public site is not tried";
  std::string_view page = DefaultOnlineCheckUrl;
  EXPECT_TRUE(page.starts_with("http://") && page.ends_with("/")) << "a home page over plain HTTP";
  EXPECT_EQ(Check(nullptr), 0u);
}
