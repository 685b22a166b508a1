#include "app/result_json.h"

#include <cstdio>

#include "app/console_output.h"

namespace {

void AppendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

// "link":…,"fileName":…,"fileSize":…,"errorText":…}
void AppendOutcome(std::string& out, const ResolveOutcome& outcome) {
  out += "\"link\":";
  AppendJsonString(out, GbkToUtf8(outcome.link));
  out += ",\"fileName\":";
  AppendJsonString(out, GbkToUtf8(outcome.fileName));
  out += ",\"fileSize\":";
  AppendJsonString(out, GbkToUtf8(outcome.fileSize));
  out += ",\"errorText\":";
  AppendJsonString(out, GbkToUtf8(outcome.errorText));
  out += '}';
}

}  // namespace

std::string ResultJsonLine(const ResolveOutcome& outcome) {
  std::string out = "{";
  AppendOutcome(out, outcome);
  return out;
}

std::string BatchJsonLine(int line, std::string_view shareLinkUtf8, const ResolveOutcome& outcome) {
  std::string out = "{\"line\":" + std::to_string(line) + ",\"shareLink\":";
  AppendJsonString(out, shareLinkUtf8);
  out += ',';
  AppendOutcome(out, outcome);
  return out;
}
