#include "support/zorvo_double.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <sstream>

#include "runtime/codepage.h"

namespace {

std::string Utf8ToGbk(std::string_view utf8) {
  if (utf8.empty()) return {};
  int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), count);
  return WideToGbk(wide);
}

bool Unreserved(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

std::string PercentEncoded(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (Unreserved(c)) {
      out += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    }
  }
  return out;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char* digits = text.data() + i + 1;
    unsigned value = 0;
    if (text[i] == '%' && i + 2 < text.size() && std::from_chars(digits, digits + 2, value, 16).ptr == digits + 2) {
      out += static_cast<char>(value);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The members of a form-encoded record, decoded and converted to GBK.
std::map<std::string, std::string> FormMembers(std::string_view form) {
  std::map<std::string, std::string> members;
  while (!form.empty()) {
    std::string_view item = form.substr(0, form.find('&'));
    form.remove_prefix(std::min(form.size(), item.size() + 1));
    size_t equals = item.find('=');
    if (equals == std::string_view::npos) continue;
    members[std::string(item.substr(0, equals))] = Utf8ToGbk(PercentDecoded(item.substr(equals + 1)));
  }
  return members;
}

}  // namespace

ZorvoDouble& ZorvoDouble::Shared() {
  static ZorvoDouble server;
  return server;
}

std::string ZorvoDouble::BaseSite() const { return "https://localhost:" + std::to_string(httpsPort()); }

std::vector<std::string> ZorvoDouble::ShareIds() const {
  std::vector<std::string> ids;
  std::istringstream lines(Control("ids").value_or(""));
  for (std::string id; std::getline(lines, id);) ids.push_back(id);
  return ids;
}

std::optional<ZorvoShare> ZorvoDouble::Share(std::string_view id, std::string_view baseSite) const {
  std::string base = baseSite.empty() ? BaseSite() : std::string(baseSite);
  std::optional<std::string> record = Control("share/" + std::string(id) + "?base=" + PercentEncoded(base));
  if (!record) return std::nullopt;
  std::map<std::string, std::string> members = FormMembers(*record);
  auto optional = [&](const char* name) -> std::optional<std::string> {
    auto found = members.find(name);
    return found == members.end() ? std::nullopt : std::optional(found->second);
  };
  return ZorvoShare{.id = members["id"],
                    .url = members["url"],
                    .password = members["password"],
                    .layout = members["layout"],
                    .link = members["link"],
                    .fileName = optional("fileName"),
                    .fileSize = optional("fileSize"),
                    .errorText = optional("errorText")};
}

std::string ZorvoDouble::Exchanges(std::string_view id, std::string_view baseSite) const {
  std::string base = baseSite.empty() ? BaseSite() : std::string(baseSite);
  return Control("exchanges/" + std::string(id) + "?base=" + PercentEncoded(base)).value_or("");
}

bool ZorvoDouble::SetLatency(int ms) const { return Control("latency/" + std::to_string(ms)).has_value(); }

std::optional<ZorvoFault> ZorvoDouble::Fault(std::string_view id) const {
  std::optional<std::string> record = Control("fault/" + std::string(id) + "?base=" + PercentEncoded(BaseSite()));
  if (!record) return std::nullopt;
  std::map<std::string, std::string> members = FormMembers(*record);
  return ZorvoFault{.url = members["url"], .baseSite = members["base"], .link = members["link"]};
}
