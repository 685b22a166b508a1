// The gtest fixture of tests that talk to the shared recording server
// (header only: test_support itself does not use gtest).
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/record_server.h"

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server().ready()) << "the recording server did not start";
    server().Reset();
  }

  static RecordServer& server() { return RecordServer::Shared(); }

  // Scripts a plain 200 answer with the body for the path.
  static void Serve(const std::string& path, const std::string& body, std::vector<std::string> headers = {}) {
    server().Script({.path = path, .headers = std::move(headers), .body = body});
  }

  // Scripts a redirect answer with the body "moved" for the path.
  static void ServeRedirect(const std::string& path, const std::string& location, int status = 302) {
    server().Script({.path = path,
                     .status = status,
                     .reason = status == 301 ? "Moved Permanently" : "Found",
                     .headers = {"Location: " + location},
                     .body = "moved"});
  }

  // The one request the server received.
  static RecordedRequest Received() {
    std::vector<RecordedRequest> requests = server().Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? RecordedRequest{} : requests.back();
  }
};

// Whether `lines` holds `expected` in that order (other lines may come between).
inline bool HoldsInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  auto at = lines.begin();
  for (const std::string& line : expected) {
    at = std::find(at, lines.end(), line);
    if (at == lines.end()) return false;
  }
  return true;
}
