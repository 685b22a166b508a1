#include "resolver/resolve_direct_link.h"

#include <gtest/gtest.h>

#include <string>

#include "support/double_test.h"

namespace {

constexpr char kNoEndpointPath[] = "获取失败：获取二级跳转链接为空！";

class ResolveDirectLinkTest : public DoubleTest {
 protected:
  static std::string BaseSite() { return Double().BaseSite(); }

 public:
  // Resolves with receivers that start as given.
  struct Run {
    Text link, fileName, fileSize, errorText;
  };
  static Run Resolve(const std::string& url, const std::string& password, Run run = {}) {
    std::string baseSite = BaseSite();
    run.link = ResolveDirectLink(url.c_str(), {.password = password.empty() ? nullptr : password.c_str(),
                                               .fileName = run.fileName,
                                               .fileSize = run.fileSize,
                                               .errorText = run.errorText,
                                               .baseSite = baseSite.c_str()});
    return run;
  }
};

TEST_F(ResolveDirectLinkTest, EveryShareOfTheServiceGivesItsExactOutcome) {
  std::vector<std::string> ids = Double().ShareIds();
  ASSERT_GT(ids.size(), 15u);
  for (const std::string& id : ids) {
    SCOPED_TRACE(id);
    std::optional<ZorvoShare> share = Double().Share(id);
    ASSERT_TRUE(share);
    Run run = Resolve(share->url, share->password);
    EXPECT_EQ(run.link.view(), share->link);
    EXPECT_EQ(run.link.IsNull(), share->link.empty()) << "failures give the null (empty) text";
    EXPECT_EQ(run.fileName.view(), share->fileName.value_or(""));
    EXPECT_EQ(run.fileSize.view(), share->fileSize.value_or(""));
    EXPECT_EQ(run.errorText.view(), share->errorText.value_or(""));
  }
}

TEST_F(ResolveDirectLinkTest, ReceiversAreWrittenOnlyAtTheirSteps) {
  // No Location at the download host: the run fails without a reason and
  // leaves the caller's errorText alone.
  std::optional<ZorvoShare> share = Double().Share("no-location");
  ASSERT_TRUE(share);
  Run given;
  given.errorText = Text::Copy("before");
  Run run = Resolve(share->url, share->password, std::move(given));
  EXPECT_TRUE(run.link.IsNull());
  EXPECT_EQ(run.errorText.view(), "before");

  // Inline layout: a file name the caller passed is kept, not taken from the answer.
  share = Double().Share("inline");
  ASSERT_TRUE(share);
  given = {};
  given.fileName = Text::Copy("mine.bin");
  run = Resolve(share->url, share->password, std::move(given));
  EXPECT_EQ(run.link.view(), share->link);
  EXPECT_EQ(run.fileName.view(), "mine.bin");
}

TEST_F(ResolveDirectLinkTest, ReceiversMayBeLeftOut) {
  std::optional<ZorvoShare> share = Double().Share("framed");
  ASSERT_TRUE(share);
  std::string baseSite = BaseSite();
  Text link = ResolveDirectLink(share->url.c_str(), {.baseSite = baseSite.c_str()});
  EXPECT_EQ(link.view(), share->link);
}

TEST_F(ResolveDirectLinkTest, BadLinksGiveTheEmptyResultAndAReason) {
  const std::string refusing = "http://127.0.0.1:1/s/x";  // nothing listens on port 1
  const std::string inputs[] = {"", "   ", "http://127.0.0.1\r\n:80/\n", "not a link at all", "中文链接",
                                "https://localhost:" + std::to_string(Double().httpsPort()) + "/s/" +
                                    std::string(10000, 'a'),
                                refusing};
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input.substr(0, 60));
    Run run = Resolve(input, "");
    EXPECT_TRUE(run.link.IsNull());
    EXPECT_EQ(run.errorText.view(), kNoEndpointPath);
    EXPECT_TRUE(run.fileName.IsNull());
  }
  Text link = ResolveDirectLink(nullptr);
  EXPECT_TRUE(link.IsNull());
}

}  // namespace
