// A body longer than the caller's limit is a failed request in both engines,
// whether the response declares its length or not.
#include <gtest/gtest.h>

#include "http/web_request.h"
#include "http/web_request_object.h"
#include "support/server_test.h"

namespace {

class BodyLimitTest : public ServerTest {};

TEST_F(BodyLimitTest, ABodyBeyondTheLimitIsNoBody) {
  constexpr size_t kLimit = 300000;  // more than one read of the WinINet engine
  struct Case {
    size_t size;
    bool chunked;
  };
  const Case cases[] = {{kLimit, false}, {kLimit + 1, false}, {kLimit, true}, {kLimit + 1, true}};
  for (const Case& body : cases) {
    SCOPED_TRACE(std::to_string(body.size) + (body.chunked ? " chunked" : " declared"));
    server().Script({.path = "/body", .bodySize = body.size, .chunked = body.chunked});
    const std::string url = server().HttpUrl("/body");
    const size_t expected = body.size <= kLimit ? body.size : 0;
    EXPECT_EQ(WebRequest(url, {.bodyLimit = kLimit}).size(), expected);
    int32_t status = 0;
    EXPECT_EQ(WebRequestObject(url, {.statusCode = status, .bodyLimit = kLimit}).size(), expected);
    EXPECT_EQ(status, 200);  // the object's answer itself did arrive
  }
}

}  // namespace
