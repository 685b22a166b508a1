#include "resolver/resolve_direct_link.h"

#include <algorithm>

#include "http/code_page.h"
#include "http/exchange_refusal.h"
#include "http/marker_text.h"
#include "http/url_parts.h"
#include "http/web_request.h"
#include "http/web_request_object.h"
#include "resolver/match_spans.h"
#include "resolver/redirect_probe.h"
#include "runtime/conversions.h"
#include "runtime/text_compare.h"
#include "runtime/text_search.h"
#include "script/json_object.h"
#include "script/regex_object.h"

namespace {

// Sent with the share page, the frame page and the endpoint request.
constexpr char kBrowserHeaders[] =
    "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/69.0.3497.100 Safari/537.36\r\n"
    "referer: https://pc.zorvo.example/";

constexpr char kPlaceholderFrameLink[] = "src=\"/fn?v2\"";
constexpr char kSignaturePattern[] = "[0-9a-zA-Z\\_]{70,}_c_c";
constexpr char kActionPattern[] = "action':'(.*?)'";
constexpr char kDefaultAction[] = "downprocess";

// Longer bodies are failed requests, read no further: the service's pages
// and answers are far smaller, and a share link may point at any server.
// (The script engine needs about seven times an answer's length.)
constexpr size_t kLargestPage = 64 << 20;
constexpr size_t kLargestAnswer = 1 << 20;

constexpr char kNoEndpointPath[] = "获取失败：获取二级跳转链接为空！";
constexpr char kNoSignature[] = "sign获取失败!";
constexpr char kActionDefaulted[] = "action获取失败!默认填为downprocess";
constexpr char kEndpointRefused[] = "获取失败：获取三级跳转链接为空！";
constexpr char kNoLink[] = "获取失败：直链无效";

// The endpoint's answer as text. The service escapes what is not ASCII and
// its answers are taken byte for byte; an answer that carries such text raw
// in UTF-8 is converted like the pages.
Text AnswerText(const Bytes& answer) {
  const std::string_view bytes = answer.view().substr(0, answer.view().find('\0'));
  const bool beyondAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
  if (beyondAscii && IsWellFormedUtf8(bytes)) return Utf8BytesToText(answer);
  return BytesToText(TypedArg::OfBytes(answer.block()));
}

void Store(const VariableRef<Text>& receiver, Text value) {
  if (receiver) receiver->get() = std::move(value);
}

// One run: the objects it owns live exactly as long as the run.
class Resolution {
 public:
  Resolution(const char* shareLink, const ResolveOptions& options) : shareLink_(shareLink), options_(options) {}

  Text Run() {
    Text page = Utf8BytesToText(
        WebRequest(TextView(shareLink_), {.extraHeaders = kBrowserHeaders, .bodyLimit = kLargestPage}));
    page = ReplaceText(page.get(), kPlaceholderFrameLink, EmptyText, std::nullopt, std::nullopt, false);
    Text framePath = TextBetween(page.get(), "src=\"/fn", "\"");
    bool ready = framePath.empty() ? ReadInlineLayout(page) : ReadFramedLayout(page, framePath);
    return ready ? PostToEndpoint() : Text();
  }

 private:
  bool ReadFramedLayout(Text& page, const Text& framePath) {
    // The file name and size pattern is matched directly, in linear time on
    // any page (resolver/match_spans.h); the other patterns search only the
    // part of the page that holds their first match.
    const std::optional<NameAndSize> found = FindNameAndSize(page.view(), DotStopsAtCr());
    Store(options_.fileName, Text::Copy(found ? found->name : std::string_view()));
    Store(options_.fileSize, Text::Copy(found ? found->size : std::string_view()));

    Text frameUrl = ConcatTexts({options_.baseSite, "/fn", framePath.get()});
    page = Utf8BytesToText(
        WebRequestObject(frameUrl.view(), {.extraHeaders = kBrowserHeaders, .bodyLimit = kLargestPage}));
    if (!SetEndpoint(page)) return false;

    // A token inside the commented-out data block must not be found.
    Text commentedData = TextBetween(page.get(), "//data : { ", "}");
    if (!commentedData.empty()) page = ReplaceText(page.get(), commentedData.get(), EmptyText);

    regex_.Search(kSignaturePattern, Text::Copy(SignatureSpan(page.view())).get());
    Text sign = regex_.MatchText(1);
    if (sign.empty()) return Fail(kNoSignature);
    regex_.Search(kActionPattern, Text::Copy(ActionSpan(page.view())).get());
    Text action = regex_.SubmatchText(1, 1);
    if (action.empty()) {
      Store(options_.errorText, Text::Copy(kActionDefaulted));
      action = Text::Copy(kDefaultAction);
    }
    endpointBody_ = ConcatTexts({"action=", action.get(), "&sign=", sign.get(), "&p=", options_.password});
    return true;
  }

  bool ReadInlineLayout(const Text& page) {
    Store(options_.fileSize, TextBetween(page.get(), "大小：", "<"));
    Text data = TextBetween(page.get(), "data : '", "'");
    endpointBody_ = ConcatTexts({data.get(), options_.password});
    return SetEndpoint(page);
  }

  bool SetEndpoint(const Text& page) {
    Text endpointPath = TextBetween(page.get(), "url : '", "'");
    if (endpointPath.empty()) return Fail(kNoEndpointPath);
    ajaxUrl_ = ConcatTexts({options_.baseSite, endpointPath.get()});
    return true;
  }

  Text PostToEndpoint() {
    Bytes answerBytes = WebRequestObject(ajaxUrl_.view(), {.method = 1,
                                                           .body = endpointBody_.view(),
                                                           .extraHeaders = kBrowserHeaders,
                                                           .bodyLimit = kLargestAnswer});
    Text answer = AnswerText(answerBytes);
    json_.Parse(answer.get());
    Text status = json_.GetText("zt");
    Text info = json_.GetText("inf");
    if (options_.fileName && options_.fileName->get().empty()) Store(options_.fileName, Text::Copy(info.get()));
    if (CompareTexts(status.get(), "1") != 0) {
      Text reason = ConcatTexts({kEndpointRefused, "\r\n", info.get()});
      Store(options_.errorText, std::move(reason));
      return Text();
    }
    Text host = json_.GetText("dom");
    Text path = json_.GetText("url");
    Text directLink = ConcatTexts({host.get(), "/file/", path.get()});
    Text target = ProbeRedirect(directLink.view());
    // A target holding control characters is no link: it must not be shown,
    // copied or printed as one.
    if (HoldsControlCharacters(target.view())) {
      Fail(kNoLink);
      return Text();
    }
    return target;
  }

  bool Fail(const char* reason) {
    Store(options_.errorText, Text::Copy(reason));
    return false;
  }

  const char* shareLink_;
  const ResolveOptions& options_;
  RegexObject regex_;  // first: it initialises COM for the run
  JsonObject json_;
  Text ajaxUrl_;
  Text endpointBody_;
};

}  // namespace

Text ResolveDirectLink(const char* shareLink, const ResolveOptions& options) {
  Text link = Resolution(shareLink, options).Run();
  // An exchange refused at once is the true reason, whatever the stage made of it.
  if (link.empty() && !LastExchangeRefusal().empty()) Store(options.errorText, Text::Copy(LastExchangeRefusal()));
  return link;
}
