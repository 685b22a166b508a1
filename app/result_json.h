// The one-line JSON results of zorvo-resolve.
#pragma once
#include <string>
#include <string_view>

struct ResolveOutcome {
  std::string_view link;  // GBK, empty on failure
  std::string_view fileName;
  std::string_view fileSize;
  std::string_view errorText;
};

// {"link":…,"fileName":…,"fileSize":…,"errorText":…} in UTF-8, no line break.
std::string ResultJsonLine(const ResolveOutcome& outcome);
// The same members after {"line":…,"shareLink":…}: a share of a batch, by
// its line number in the batch file and its link as written there (UTF-8).
std::string BatchJsonLine(int line, std::string_view shareLinkUtf8, const ResolveOutcome& outcome);
