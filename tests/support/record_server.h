// Launcher and client of tools/record_server.py: a local HTTP and HTTPS
// server that records every request exactly as received and answers with
// responses scripted per path; it also serves as a loopback-only proxy.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A loopback port on which nothing listens.
int ClosedLoopbackPort();

// Byte i of a generated body.
inline char GeneratedBodyByte(size_t i) { return static_cast<char>(i % 251); }

class RecordServer {
 public:
  // Starts a server with both listeners and waits until it is ready.
  RecordServer();
  ~RecordServer();
  RecordServer(const RecordServer&) = delete;
  RecordServer& operator=(const RecordServer&) = delete;

  // One server shared by all tests of the executable, started on first use.
  static RecordServer& Shared();

  bool ready() const { return httpPort_ != 0; }
  int httpPort() const { return httpPort_; }
  int httpsPort() const { return httpsPort_; }
  // "http://127.0.0.1:port" + path, and the same over HTTPS. The
  // certificate names both 127.0.0.1 and localhost.
  std::string HttpUrl(std::string_view path) const;
  std::string HttpsUrl(std::string_view path, std::string_view host = "127.0.0.1") const;
  // The PEM file of the server's self-signed certificate (a Linux path).
  std::string certificatePath() const { return tlsDir_ + "/server.crt"; }

  void Script(const ScriptedResponse& response);
  // Forgets scripts and recorded requests.
  void Reset();
  std::vector<RecordedRequest> Requests();

 private:
  std::optional<std::string> Control(std::string_view command, std::string_view body = {});

  std::string tlsDir_;
  int httpPort_ = 0;
  int httpsPort_ = 0;
};
