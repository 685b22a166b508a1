#include "app/batch_file.h"

#include <windows.h>

#include <cctype>

#include "runtime/codepage.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

// Empty when the link may go to the pipeline; otherwise why not. Only web
// links are requested: WinINet would follow another scheme (ftp:, file:)
// where no share can be.
std::string MalformedReason(std::string_view link) {
  const size_t schemeEnd = link.find("://");
  const bool hasHost = schemeEnd != std::string_view::npos && schemeEnd > 0 && schemeEnd + 3 < link.size() &&
                       link[schemeEnd + 3] != '/';
  for (char c : link) {
    if (static_cast<unsigned char>(c) <= ' ') return kNotALink;
  }
  if (!hasHost) return kNotALink;
  if (!StartsWithNoCase(link, "http://") && !StartsWithNoCase(link, "https://")) return kUnsupportedScheme;
  return {};
}

std::string Utf8ToGbk(std::string_view utf8) { return WideToGbk(Utf8ToWide(utf8)); }

}  // namespace

std::vector<BatchShare> ParseBatchFile(std::string_view utf8) {
  if (utf8.substr(0, kBom.size()) == kBom) utf8.remove_prefix(kBom.size());
  std::vector<BatchShare> shares;
  for (int number = 1; !utf8.empty(); ++number) {
    const size_t end = utf8.find('\n');
    std::string_view line = utf8.substr(0, end);
    utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (Trimmed(line).empty() || line.front() == '#') continue;

    const size_t tab = line.find('\t');
    BatchShare share{.line = number};
    const std::string_view link = Trimmed(line.substr(0, tab));
    share.shareLink = WideToUtf8(Utf8ToWide(link));
    share.link = Utf8ToGbk(link);
    if (tab != std::string_view::npos) share.password = Utf8ToGbk(line.substr(tab + 1));
    share.malformed = MalformedReason(link);
    // A password the pipeline would cut at a zero byte is not sent.
    if (share.password && share.password->find('\0') != std::string::npos) share.malformed = kNotALink;
    shares.push_back(std::move(share));
  }
  return shares;
}

std::optional<std::string> ReadBatchFile(const std::wstring& path, std::string& reason) {
  const bool standardInput = path == L"-";
  HANDLE file = standardInput ? GetStdHandle(STD_INPUT_HANDLE)
                              : CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) {
    reason = "cannot open the batch file (error " + std::to_string(GetLastError()) + ")";
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      const DWORD error = GetLastError();
      // A pipe whose writer has closed it has simply ended.
      if (error != ERROR_BROKEN_PIPE) reason = "cannot read the batch file (error " + std::to_string(error) + ")";
      break;
    }
    if (got == 0) break;
    if (bytes.size() + got > kMaxBatchFileBytes) {
      reason = "the batch file is larger than " + std::to_string(kMaxBatchFileBytes >> 20) + " MiB";
      break;
    }
    bytes.append(buffer, got);
  }
  if (!standardInput) CloseHandle(file);
  if (!reason.empty()) return std::nullopt;
  return bytes;
}
