#include "support/record_server.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

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

}  // namespace

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

RecordServer& RecordServer::Shared() {
  static RecordServer server;
  return server;
}

std::string RecordServer::HttpUrl(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(httpPort()) + std::string(path);
}

std::string RecordServer::HttpsUrl(std::string_view path, std::string_view host) const {
  return "https://" + std::string(host) + ":" + std::to_string(httpsPort()) + std::string(path);
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
