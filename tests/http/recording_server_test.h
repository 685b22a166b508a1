// Fixture of the tests that talk to the recording server: one server for the
// whole executable, with scripts, records and open connections reset before
// each test.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/record_server.h"

inline RecordServer& server() { return RecordServer::Shared(); }

// Scripts a plain 200 answer with the body for the path.
inline void Serve(const std::string& path, const std::string& body, std::vector<std::string> headers = {}) {
  server().Script({.path = path, .headers = std::move(headers), .body = body});
}

// The one request the server received.
inline RecordedRequest Received() {
  std::vector<RecordedRequest> requests = server().Requests();
  EXPECT_EQ(requests.size(), 1u);
  return requests.empty() ? RecordedRequest{} : requests.back();
}

class RecordingServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server().ready()) << "the recording server did not start";
    server().Reset();
  }
};
