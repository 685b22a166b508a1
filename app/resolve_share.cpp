#include "app/resolve_share.h"

#include "resolver/resolve_direct_link.h"

ShareResult ResolveShare(const std::string& shareLink, const std::optional<std::string>& password,
                         const std::optional<std::string>& baseSite) {
  Text fileName, fileSize, errorText;
  ResolveOptions options{.password = password ? password->c_str() : nullptr,
                         .fileName = fileName,
                         .fileSize = fileSize,
                         .errorText = errorText};
  if (baseSite) options.baseSite = baseSite->c_str();
  Text link = ResolveDirectLink(shareLink.c_str(), options);
  ShareResult result{std::string(link.view()), std::string(fileName.view()), std::string(fileSize.view()),
                     std::string(errorText.view())};
  if (!result.resolved() && result.errorText.empty()) result.errorText = kNoReason;
  return result;
}
