#include "http/web_request.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "http/body_buffer.h"
#include "http/cookies.h"
#include "http/exchange_deadline.h"
#include "http/header_block.h"
#include "http/header_completion.h"
#include "http/http_method.h"
#include "http/internet_request_run.h"
#include "http/marker_text.h"
#include "http/url_parts.h"
#include "runtime/internet_handle.h"
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

// One request as its worker thread performs it: the handles, the send, the
// body and the headers. It owns all it uses, since a request given up at its
// deadline goes on without its caller.
struct Transfer {
  Text url;
  Text agent;
  std::string proxy;
  bool https = false;
  int port = 0;
  HttpMethod method = HttpMethod::Get;
  DWORD flags = 0;
  Text block;  // the header block to send
  Bytes data;  // the body to send
  size_t bodyLimit = SIZE_MAX - 1;

  std::atomic<bool> opened{false};  // the request handle was opened
  Bytes body;
  Text headers;
};

void SetOption(HINTERNET handle, DWORD option, DWORD value) {
  InternetSetOptionA(handle, option, &value, sizeof value);
}

void Perform(Transfer& transfer, InternetRequestRun& run) {
  InternetHandle root = OpenRoot(transfer.agent.get(), transfer.proxy, transfer.https);
  if (!root) return;
  run.CountRedirects(root.get());
  InternetHandle connection(InternetConnectA(root.get(), HostOf(transfer.url.get()).c_str(),
                                             static_cast<INTERNET_PORT>(transfer.port), nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return;
  HINTERNET request = HttpOpenRequestA(connection.get(), HttpVerb(transfer.method), PathOf(transfer.url.get()).c_str(),
                                       kHttpVersion, nullptr, nullptr, transfer.flags, run.Context());
  if (!request) return;
  run.SetRequest(request);
  transfer.opened = true;
  SetOption(request, INTERNET_OPTION_SECURITY_FLAGS, kSecurityFlags);
  // Without these Wine's WinINet waits for a silent server without end.
  SetOption(request, INTERNET_OPTION_CONNECT_TIMEOUT, kInternetConnectTimeoutMs);
  SetOption(request, INTERNET_OPTION_SEND_TIMEOUT, kInternetSendTimeoutMs);
  SetOption(request, INTERNET_OPTION_RECEIVE_TIMEOUT, kInternetReceiveTimeoutMs);

  const Text& block = transfer.block;
  const Bytes& data = transfer.data;
  HttpSendRequestA(request, block.empty() ? nullptr : block.get(), static_cast<DWORD>(block.size()),
                   const_cast<uint8_t*>(data.data()), static_cast<DWORD>(data.size()));
  // WinINet ends a body cut short by the server like a complete one.
  const uint64_t declaredLength = transfer.method == HttpMethod::Head ? 0 : DeclaredLength(request);
  transfer.body = ReadBody(request, declaredLength, transfer.bodyLimit);
  if (transfer.body.size() < declaredLength) transfer.body.reset();
  transfer.headers = RawHeaders(request);
  run.CloseRequest();  // the request first, then the connection and the root handle
}

}  // namespace

Bytes WebRequest(std::string_view urlView, const WebRequestOptions& options) {
  auto transfer = std::make_shared<Transfer>();
  transfer->url = Text::Copy(urlView);
  const Text& url = transfer->url;
  const bool normalise = options.normaliseHeaders.value_or(true);
  Text block = Text::Copy(options.extraHeaders.value_or(std::string_view()));
  if (normalise) block = NormaliseHeaderBlock(block.get());
  transfer->method = HttpMethodOf(options.method.value_or(0));
  const HttpMethod method = transfer->method;
  transfer->https = IsHttps(url.get());
  transfer->agent = UserAgentOf(block);

  if (!IsSendableUrl(url.get())) return Bytes();
  transfer->port = PortOf(url.get());
  transfer->bodyLimit = options.bodyLimit.value_or(transfer->bodyLimit);
  transfer->proxy = std::string(options.proxy.value_or(std::string_view()));
  transfer->flags = RequestFlags(transfer->https, options.cookies.has_value(), options.noRedirect.value_or(false));

  if (options.completeHeaders.value_or(true)) CompleteHeaders(block, url.get(), method);
  if (options.cookies) AddCookies(block, options.cookies->get().get());
  transfer->block = std::move(block);
  // A GET sends no body; otherwise an empty bodyBytes is filled from body
  // once the request is open.
  const Bytes* givenBytes = options.bodyBytes ? &options.bodyBytes->get() : nullptr;
  const bool bodyFromText = method != HttpMethod::Get && (!givenBytes || givenBytes->empty());
  if (method != HttpMethod::Get) {
    transfer->data =
        bodyFromText ? Bytes::Copy(options.body.value_or(std::string_view())) : Bytes::Copy(givenBytes->view());
  }

  // A request given up at its deadline is a failed one: no body, no headers.
  const bool inTime = InternetRequestRun::Perform([transfer](InternetRequestRun& run) { Perform(*transfer, run); },
                                                  ExchangeDeadline(kInternetRequestDeadlineMs));
  if (!transfer->opened) return Bytes();
  if (bodyFromText && options.bodyBytes) options.bodyBytes->get() = Bytes::Copy(transfer->data.view());
  Bytes body;
  Text headers;
  if (inTime) {
    body = std::move(transfer->body);
    headers = std::move(transfer->headers);
  }

  Text cookies = CollectResponseCookies(headers.get());
  if (options.mergeCookies.value_or(true) && options.cookies) cookies = MergeCookies(options.cookies->get(), cookies);
  if (options.returnedHeaders) options.returnedHeaders->get() = std::move(headers);
  if (options.returnedCookies) options.returnedCookies->get() = std::move(cookies);
  return body;
}
