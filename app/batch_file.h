// The list of shares zorvo-resolve --batch reads: UTF-8 text (a BOM is
// allowed), one share a line: the link, optionally a TAB and the password.
// Empty lines and lines starting with "#" are skipped.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A batch file larger than this is refused rather than read: at a share a
// line it holds hundreds of thousands of shares, far more than one run is for.
inline constexpr size_t kMaxBatchFileBytes = 16u << 20;

// Reasons of a line that is no share link; such a share fails without a request.
inline constexpr char kNotALink[] = "分享链接无效：不是网址";
inline constexpr char kUnsupportedScheme[] = "分享链接无效：只支持 http 和 https 链接";

struct BatchShare {
  int line = 0;           // 1-based line number in the file
  std::string shareLink{};  // the link as written in the file, UTF-8 (invalid bytes replaced)
  std::string link{};     // GBK, for the pipeline
  std::optional<std::string> password{};  // GBK; nothing without a TAB
  std::string malformed{};  // GBK reason when the line is no share link; empty otherwise
};

std::vector<BatchShare> ParseBatchFile(std::string_view utf8);

// The bytes of the file, or of standard input for "-"; nothing when they
// cannot be read, with the reason (English, for standard error) in `reason`.
std::optional<std::string> ReadBatchFile(const std::wstring& path, std::string& reason);
