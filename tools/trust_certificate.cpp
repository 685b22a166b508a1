// trust-certificate PEM_PATH: adds a local server's self-signed certificate
// (a Linux path) to the Wine prefix's machine root store, so components
// that check certificates accept the local double (used by scripts/demo).
#include <cstdio>

#include "support/root_certificate.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trust-certificate PEM_PATH\n");
    return 2;
  }
  return TrustAsRootAuthority(argv[1]) ? 0 : 1;
}
