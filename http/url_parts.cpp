#include "http/url_parts.h"

#include <algorithm>
#include <climits>

#include "http/marker_text.h"
#include "runtime/conversions.h"
#include "runtime/text_compare.h"
#include "runtime/text_cut.h"
#include "runtime/text_make.h"
#include "runtime/text_search.h"

Text HostOf(const char* url, bool keepPort) {
  Text lower = LowerText(url);
  if (!lower.view().ends_with('/')) lower = ConcatTexts({lower.get(), "/"});
  Text host;
  if (TextStartsWith(lower.get(), "https://")) {
    host = TextBetween(lower.get(), "https://", "/");
  } else {
    if (FindText(lower.get(), "http://") == -1) lower = ConcatTexts({"http://", lower.get()});
    host = TextBetween(lower.get(), "http://", "/");
  }
  int colon = keepPort ? -1 : FindText(host.get(), ":");
  return colon == -1 ? std::move(host) : LeftText(host.get(), colon - 1);
}

int PortOf(const char* url) {
  Text host = HostOf(url, true);
  int colon = FindTextReverse(host.get(), ":");
  if (colon != -1) return ToInteger(TypedArg::OfText(host.get() + colon));
  return TextStartsWith(LowerText(url).get(), "https") ? 443 : 80;
}

bool NamesUsablePort(const char* url) {
  const int port = PortOf(url);
  return port >= 1 && port <= 65535;
}

bool HoldsControlCharacters(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 0 && (c < 0x20 || c == 0x7F); });
}

bool IsSendableUrl(const char* url) { return !HoldsControlCharacters(TextView(url)) && NamesUsablePort(url); }

Text PathOf(const char* url) {
  // The host is sought after the scheme: a host such as "h" or "p" also
  // occurs inside "http://" itself.
  int scheme = FindText(url, "://");
  int hostAt = FindText(url, HostOf(url).get(), scheme == -1 ? 1 : scheme + 3, true);
  int slash = FindText(url, "/", hostAt, true);
  return slash == -1 ? Text::Copy("/") : MidText(url, slash, INT_MAX);
}
