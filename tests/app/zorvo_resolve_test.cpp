#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/batch_file.h"
#include "app/console_output.h"
#include "app/resolve_share.h"
#include "app/result_json.h"
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

// A batch file in the scratch folder; its Linux path.
std::string WriteBatchFile(const std::string& name, const std::string& utf8) {
  const std::string path = ScratchPath(name);
  std::ofstream(WindowsPathOf(path), std::ios::binary) << utf8;
  return path;
}

// The path as an argument of a Windows program.
std::string Argument(const std::string& linuxPath) { return "\"" + WindowsPathOf(linuxPath) + "\""; }

class ZorvoResolveBatch : public ZorvoResolveCommand {
 protected:
  // The file's lines and the output they give: shares of the double, with
  // and without passwords, that resolve and that fail, between comments,
  // blank lines and a malformed line.
  static void MakeBatch(std::string& file, std::string& expected) {
    file = "\xEF\xBB\xBF# shares\n";
    int line = 1;
    for (const char* id : {"framed", "", "framed-pw", "chinese-framed", "wrong-password", "#", "no-location",
                           "inline-pw", "ftp", "password-amp"}) {
      ++line;
      const std::string entry = id;
      if (entry.empty() || entry == "#") {
        file += entry + "\r\n";
        continue;
      }
      if (entry == "ftp") {
        file += "ftp://localhost/s/framed\n";
        expected += "{\"line\":" + std::to_string(line) + ",\"shareLink\":\"ftp://localhost/s/framed\"," +
                    ResultJsonLine({"", "", "", kUnsupportedScheme}).substr(1) + "\n";
        continue;
      }
      std::optional<ZorvoShare> share = Double().Share(id);
      ASSERT_TRUE(share) << id;
      file += FileLine(*share);
      expected += OutputLine(line, *share);
    }
  }
  // A share's line in a batch file, and its line in the output.
  static std::string FileLine(const ZorvoShare& share) {
    return share.url + (share.password.empty() ? "" : "\t" + GbkToUtf8(share.password)) + "\n";
  }
  static std::string OutputLine(int line, const ZorvoShare& share) {
    const std::string reason = share.link.empty() && share.errorText.value_or("").empty()
                                   ? std::string(kNoReason)
                                   : share.errorText.value_or("");
    return "{\"line\":" + std::to_string(line) + ",\"shareLink\":\"" + share.url + "\"," +
           ResultJsonLine({share.link, share.fileName.value_or(""), share.fileSize.value_or(""), reason}).substr(1) +
           "\n";
  }
};

TEST_F(ZorvoResolveBatch, OneLinePerShareInFileOrderWhateverTheJobs) {
  std::string file, expected;
  MakeBatch(file, expected);
  const std::string path = Argument(WriteBatchFile("batch-mixed.txt", file));
  for (const char* jobs : {"1", "8"}) {
    SCOPED_TRACE(jobs);
    ProgramRun run = Run("--base-site " + Double().BaseSite() + " --batch " + path + " --jobs " + jobs);
    EXPECT_EQ(run.exitCode, 1u) << "some shares fail";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "") << "no progress line where standard error is a file";
  }
}

// The whole catalogue over HTTPS and over plain HTTP, one process each: the
// shipped build's check against every page layout and failure the double has.
TEST_F(ZorvoResolveBatch, EveryCatalogueShareOverHttpsAndHttp) {
  for (const std::string& site : {Double().BaseSite(), "http://127.0.0.1:" + std::to_string(Double().httpPort())}) {
    SCOPED_TRACE(site);
    std::string file, expected;
    int line = 0;
    for (const std::string& id : Double().ShareIds()) {
      std::optional<ZorvoShare> share = Double().Share(id, site);
      ASSERT_TRUE(share) << id;
      file += FileLine(*share);
      expected += OutputLine(++line, *share);
    }
    const std::string path = Argument(WriteBatchFile("batch-catalogue.txt", file));
    ProgramRun run = Run("--base-site " + site + " --batch " + path + " --jobs 8");
    EXPECT_EQ(run.out, expected);
  }
}

TEST_F(ZorvoResolveBatch, ExitStatuses) {
  std::optional<ZorvoShare> share = Double().Share("framed");
  ASSERT_TRUE(share);
  const std::string resolving = WriteBatchFile("batch-resolving.txt", share->url + "\n# done\n" + share->url + "\n");
  const std::string site = "--base-site " + Double().BaseSite();
  struct Case {
    std::string arguments;
    ProgramOptions options;
    unsigned long exitCode;
    size_t lines;
    std::string errStart;
  };
  const Case cases[] = {
      {site + " --batch " + Argument(resolving), {}, 0, 2, ""},
      {site + " --batch -", {.input = resolving}, 0, 2, ""},
      {site + " --batch " + Argument(WriteBatchFile("batch-comments.txt", "# nothing\n\n")), {}, 0, 0, ""},
      {site + " --batch " + Argument(WriteBatchFile("batch-bad.txt", "framed\n")), {}, 1, 1, ""},
      {site + " --batch " + Argument(ScratchPath("no-such-batch.txt")), {}, 2, 0,
       "zorvo-resolve: cannot open the batch file"},
      {site + " --batch - --jobs 17", {}, 2, 0, "usage: zorvo-resolve"},
      {site + " --batch " + Argument(resolving), {.outputClosed = true}, 1, 0,
       "zorvo-resolve: writing to standard output failed"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.arguments);
    ProgramRun run = Run(test.arguments, test.options);
    EXPECT_EQ(run.exitCode, test.exitCode);
    EXPECT_EQ(static_cast<size_t>(std::count(run.out.begin(), run.out.end(), '\n')), test.lines) << run.out;
    EXPECT_EQ(run.err.rfind(test.errStart, 0), 0u) << run.err;
  }
}

TEST_F(ZorvoResolveCommand, BadLinkGivesTheEndpointReason) {
  ProgramRun run = Run("--json \"\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, "{\"link\":\"\",\"fileName\":\"\",\"fileSize\":\"\",\"errorText\":\"" +
                         GbkToUtf8("获取失败：获取二级跳转链接为空！") + "\"}\n");
}

}  // namespace
