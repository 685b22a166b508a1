// A recording server of its own whose certificate the machine trusts, for
// tests of the platform's request object: it checks certificates, and under
// Wine it cannot be told not to. Wine reads the trust store once per process,
// at the first certificate check, so this server starts and its certificate
// is trusted in the test program's global set-up, before any test makes a
// request. The shared recording server stays untrusted, for the engines that
// are to ignore certificate errors. (Header only: test_support itself does
// not use gtest.)
#pragma once
#include <gtest/gtest.h>

#include "support/record_server.h"
#include "support/root_certificate.h"

inline RecordServer& TrustedServer() {
  static RecordServer server;
  return server;
}

// Whether the trusted server runs and the machine trusts its certificate.
inline bool& TrustedServerUsable() {
  static bool usable = false;
  return usable;
}

class TrustedServerEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    TrustedServerUsable() = TrustedServer().ready() && TrustAsRootAuthority(TrustedServer().CertificatePath());
  }
};

inline ::testing::Environment* const kTrustedServerEnvironment =
    ::testing::AddGlobalTestEnvironment(new TrustedServerEnvironment);
