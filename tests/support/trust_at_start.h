// Trusts the certificate of the local test servers (one for a whole test
// run) before any test of the program runs, for tests of components that
// check certificates, such as the platform's request object. Wine reads the
// machine's root store once per process, at the first certificate check, so
// a certificate trusted by a test after another test's HTTPS request would
// not count. (Header only: test_support itself does not use gtest.)
#pragma once
#include <gtest/gtest.h>

#include "support/record_server.h"
#include "support/root_certificate.h"

// Whether the machine trusted the certificate before the tests began.
inline bool& LocalCertificateTrusted() {
  static bool trusted = false;
  return trusted;
}

class TrustLocalCertificate final : public ::testing::Environment {
 public:
  void SetUp() override {
    RecordServer& server = RecordServer::Shared();  // makes the run's certificate if no server has yet
    LocalCertificateTrusted() = server.ready() && TrustAsRootAuthority(server.CertificatePath());
  }
};

inline ::testing::Environment* const kTrustLocalCertificate =
    ::testing::AddGlobalTestEnvironment(new TrustLocalCertificate);
