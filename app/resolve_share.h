// One share resolved by the pipeline, for the command line: the results as
// plain strings that may be handed to another thread, and a failure that
// always has a reason.
#pragma once
#include <optional>
#include <string>

#include "app/result_json.h"

// The reason of a failure the pipeline gives none for.
inline constexpr char kNoReason[] = "直链获取失败";

struct ShareResult {
  std::string link{};  // GBK, empty on failure
  std::string fileName{};
  std::string fileSize{};
  std::string errorText{};  // never empty on failure

  bool resolved() const { return !link.empty(); }
  ResolveOutcome outcome() const { return {link, fileName, fileSize, errorText}; }
};

// Texts are GBK; a base site left out is the service's own.
ShareResult ResolveShare(const std::string& shareLink, const std::optional<std::string>& password,
                         const std::optional<std::string>& baseSite);
