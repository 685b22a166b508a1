// What the batch benchmarks share: the double started and trusted, batch
// files of its shares, and runs of zorvo-resolve (or its test build) over them.
#pragma once
#include <cstdio>
#include <fstream>
#include <string>

#include "stopwatch.h"
#include "support/linux_process.h"
#include "support/root_certificate.h"
#include "support/windows_process.h"
#include "support/zorvo_double.h"

// The double, ready and its certificate trusted; null (with a message) otherwise.
inline ZorvoDouble* TrustedDouble() {
  ZorvoDouble& service = ZorvoDouble::Shared();
  if (!service.ready() || !TrustAsRootAuthority(service.CertificatePath())) {
    std::printf("the double did not start or its certificate could not be trusted\n");
    return nullptr;
  }
  return &service;
}

// Writes the lines to a fresh scratch file; its Windows path.
inline std::string WriteBatchFile(const std::string& name, const std::string& lines) {
  const std::string path = WindowsPathOf(ScratchPath(name));
  std::ofstream(path, std::ios::binary) << lines;
  return path;
}

struct TimedRun {
  ProgramRun run;
  double ms = 0;
};

// Runs `exe` with the arguments, timed from start to exit.
inline TimedRun RunTimed(const char* exe, const std::string& arguments) {
  const double start = NowMilliseconds();
  ProgramRun run = RunWindowsProgram("\"" + WindowsPathOf(exe) + "\" " + arguments, {.timeoutMs = 600000});
  return {run, NowMilliseconds() - start};
}
