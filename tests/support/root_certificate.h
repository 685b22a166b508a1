// Trusting a test server's self-signed certificate, for components that
// check certificates against the machine's root authorities and cannot be
// told to ignore the check.
#pragma once
#include <string_view>

// Adds the certificate of a PEM file (a Linux path) to the local machine's
// "Root" store; later calls for the same file do nothing. Earlier
// certificates with the same self-issued subject are removed first, so the
// store does not grow from run to run. False when the file cannot be read
// or the store refuses the certificate.
bool TrustAsRootAuthority(std::string_view pemPath);
