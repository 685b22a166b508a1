#include "app/result_json.h"

#include <cstdio>

#include "app/console_output.h"

namespace {

void AppendJsonString(std::string& out, std::string_view gbk) {
  out += '"';
  for (char c : GbkToUtf8(gbk)) {
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

}  // namespace

std::string ResultJsonLine(const ResolveOutcome& outcome) {
  std::string out = "{\"link\":";
  AppendJsonString(out, outcome.link);
  out += ",\"fileName\":";
  AppendJsonString(out, outcome.fileName);
  out += ",\"fileSize\":";
  AppendJsonString(out, outcome.fileSize);
  out += ",\"errorText\":";
  AppendJsonString(out, outcome.errorText);
  out += '}';
  return out;
}
