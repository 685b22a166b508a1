#include "http/web_request.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/body_buffer.h"
#include "http/cookies.h"
#include "http/header_block.h"
#include "http/http_method.h"
#include "runtime/internet_handle.h"
#include "http/marker_text.h"
#include "http/url_parts.h"
#include "runtime/text_compare.h"
#include "runtime/text_cut.h"
#include "runtime/text_make.h"
#include "runtime/text_search.h"

namespace {

constexpr DWORD kSecurityFlags = 0x1F380;  // certificate and HTTP/HTTPS redirect problems ignored
// WinINet under Wine makes one socket call per read, so 1024-byte reads spent
// most of a large download in those calls; large reads keep them few.
constexpr DWORD kReadChunk = 256 * 1024;
constexpr DWORD kHeaderBufferSize = 5000;
constexpr const char* kHttpVersion = "HTTP/1.1";

bool IsHttps(const char* url) { return TextStartsWith(LowerText(LeftText(url, 8).get()).get(), "https://"); }

// WinINet sends the agent itself, so no User-Agent line is added.
void CompleteHeaders(Text& block, const char* url, HttpMethod method) {
  if (block.empty()) block = Text::Copy("Accept: */*");
  CompleteHeaderBlock(block, url, method, false);
}

void AddCookies(Text& block, const char* cookies) {
  if (TextLength(cookies) == 0) return;
  block = ConcatTexts({block.get(), FindText(cookies, "Cookie:") != -1 ? "\r\n" : "\r\nCookie: ", cookies});
}

DWORD RequestFlags(bool https, bool cookiesGiven, bool noRedirect) {
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
  if (cookiesGiven) flags |= INTERNET_FLAG_NO_COOKIES;
  if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  flags |= https ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  return flags;
}

InternetHandle OpenRoot(const char* agent, std::string_view proxy, bool https) {
  if (proxy.empty()) return InternetHandle(InternetOpenA(agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  std::string server = https ? std::string(proxy) : "http=" + std::string(proxy);
  return InternetHandle(InternetOpenA(agent, INTERNET_OPEN_TYPE_PROXY, server.c_str(), "", 0));
}

// The body length the response declares; 0 when it declares none.
uint64_t DeclaredLength(HINTERNET request) {
  char declared[24] = {};
  DWORD size = sizeof declared - 1;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, declared, &size, nullptr)) return 0;
  return std::strtoull(declared, nullptr, 10);
}

// Reads until a read reports nothing (a failing read too). A body declared
// or found to be longer than `limit` is no body, and is read no further.
Bytes ReadBody(HINTERNET request, uint64_t declaredLength, size_t limit) {
  if (declaredLength > limit) return Bytes();
  BodyBuffer body(static_cast<size_t>(declaredLength), limit);
  for (;;) {
    size_t available = 0;
    uint8_t* at = body.FreeSpace(available);
    DWORD read = 0;
    if (!InternetReadFile(request, at, static_cast<DWORD>(std::min<size_t>(available, kReadChunk)), &read) ||
        read == 0) {
      break;
    }
    body.Commit(read);
    if (body.size() > limit) return Bytes();
  }
  return body.Finish();
}

// The raw header block: status line and header lines, each ended by "\r\n",
// then an empty line. A block too large for the usual buffer is fetched
// again at the size WinINet asks for. Null when there is no response (WinINet
// then answers the query with a lone "\r\n").
Text RawHeaders(HINTERNET request) {
  DWORD size = kHeaderBufferSize;
  Text headers = SpaceText(static_cast<int>(size));
  bool read = HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &size, nullptr);
  if (!read && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    headers = SpaceText(static_cast<int>(size));
    read = HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &size, nullptr);
  }
  return read && TextStartsWith(headers.get(), "HTTP/") ? std::move(headers) : Text();
}

}  // namespace

Bytes WebRequest(std::string_view urlView, const WebRequestOptions& options) {
  Text url = Text::Copy(urlView);
  const bool normalise = options.normaliseHeaders.value_or(true);
  Text block = Text::Copy(options.extraHeaders.value_or(std::string_view()));
  if (normalise) block = NormaliseHeaderBlock(block.get());
  const HttpMethod method = HttpMethodOf(options.method.value_or(0));
  const bool https = IsHttps(url.get());
  const Text agent = UserAgentOf(block);  // the caller's line is also sent with the block

  if (!IsSendableUrl(url.get())) return Bytes();
  const int port = PortOf(url.get());

  Bytes body;
  Text headers;
  {
    InternetHandle root = OpenRoot(agent.get(), options.proxy.value_or(std::string_view()), https);
    if (!root) return Bytes();
    InternetHandle connection(InternetConnectA(root.get(), HostOf(url.get()).c_str(), static_cast<INTERNET_PORT>(port),
                                               nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return Bytes();
    const DWORD flags = RequestFlags(https, options.cookies.has_value(), options.noRedirect.value_or(false));
    InternetHandle request(HttpOpenRequestA(connection.get(), HttpVerb(method), PathOf(url.get()).c_str(), kHttpVersion,
                                            nullptr, nullptr, flags, 0));
    if (!request) return Bytes();
    DWORD securityFlags = kSecurityFlags;
    InternetSetOptionA(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &securityFlags, sizeof securityFlags);

    if (options.completeHeaders.value_or(true)) CompleteHeaders(block, url.get(), method);
    if (options.cookies) AddCookies(block, options.cookies->get().get());

    Bytes ownBodyBytes;
    Bytes& bodyBytes = options.bodyBytes ? options.bodyBytes->get() : ownBodyBytes;
    const void* data = nullptr;
    DWORD dataSize = 0;
    if (method != HttpMethod::Get) {
      if (bodyBytes.empty()) bodyBytes = Bytes::Copy(options.body.value_or(std::string_view()));
      data = bodyBytes.data();
      dataSize = static_cast<DWORD>(bodyBytes.size());
    }
    HttpSendRequestA(request.get(), block.empty() ? nullptr : block.get(), static_cast<DWORD>(block.size()),
                     const_cast<void*>(data), dataSize);
    // WinINet ends a body cut short by the server like a complete one.
    const uint64_t declaredLength = method == HttpMethod::Head ? 0 : DeclaredLength(request.get());
    body = ReadBody(request.get(), declaredLength, options.bodyLimit.value_or(SIZE_MAX - 1));
    if (body.size() < declaredLength) body.reset();
    headers = RawHeaders(request.get());
  }  // handles close here, request first

  Text cookies = CollectResponseCookies(headers.get());
  if (options.mergeCookies.value_or(true) && options.cookies) cookies = MergeCookies(options.cookies->get(), cookies);
  if (options.returnedHeaders) options.returnedHeaders->get() = std::move(headers);
  if (options.returnedCookies) options.returnedCookies->get() = std::move(cookies);
  return body;
}
