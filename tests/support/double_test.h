// The gtest fixture of tests that resolve shares on the local double of the
// service (header only: test_support itself does not use gtest).
#pragma once
#include <gtest/gtest.h>

#include "support/root_certificate.h"
#include "support/zorvo_double.h"

class DoubleTest : public ::testing::Test {
 protected:
  // The request object checks certificates: the double's must be trusted
  // before the first HTTPS request of the process.
  static void SetUpTestSuite() {
    ASSERT_TRUE(Double().ready()) << "the double did not start";
    ASSERT_TRUE(TrustAsRootAuthority(Double().CertificatePath()));
  }
  static ZorvoDouble& Double() { return ZorvoDouble::Shared(); }
};
