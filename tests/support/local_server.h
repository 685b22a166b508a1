// Launcher and control client of the local test servers in tools/, Linux
// programs started from a test running under Wine. Such a server writes its
// ports to a file once it listens, answers control requests under
// /_control/, stops on /_control/shutdown and ends by itself after a stretch
// without requests, so that a crashed test never leaves it running.
#pragma once
#include <optional>
#include <string>
#include <string_view>

class LocalServer {
 public:
  // Starts tools/<script> with HTTP and HTTPS listeners and waits until it is ready.
  explicit LocalServer(std::string_view script);
  // Asks the server to stop.
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  bool ready() const { return httpPort_ != 0; }
  int httpPort() const { return httpPort_; }
  int httpsPort() const { return httpsPort_; }
  // Linux path of the server's self-signed certificate (CA:TRUE, for
  // DNS:localhost and IP:127.0.0.1), for a test that has to trust it.
  std::string CertificatePath() const;

 protected:
  // The body of a 200 answer to the control request /_control/<command>.
  std::optional<std::string> Control(std::string_view command, std::string_view body = {}) const;

 private:
  std::string tlsDir_;
  int httpPort_ = 0;
  int httpsPort_ = 0;
};

// A loopback port on which nothing listens (it was free a moment ago).
int ClosedLoopbackPort();
