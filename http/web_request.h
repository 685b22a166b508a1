// One synchronous HTTP or HTTPS request over WinINet. Every call opens and
// closes its own handles; nothing survives between calls.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "http/header_completion.h"
#include "http/variable_ref.h"
#include "runtime/bytes.h"
#include "runtime/text.h"

// The optional parameters, in their fixed order; designated initialisers
// name the ones a call gives.
struct WebRequestOptions {
  std::optional<int32_t> method{};                 // HttpMethod index; outside 0..7 is GET
  std::optional<std::string_view> body{};          // sent when bodyBytes is empty
  VariableRef<Text> cookies{};                     // sent, then merged; given-but-empty still bypasses WinINet's store
  VariableRef<Text> returnedCookies{};             // the response's cookies
  std::optional<std::string_view> extraHeaders{};  // lines joined by "\r\n"
  VariableRef<Text> returnedHeaders{};             // the raw response header block
  std::optional<bool> noRedirect{};                // default false
  VariableRef<Bytes> bodyBytes{};                  // body as bytes; filled from `body` when empty
  std::optional<std::string_view> proxy{};         // empty: direct connection
  std::optional<bool> mergeCookies{};              // default true
  std::optional<bool> completeHeaders{};           // default true
  std::optional<bool> normaliseHeaders{};          // default true
  std::optional<size_t> bodyLimit{};               // a longer body fails the request; nothing more is read
};

// The response body; empty when the request fails or nothing was received.
Bytes WebRequest(std::string_view url, const WebRequestOptions& options = {});
