#include "support/record_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "support/linux_process.h"

namespace {

constexpr int kIdleSeconds = 120;

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                std::tolower(static_cast<unsigned char>(y)); });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A JSON string whose characters U+0000..U+00FF stand for the bytes.
std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string ScriptJson(const ScriptedResponse& response) {
  std::string json = "{\"path\":" + JsonString(response.path) + ",\"status\":" + std::to_string(response.status) +
                     ",\"reason\":" + JsonString(response.reason) + ",\"body\":" + JsonString(response.body) +
                     ",\"chunked\":" + (response.chunked ? "true" : "false") +
                     ",\"delay\":" + std::to_string(response.delaySeconds) + ",\"headers\":[";
  for (size_t i = 0; i < response.headers.size(); ++i) {
    if (i) json += ",";
    json += JsonString(response.headers[i]);
  }
  json += "]";
  if (response.bodySize) json += ",\"body_size\":" + std::to_string(*response.bodySize);
  if (response.closeAfter) json += ",\"close_after\":" + std::to_string(*response.closeAfter);
  return json + "}";
}

RecordedRequest ParseRecorded(std::string_view raw) {
  RecordedRequest request;
  size_t headEnd = raw.find("\r\n\r\n");
  std::string_view head = raw.substr(0, headEnd);
  request.body = headEnd == std::string_view::npos ? "" : std::string(raw.substr(headEnd + 4));
  size_t start = 0;
  while (start <= head.size()) {
    size_t end = std::min(head.find("\r\n", start), head.size());
    std::string line(head.substr(start, end - start));
    if (start == 0) {
      request.requestLine = line;
    } else {
      request.headerLines.push_back(line);
    }
    start = end + 2;
  }
  return request;
}

bool WinsockStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

// One control exchange over a fresh connection; the body of a 200 answer.
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

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
  for (const std::string& line : headerLines) {
    size_t colon = line.find(':');
    if (colon != std::string::npos && SameName(Trimmed(std::string_view(line).substr(0, colon)), name)) {
      return std::string(Trimmed(std::string_view(line).substr(colon + 1)));
    }
  }
  return std::nullopt;
}

size_t RecordedRequest::HeaderCount(std::string_view name) const {
  return std::count_if(headerLines.begin(), headerLines.end(), [&](const std::string& line) {
    size_t colon = line.find(':');
    return colon != std::string::npos && SameName(Trimmed(std::string_view(line).substr(0, colon)), name);
  });
}

RecordServer::RecordServer() : tlsDir_(ScratchPath("tls")) {
  std::string portFile = ScratchPath("record-server.port");
  std::string command = "/usr/bin/python3 " TOOLS_DIR "/record_server.py --port-file " + portFile +
                        " --tls-dir " + tlsDir_ + " --idle " + std::to_string(kIdleSeconds);
  if (!StartLinuxProgram(command)) return;
  if (auto ports = WaitForFile(portFile, 30000)) {
    std::istringstream(*ports) >> httpPort_ >> httpsPort_;
  }
}

RecordServer::~RecordServer() {
  if (ready()) Control("shutdown");
}

RecordServer& RecordServer::Shared() {
  static RecordServer server;
  return server;
}

std::string RecordServer::HttpUrl(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(httpPort_) + std::string(path);
}

std::string RecordServer::HttpsUrl(std::string_view path, std::string_view host) const {
  return "https://" + std::string(host) + ":" + std::to_string(httpsPort_) + std::string(path);
}

void RecordServer::Script(const ScriptedResponse& response) { Control("script", ScriptJson(response)); }

void RecordServer::Reset() { Control("reset"); }

std::vector<RecordedRequest> RecordServer::Requests() {
  std::vector<RecordedRequest> requests;
  int count = std::atoi(Control("count").value_or("0").c_str());
  for (int i = 0; i < count; ++i) {
    if (auto raw = Control("request/" + std::to_string(i))) requests.push_back(ParseRecorded(*raw));
  }
  return requests;
}

std::optional<std::string> RecordServer::Control(std::string_view command, std::string_view body) {
  return Exchange(httpPort_, "/_control/" + std::string(command), body);
}
