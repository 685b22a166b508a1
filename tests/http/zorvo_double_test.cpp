// The share service's double as the resolver's tests meet it: its catalogue
// reaches a test under Wine in GBK, and the WinINet engine reads its share
// pages over HTTPS, faults included.
#include "support/zorvo_double.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "http/code_page.h"
#include "http/web_request.h"

namespace {

class ZorvoDoubleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(zorvo().ready()) << "the Zorvo double did not start"; }
  static ZorvoDouble& zorvo() { return ZorvoDouble::Shared(); }

  // The share's page as the resolver reads it.
  static Text SharePage(std::string_view id) { return Utf8BytesToText(WebRequest(zorvo().Share(id).value().url)); }
};

TEST_F(ZorvoDoubleTest, CatalogueGivesExactValuesInGbk) {
  EXPECT_EQ(zorvo().BaseSite(), "https://localhost:" + std::to_string(zorvo().httpsPort()));
  std::vector<std::string> ids = zorvo().ShareIds();
  EXPECT_NE(std::find(ids.begin(), ids.end(), "chinese-framed"), ids.end());

  std::optional<ZorvoShare> chinese = zorvo().Share("chinese-framed");
  ASSERT_TRUE(chinese);
  EXPECT_EQ(chinese->url, zorvo().BaseSite() + "/s/chinese-framed");
  EXPECT_EQ(chinese->layout, "framed");
  EXPECT_EQ(chinese->link, zorvo().BaseSite() + "/files/chinese-framed");
  EXPECT_EQ(chinese->fileName, "年度报告（终稿）.docx");
  EXPECT_EQ(chinese->fileSize, "1.5 M");
  EXPECT_EQ(chinese->errorText, std::nullopt);

  std::optional<ZorvoShare> wrong = zorvo().Share("wrong-password", "http://127.0.0.1:8080");
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->url, "http://127.0.0.1:8080/s/wrong-password");
  EXPECT_EQ(wrong->password, "0000");
  EXPECT_EQ(wrong->link, "");
  EXPECT_EQ(wrong->errorText, "获取失败：获取三级跳转链接为空！\r\n密码不正确");

  std::optional<ZorvoShare> reset = zorvo().Share("reset");
  ASSERT_TRUE(reset);
  EXPECT_EQ(reset->fileName, std::nullopt);
  EXPECT_EQ(reset->fileSize, "");

  EXPECT_EQ(zorvo().Share("no-such-share"), std::nullopt);
}

TEST_F(ZorvoDoubleTest, WebRequestReadsSharePages) {
  EXPECT_NE(SharePage("chinese-framed").view().find("年度报告（终稿）.docx</div>"), std::string_view::npos);
  EXPECT_NE(SharePage("bad-utf8").view().find("src=\"/fn?"), std::string_view::npos);
  Bytes huge = WebRequest(zorvo().Share("huge-page").value().url);
  EXPECT_GE(huge.size(), 20u << 20);
  EXPECT_NE(Utf8BytesToText(huge).view().find("filesize\">大小：2.4 M</div><"), std::string_view::npos);
  EXPECT_TRUE(WebRequest(zorvo().Share("reset").value().url).empty());
}

}  // namespace
