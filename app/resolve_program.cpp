#include "app/resolve_program.h"

#include <windows.h>

#include "app/batch_file.h"
#include "app/batch_run.h"
#include "app/console_output.h"
#include "app/resolve_command.h"
#include "app/resolve_share.h"
#include "app/result_json.h"
#include "http/request_object_release.h"
#include "runtime/com_scope.h"

namespace {

// A result that did not reach its reader is no success.
int OutputFailed(DWORD error) {
  WriteBytes(STD_ERROR_HANDLE,
             "zorvo-resolve: writing to standard output failed (error " + std::to_string(error) + ")\n");
  return 1;
}

int ResolveOne(const ResolveCommand& command) {
  const ShareResult result = ResolveShare(command.shareLink, command.password, command.baseSite);
  bool written = true;
  if (command.json) {
    written = WriteBytes(STD_OUTPUT_HANDLE, ResultJsonLine(result.outcome()) + "\n");
  } else if (result.resolved()) {
    written = WriteGbk(STD_OUTPUT_HANDLE, result.link + "\n");
  } else {
    WriteGbk(STD_ERROR_HANDLE, result.errorText + "\n");
  }
  if (!written) return OutputFailed(GetLastError());
  return result.resolved() ? 0 : 1;
}

// "37/99 done, 2 failed", kept up to date in place where standard error is
// a console; nothing where it is a file or pipe, which would only collect
// the lines.
class BatchProgress {
 public:
  explicit BatchProgress(size_t total) : total_(total), shown_(IsConsole(STD_ERROR_HANDLE) && total > 0) {}
  void Show(size_t done, size_t failed) const {
    if (shown_) {
      WriteGbk(STD_ERROR_HANDLE, "\r" + std::to_string(done) + "/" + std::to_string(total_) + " done, " +
                                     std::to_string(failed) + " failed");
    }
  }
  ~BatchProgress() {
    if (shown_) WriteGbk(STD_ERROR_HANDLE, "\n");
  }

 private:
  size_t total_;
  bool shown_;
};

int ResolveBatch(const ResolveCommand& command, const BatchLineObserver& afterLine) {
  std::string reason;
  const std::optional<std::string> file = ReadBatchFile(*command.batchFile, reason);
  if (!file) {
    WriteBytes(STD_ERROR_HANDLE, "zorvo-resolve: " + reason + "\n");
    return 2;
  }
  const std::vector<BatchShare> shares = ParseBatchFile(*file);
  size_t failed = 0;
  DWORD writeError = ERROR_SUCCESS;
  {
    BatchProgress progress(shares.size());
    const ShareResolver resolve = [&command](const BatchShare& share) {
      if (!share.malformed.empty()) return ShareResult{.errorText = share.malformed};
      return ResolveShare(share.link, share.password, command.baseSite);
    };
    RunBatch(shares, command.jobs, resolve, [&](size_t index, const ShareResult& result) {
      const BatchShare& share = shares[index];
      if (!WriteBytes(STD_OUTPUT_HANDLE, BatchJsonLine(share.line, share.shareLink, result.outcome()) + "\n")) {
        writeError = GetLastError();
        return false;
      }
      if (!result.resolved()) ++failed;
      progress.Show(index + 1, failed);
      if (afterLine) afterLine(index + 1);
      return true;
    });
  }
  if (writeError != ERROR_SUCCESS) return OutputFailed(writeError);
  return failed ? 1 : 0;
}

}  // namespace

int RunResolveProgram(const std::vector<std::wstring>& arguments, const BatchLineObserver& afterLine) {
  const std::optional<ResolveCommand> command = ParseResolveCommand(arguments);
  if (!command) {
    WriteBytes(STD_ERROR_HANDLE, ResolveUsage);
    return 2;
  }
  // This thread's apartment outlives every resolution (the batch's workers
  // have ended by the time they return), so the request objects they kept
  // are released inside it, before COM goes (http/request_object_release).
  // The results are out by then: written straight to the handle, unbuffered.
  const ComScope com;
  const int status = command->batchFile ? ResolveBatch(*command, afterLine) : ResolveOne(*command);
  ReleaseKeptRequestObjects();
  return status;
}
