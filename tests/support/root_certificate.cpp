#include "support/root_certificate.h"

#include <windows.h>
#include <wincrypt.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/linux_process.h"

namespace {

struct StoreCloser {
  void operator()(void* store) const { CertCloseStore(store, 0); }
};
struct ContextFreer {
  void operator()(const CERT_CONTEXT* context) const { CertFreeCertificateContext(context); }
};
using StoreHandle = std::unique_ptr<void, StoreCloser>;
using Certificate = std::unique_ptr<const CERT_CONTEXT, ContextFreer>;

Certificate ReadPem(std::string_view pemPath) {
  std::optional<std::string> pem = WaitForFile(pemPath, 0);
  if (!pem) return nullptr;
  DWORD size = 0;
  const DWORD length = static_cast<DWORD>(pem->size());
  if (!CryptStringToBinaryA(pem->c_str(), length, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
    return nullptr;
  }
  std::vector<BYTE> der(size);
  if (!CryptStringToBinaryA(pem->c_str(), length, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr)) {
    return nullptr;
  }
  return Certificate(CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), size));
}

bool IsSelfIssued(const CERT_CONTEXT* certificate) {
  return CertCompareCertificateName(X509_ASN_ENCODING, &certificate->pCertInfo->Subject,
                                    &certificate->pCertInfo->Issuer);
}

void RemoveEarlierCopies(HCERTSTORE store, const CERT_CONTEXT* certificate) {
  std::vector<Certificate> earlier;
  const CERT_CONTEXT* found = nullptr;
  while ((found = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_SUBJECT_NAME,
                                             &certificate->pCertInfo->Subject, found))) {
    if (IsSelfIssued(found) && !CertCompareCertificate(X509_ASN_ENCODING, found->pCertInfo, certificate->pCertInfo)) {
      earlier.emplace_back(CertDuplicateCertificateContext(found));
    }
  }
  // Deleting frees the context handed to it.
  for (Certificate& old : earlier) CertDeleteCertificateFromStore(old.release());
}

}  // namespace

bool TrustAsRootAuthority(std::string_view pemPath) {
  static std::set<std::string, std::less<>> trusted;
  if (trusted.contains(pemPath)) return true;
  Certificate certificate = ReadPem(pemPath);
  if (!certificate) return false;
  // The registry part of the store: Wine does not delete through the
  // collection that the system store "Root" is.
  StoreHandle store(
      CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!store) return false;
  RemoveEarlierCopies(store.get(), certificate.get());
  if (!CertAddCertificateContextToStore(store.get(), certificate.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
    return false;
  }
  trusted.emplace(pemPath);
  return true;
}
