// One synchronous HTTP or HTTPS request through the platform's automation
// request object "WinHttp.WinHttpRequest.5.1". Each call initialises COM for
// the calling thread and uninitialises it before it returns.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "http/variable_ref.h"
#include "runtime/automation_object.h"
#include "runtime/bytes.h"
#include "runtime/text.h"

// The optional parameters, in their fixed order; designated initialisers
// name the ones a call gives. The variables written are written only once
// the request object exists.
struct WebRequestObjectOptions {
  std::optional<int32_t> method{};                 // HttpMethod index; outside 0..7 is GET
  std::optional<std::string_view> body{};          // sent when bodyBytes is empty
  VariableRef<Text> cookies{};                     // sent even when empty; "Cookie:" prefixes are cut out
                                                   // of it, and with merging it ends up holding the merged set
  VariableRef<Text> returnedCookies{};             // the response's cookies, merged with the sent ones
  std::optional<std::string_view> extraHeaders{};  // lines joined by "\r\n"
  VariableRef<Text> returnedHeaders{};             // the response header block as the object gives it
  VariableRef<int32_t> statusCode{};               // 0 when no response arrived
  std::optional<bool> noRedirect{};                // default false
  VariableRef<const Bytes> bodyBytes{};            // sent instead of body when not empty
  std::optional<std::string_view> proxy{};         // empty: no proxy
  std::optional<int32_t> timeoutSeconds{};         // each of the four time-outs; below 1: 15 s; -1: the object's
                                                   // own; the whole exchange ends at their sum (-1: at 60 s)
  std::optional<std::string_view> proxyUser{};
  std::optional<std::string_view> proxyPassword{};
  std::optional<int32_t> credentialTarget{};       // for SetCredentials: 0 server, 1 proxy (default)
  VariableRef<const AutomationObject> requestObject{};  // used instead of a new object, and kept
  std::optional<bool> mergeCookies{};              // default true
  std::optional<bool> completeHeaders{};           // default true: standard lines added where missing
  std::optional<bool> normaliseHeaders{};          // default true: names capitalised, lines without ":" dropped
  std::optional<size_t> bodyLimit{};               // a longer body fails the request (the object itself
                                                   // has read it by then)
};

// The response body; empty when no body could be obtained, when it is
// shorter than the length its headers declare, and when it is longer than
// the limit. Failures are silent: an empty body, empty headers and status 0.
Bytes WebRequestObject(std::string_view url, const WebRequestObjectOptions& options = {});
