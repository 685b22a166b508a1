#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/batch_file.h"
#include "app/batch_run.h"
#include "app/resolve_command.h"

namespace {

struct ParsedLine {
  int line;
  std::string link;  // GBK
  std::optional<std::string> password;
  std::string malformed;
};

TEST(BatchFile, ParsesSharesPasswordsAndMalformedLines) {
  struct Case {
    const char* name;
    std::string file;  // UTF-8
    std::vector<ParsedLine> shares;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"comments and blank lines skipped, numbers kept",
       "# list\n\nhttp://z/s/a\n   \r\n#x\thttp://no\nhttps://z/s/b",
       {{3, "http://z/s/a", std::nullopt, ""}, {6, "https://z/s/b", std::nullopt, ""}}},
      {"BOM, CR LF, TAB password kept as written",
       "\xEF\xBB\xBFhttps://z/s/a\tp w\t1\r\nhttps://z/s/b\t\r\n",
       {{1, "https://z/s/a", "p w\t1", ""}, {2, "https://z/s/b", "", ""}}},
      {"blanks around the link", "  HTTPS://z/s/a \tpw\n", {{1, "HTTPS://z/s/a", "pw", ""}}},
      {"Chinese password (UTF-8 in the file) in GBK", "https://z/s/a\t\xE5\xAF\x86\xE7\xA0\x81\n",
       {{1, "https://z/s/a", "密码", ""}}},
      {"malformed lines fail on their own",
       "not a link\nftp://z/s/a\nhttps://\nhttp:///path\n://z\n\tpw\nhttps://z/s/a\n",
       {{1, "not a link", std::nullopt, kNotALink},
        {2, "ftp://z/s/a", std::nullopt, kUnsupportedScheme},
        {3, "https://", std::nullopt, kNotALink},
        {4, "http:///path", std::nullopt, kNotALink},
        {5, "://z", std::nullopt, kNotALink},
        {6, "", "pw", kNotALink},
        {7, "https://z/s/a", std::nullopt, ""}}},
      {"a password holding a zero byte", std::string("https://z/s/a\tp\0q\n", 17),
       {{1, "https://z/s/a", std::string("p\0q", 3), kNotALink}}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    std::vector<BatchShare> shares = ParseBatchFile(test.file);
    ASSERT_EQ(shares.size(), test.shares.size());
    for (size_t i = 0; i < shares.size(); ++i) {
      EXPECT_EQ(shares[i].line, test.shares[i].line);
      EXPECT_EQ(shares[i].link, test.shares[i].link);
      EXPECT_EQ(shares[i].password, test.shares[i].password);
      EXPECT_EQ(shares[i].malformed, test.shares[i].malformed);
    }
  }
  // The link as written comes back in UTF-8; invalid bytes become U+FFFD.
  std::vector<BatchShare> shares = ParseBatchFile("https://z/s/\xE6\x96\x87\xFF\n");
  ASSERT_EQ(shares.size(), 1u);
  EXPECT_EQ(shares[0].shareLink, "https://z/s/\xE6\x96\x87\xEF\xBF\xBD");
}

TEST(BatchFile, CommandLineOfABatch) {
  struct Case {
    std::vector<std::wstring> arguments;
    bool valid;
    int jobs;
  };
  const Case cases[] = {
      {{L"--batch", L"list.txt"}, true, kDefaultBatchJobs},
      {{L"--base-site", L"http://x", L"--batch", L"-", L"--jobs", L"16"}, true, 16},
      {{L"--jobs", L"1", L"--batch", L"-"}, true, 1},
      {{L"--batch"}, false, 0},
      {{L"--batch", L"-", L"--jobs", L"0"}, false, 0},
      {{L"--batch", L"-", L"--jobs", L"17"}, false, 0},
      {{L"--batch", L"-", L"--jobs", L"x"}, false, 0},
      {{L"--batch", L"-", L"--jobs"}, false, 0},
      {{L"--batch", L"-", L"https://z/s/a"}, false, 0},
      {{L"--batch", L"-", L"--password", L"p"}, false, 0},
      {{L"--batch", L"-", L"--json"}, false, 0},
      {{L"--jobs", L"2", L"https://z/s/a"}, false, 0},
  };
  for (const Case& test : cases) {
    std::string words;
    for (const std::wstring& argument : test.arguments) words += std::string(argument.begin(), argument.end()) + " ";
    SCOPED_TRACE(words);
    std::optional<ResolveCommand> command = ParseResolveCommand(test.arguments);
    ASSERT_EQ(command.has_value(), test.valid);
    if (command) {
      EXPECT_EQ(command->jobs, test.jobs);
    }
  }
}

std::vector<BatchShare> NumberedShares(int count) {
  std::vector<BatchShare> shares;
  for (int i = 0; i < count; ++i) shares.push_back({.line = i + 1, .link = std::to_string(i)});
  return shares;
}

// Later shares finish first; the writer still gets them in order, and each
// failure of the resolver itself fails only its own share.
TEST(BatchRun, WritesInOrderAndTurnsThrownFailuresIntoFailedShares) {
  const std::vector<BatchShare> shares = NumberedShares(24);
  for (int jobs : {1, 8, 16}) {
    SCOPED_TRACE(jobs);
    std::atomic<int> inFlight{0}, mostInFlight{0};
    std::vector<std::string> written;
    RunBatch(
        shares, jobs,
        [&](const BatchShare& share) {
          const int now = ++inFlight;
          for (int seen = mostInFlight; now > seen && !mostInFlight.compare_exchange_weak(seen, now);) {}
          Sleep(static_cast<DWORD>(24 - share.line));
          --inFlight;
          if (share.line == 5) throw std::bad_alloc();
          if (share.line == 6) throw std::runtime_error("x");
          return ShareResult{.link = share.link};
        },
        [&](size_t index, const ShareResult& result) {
          written.push_back(std::to_string(index) + ":" + result.link + ":" + result.errorText);
          return true;
        });
    ASSERT_EQ(written.size(), shares.size());
    for (size_t i = 0; i < shares.size(); ++i) {
      const std::string expected = i == 4   ? "4::内存不足"
                                   : i == 5 ? "5::" + std::string(kNoReason)
                                            : std::to_string(i) + ":" + std::to_string(i) + ":";
      EXPECT_EQ(written[i], expected);
    }
    EXPECT_LE(mostInFlight, jobs);
    if (jobs > 1) {
      EXPECT_GT(mostInFlight, 1);
    }
  }
}

TEST(BatchRun, AWriterThatFailsStopsTheBatch) {
  const std::vector<BatchShare> shares = NumberedShares(50);
  std::atomic<int> resolved{0};
  int writes = 0;
  RunBatch(
      shares, 2,
      [&](const BatchShare& share) {
        ++resolved;
        Sleep(5);
        return ShareResult{.link = share.link};
      },
      [&](size_t, const ShareResult&) { return ++writes < 3; });
  EXPECT_EQ(writes, 3);
  EXPECT_LT(resolved, 50) << "no share is started after the failed write";
}

}  // namespace
