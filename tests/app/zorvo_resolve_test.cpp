#include <gtest/gtest.h>

#include <string>

#include "app/console_output.h"
#include "support/linux_process.h"
#include "support/windows_process.h"
#include "support/double_test.h"

namespace {

class ZorvoResolveCommand : public DoubleTest {
 protected:

  // Runs zorvo-resolve with the given arguments (GBK, already quoted).
  static ProgramRun Run(const std::string& arguments, const ProgramOptions& options = {}) {
    std::string commandLine = "\"";
    commandLine += WindowsPathOf(ZORVO_RESOLVE_EXE);
    commandLine += "\" ";
    commandLine += arguments;
    ProgramRun run = RunWindowsProgram(commandLine, options);
    EXPECT_TRUE(run.started) << "error " << run.startError;
    return run;
  }
  static std::string ForShare(const ZorvoShare& share, const std::string& options = "") {
    std::string arguments = "--base-site " + Double().BaseSite() + " " + options;
    if (!share.password.empty()) arguments += " --password \"" + share.password + "\"";
    return arguments + " " + share.url;
  }
};

TEST_F(ZorvoResolveCommand, PrintsTheLinkAndSucceeds) {
  std::optional<ZorvoShare> share = Double().Share("password-amp");
  ASSERT_TRUE(share);
  ProgramRun run = Run(ForShare(*share));
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.out, GbkToUtf8(share->link) + "\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(ZorvoResolveCommand, PrintsTheReasonOnFailure) {
  std::optional<ZorvoShare> share = Double().Share("wrong-password");
  ASSERT_TRUE(share);
  ProgramRun run = Run(ForShare(*share));
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, GbkToUtf8(share->errorText.value_or("")) + "\n");

  share = Double().Share("no-location");  // fails without a reason
  ASSERT_TRUE(share);
  run = Run(ForShare(*share));
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.err, GbkToUtf8("直链获取失败") + "\n");
}

TEST_F(ZorvoResolveCommand, JsonLineCarriesEveryValueInUtf8) {
  std::optional<ZorvoShare> share = Double().Share("chinese-framed");
  ASSERT_TRUE(share);
  ProgramRun run = Run(ForShare(*share, "--json"));
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.out, "{\"link\":\"" + GbkToUtf8(share->link) + "\",\"fileName\":\"" +
                         GbkToUtf8(share->fileName.value_or("")) + "\",\"fileSize\":\"" +
                         GbkToUtf8(share->fileSize.value_or("")) + "\",\"errorText\":\"\"}\n");

  share = Double().Share("no-location");  // a failure without a reason gets the plain mode's
  ASSERT_TRUE(share);
  run = Run(ForShare(*share, "--json"));
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.out.find("\"errorText\":\"" + GbkToUtf8("直链获取失败") + "\"}"), std::string::npos) << run.out;

  share = Double().Share("wrong-password");
  ASSERT_TRUE(share);
  run = Run(ForShare(*share, "--json"));
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.out.find("\"link\":\"\""), std::string::npos);
  EXPECT_NE(run.out.find("\\r\\n"), std::string::npos) << "the reason's line break is escaped";
  EXPECT_EQ(run.out.back(), '\n');
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one line";
}

TEST_F(ZorvoResolveCommand, AResultThatCannotBeWrittenIsAFailure) {
  std::optional<ZorvoShare> share = Double().Share("framed");
  ASSERT_TRUE(share);
  for (const char* mode : {"", "--json"}) {
    SCOPED_TRACE(mode);
    ProgramRun run = Run(ForShare(*share, mode), {.outputClosed = true});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.err.rfind("zorvo-resolve: writing to standard output failed", 0), 0u) << run.err;
  }
}

TEST_F(ZorvoResolveCommand, WrongUsageExitsWithTwo) {
  for (const std::string arguments : {"", "--json", "--password", "--base-site", "a b", "--colour x", "-x link"}) {
    SCOPED_TRACE(arguments);
    ProgramRun run = Run(arguments);
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("usage: zorvo-resolve", 0), 0u);
  }
}

TEST_F(ZorvoResolveCommand, BadLinkGivesTheEndpointReason) {
  ProgramRun run = Run("--json \"\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, "{\"link\":\"\",\"fileName\":\"\",\"fileSize\":\"\",\"errorText\":\"" +
                         GbkToUtf8("获取失败：获取二级跳转链接为空！") + "\"}\n");
}

}  // namespace
