// Launcher and client of tools/record_server.py: a local HTTP and HTTPS
// server that records every request exactly as received and answers with
// responses scripted per path; it also serves as a loopback-only proxy.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/local_server.h"

struct ScriptedResponse {
  std::string path{};  // request path without query
  int status = 200;
  std::string reason = "OK";
  std::vector<std::string> headers{};  // raw lines, sent in order as written
  std::string body{};
  std::optional<size_t> bodySize{};  // generated body instead: byte i is i % 251
  bool chunked = false;
  double delaySeconds = 0;
  std::optional<size_t> closeAfter{};  // close the connection after this many body bytes
};

struct RecordedRequest {
  std::string requestLine;
  std::vector<std::string> headerLines;
  std::string body;

  // Value of the first header of that name (any case), trimmed.
  std::optional<std::string> Header(std::string_view name) const;
  size_t HeaderCount(std::string_view name) const;
};

// Byte i of a generated body.
inline char GeneratedBodyByte(size_t i) { return static_cast<char>(i % 251); }

class RecordServer : public LocalServer {
 public:
  // Starts a server with both listeners and waits until it is ready.
  RecordServer() : LocalServer("record_server.py") {}

  // One server shared by all tests of the executable, started on first use.
  static RecordServer& Shared();

  // "http://127.0.0.1:port" + path, and the same over HTTPS.
  std::string HttpUrl(std::string_view path) const;
  // The certificate names both 127.0.0.1 and localhost.
  std::string HttpsUrl(std::string_view path, std::string_view host = "127.0.0.1") const;

  void Script(const ScriptedResponse& response);
  // Forgets scripts and recorded requests.
  void Reset();
  std::vector<RecordedRequest> Requests();
};
