#include "support/local_server.h"

#include <winsock2.h>

#include <sstream>

#include "support/linux_process.h"

namespace {

constexpr int kIdleSeconds = 120;
constexpr unsigned kStartTimeoutMs = 30000;

bool WinsockStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

// One request over a fresh connection; the body of a 200 answer.
std::optional<std::string> Exchange(int port, std::string_view target, std::string_view body) {
  if (!WinsockStarted()) return std::nullopt;
  SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (connection == INVALID_SOCKET) return std::nullopt;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::string request = "POST " + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + std::string(body);
    if (send(connection, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size())) {
      char buffer[65536];
      for (int got; (got = recv(connection, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
    }
  }
  closesocket(connection);
  if (answer.compare(0, 13, "HTTP/1.1 200 ") != 0) return std::nullopt;
  size_t headEnd = answer.find("\r\n\r\n");
  return headEnd == std::string::npos ? std::nullopt : std::optional(answer.substr(headEnd + 4));
}

}  // namespace

// One certificate for every local server of a test run: the platform reads
// the machine's root store once per process, so a certificate trusted after
// the first HTTPS request would not count.
LocalServer::LocalServer(std::string_view script) : tlsDir_(std::string(TEST_SCRATCH_DIR) + "/tls") {
  std::string portFile = ScratchPath(std::string(script) + ".port");
  std::string command = "/usr/bin/python3 " TOOLS_DIR "/" + std::string(script) + " --port-file " + portFile +
                        " --tls-dir " + tlsDir_ + " --idle " + std::to_string(kIdleSeconds);
  if (!StartLinuxProgram(command)) return;
  if (auto ports = WaitForFile(portFile, kStartTimeoutMs)) {
    std::istringstream(*ports) >> httpPort_ >> httpsPort_;
  }
}

LocalServer::~LocalServer() {
  if (ready()) Control("shutdown");
}

std::string LocalServer::CertificatePath() const { return tlsDir_ + "/server.crt"; }

std::optional<std::string> LocalServer::Control(std::string_view command, std::string_view body) const {
  return Exchange(httpPort_, "/_control/" + std::string(command), body);
}

int ClosedLoopbackPort() {
  WinsockStarted();
  SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  closesocket(probe);
  return ntohs(address.sin_port);
}
