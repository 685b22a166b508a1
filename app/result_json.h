// The one-line JSON result of zorvo-resolve.
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
